"""What the Python system tests of the remote ports share: a controller on a fresh root with a port
offset, its LAN SCPI socket, and the URLs of its web ports. The controller is stopped at the end in every
case."""
import ctypes
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time


def port_offset():
    """A port offset whose instrument ports are all free (steps of 13 from the process id, 10000 on)."""
    for i in range(1300):
        offset = 10000 + 13 * ((os.getpid() + i) % 1300)
        try:
            for port in (80, 81, 502, 5025, 5030):
                with socket.socket() as s:
                    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
                    s.bind(("", port + offset))
            return offset
        except OSError:
            continue
    return 10000 + 13 * (os.getpid() % 1300)


def remove_left_queue(log_path):
    """Removes the message queue a killed controller left (the id alone could meanwhile be another's)."""
    with open(log_path, errors="replace") as f:
        m = re.search(r"message queue: id (\d+) key 0x([0-9a-f]+)", f.read())
    if not m:
        return
    libc = ctypes.CDLL(None, use_errno=True)
    key = ctypes.c_int32(int(m.group(2), 16) & 0xFFFFFFFF).value
    if libc.msgget(key, 0) == int(m.group(1)):
        libc.msgctl(int(m.group(1)), 0, None)  # IPC_RMID


def check(failures, what, got, want):
    ok = got == want
    print(f"{'ok  ' if ok else 'FAIL'} {what}: {got!r}")
    if not ok:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def retry(make, seconds=5):
    """make() until it does not raise, at most `seconds`."""
    until = time.monotonic() + seconds
    while True:
        try:
            return make()
        except Exception:
            if time.monotonic() > until:
                raise
            time.sleep(0.1)


class Controller:
    def __init__(self, folder, offset):
        self.folder, self.offset = folder, offset
        self.root = os.path.join(folder, "root")
        self.log_path = os.path.join(folder, "output.txt")
        self._lan = None
        self._lan_rest = b""
        self.restart = None  # set by main(): stops the controller and starts it again on the same root

    def output(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def http_url(self, port, path):
        return f"http://127.0.0.1:{port + self.offset}{path}"

    def ws_url(self):
        return f"ws://127.0.0.1:{80 + self.offset}/scpi"

    def lan(self, message, reply=True, timeout=15):
        """Sends one program message over the LAN socket; its reply line without the line feed."""
        if self._lan is None:
            self._lan = socket.create_connection(("127.0.0.1", 5025 + self.offset), timeout=timeout)
        self._lan.sendall(message.encode() + b"\n")
        if not reply:
            return None
        while b"\n" not in self._lan_rest:
            part = self._lan.recv(4096)
            if not part:
                raise RuntimeError("the LAN socket closed")
            self._lan_rest += part
        line, self._lan_rest = self._lan_rest.split(b"\n", 1)
        return line.decode(errors="replace")

    def close(self):
        if self._lan is not None:
            self._lan.close()


def text_logged(root, x, y, text, prefix=False, since=0):
    """A line of gui-text.log ("x y align colour font text") from byte `since` on drew `text` at (x, y)."""
    try:
        with open(os.path.join(root, "var", "log", "gui-text.log"), errors="replace") as f:
            log = f.read()[since:]
    except FileNotFoundError:
        return False
    for line in log.splitlines():
        parts = line.split(" ", 5)
        if len(parts) == 6 and parts[0] == str(x) and parts[1] == str(y):
            if parts[5] == text or (prefix and parts[5].startswith(text)):
                return True
    return False


def text_log_size(root):
    try:
        return os.path.getsize(os.path.join(root, "var", "log", "gui-text.log"))
    except FileNotFoundError:
        return 0


def wait_until(test, seconds):
    until = time.monotonic() + seconds
    while not test():
        if time.monotonic() > until:
            return False
        time.sleep(0.05)
    return True


def web_ready(offset):
    """What the controller prints once its LAN socket, both web ports and the panel are up."""
    return (f"SCPI socket listening on port {5025 + offset}", f"Web: serving port {80 + offset}",
            f"Web: serving port {81 + offset}", "GuiThread: system ready")


def main(failures, session, args=(), ready=web_ready):
    # The controller runs in a folder of its own: a relative build folder is taken from here.
    build = os.path.abspath(os.environ.get("VRN_BUILD_DIR", "build"))
    offset = port_offset()
    folder = tempfile.mkdtemp(prefix="vrn-web-", dir=os.environ.get("TMPDIR"))
    os.mkdir(os.path.join(folder, "work"))
    ctl = Controller(folder, offset)
    running = []

    def start():
        since = len(ctl.output()) if os.path.exists(ctl.log_path) else 0
        with open(ctl.log_path, "a") as log:
            running.append(subprocess.Popen(
                [os.path.join(build, "app", "vrn-controller"), "--root", ctl.root, "--port-offset", str(offset),
                 *args],
                stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, cwd=os.path.join(folder, "work"),
                start_new_session=True))
        # The start-up self-test alone lasts about 15 s; a sanitizer build is several times slower.
        until = time.monotonic() + 120
        texts = ready(offset)
        while not all(text in ctl.output()[since:] for text in texts):
            if time.monotonic() > until or running[-1].poll() is not None:
                raise RuntimeError("the controller did not become ready")
            time.sleep(0.05)

    def stop():
        proc = running[-1]
        proc.terminate()
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        return proc.returncode

    def restart():
        ctl.close()
        ctl._lan, ctl._lan_rest = None, b""
        if stop() != 0:
            failures.append("the controller ended with a status other than 0 at its restart")
        start()

    ctl.restart = restart
    try:
        start()
        session(ctl, failures)
    finally:
        ctl.close()
        proc = running[-1] if running else None
        if proc is not None:
            stop()
        if proc is not None and proc.returncode != 0:
            failures.append(f"the controller ended with status {proc.returncode}")
            remove_left_queue(ctl.log_path)
        if failures:
            print("controller output:\n" + ctl.output())
        shutil.rmtree(folder, ignore_errors=True)


def entry(session, args=(), ready=web_ready):
    """Runs main() as a test program (the controller started with `args` too, `ready` the texts it prints
    once up): exit status 0 when nothing failed."""
    failures = []
    try:
        main(failures, session, args, ready)
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        print(f"FAIL {type(e).__name__}: {e}")
    sys.exit(1 if failures else 0)
