#!/usr/bin/python3
"""A real SCPI client against a running controller: pyvisa with the pyvisa-py backend opens
TCPIP::127.0.0.1::<port>::SOCKET and controls the simulated instrument. Exits 77 (skipped) when
pyvisa or pyvisa-py is not installed (Debian: python3-pyvisa, python3-pyvisa-py)."""
import ctypes
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

try:
    import pyvisa
    import pyvisa_py  # noqa: F401  (the backend behind "@py")
except ImportError:
    print("skipped: pyvisa and pyvisa-py are not installed (python3-pyvisa, python3-pyvisa-py)")
    sys.exit(77)

HOST = "127.0.0.1"
FAILURES = []


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


def check(what, got, expected):
    if got != expected:
        FAILURES.append(f"{what}: got {got!r}, expected {expected!r}")
        print(f"FAIL {what}: got {got!r}, expected {expected!r}")
    else:
        print(f"ok   {what}")


def wait_for(path, text, seconds):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        with open(path, errors="replace") as f:
            if text in f.read():
                return True
        time.sleep(0.02)
    return False


def wait_count(path, text, count, seconds):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        with open(path, errors="replace") as f:
            if f.read().count(text) >= count:
                return True
        time.sleep(0.02)
    return False


def connection_closed(port, seconds=3.0):
    """Connects and tells whether the instrument closes the connection."""
    with socket.create_connection((HOST, port), timeout=seconds) as s:
        s.settimeout(seconds)
        try:
            return s.recv(16) == b""
        except (ConnectionResetError, socket.timeout):
            return False


def open_served(rm, port, attempts=30):
    """A pyvisa session that the instrument serves (a connection made while the previous client's
    session is still ending is closed at once)."""
    last = None
    for _ in range(attempts):
        inst = rm.open_resource(f"TCPIP::{HOST}::{port}::SOCKET", read_termination="\n",
                                write_termination="\n", timeout=3000)
        try:
            inst.query("*STB?")
            return inst
        except Exception as e:  # closed by the instrument: try again
            last = e
            inst.close()
            time.sleep(0.05)
    raise RuntimeError(f"no session was served: {last}")


def main():
    build = os.environ.get("VRN_BUILD_DIR", "build")
    program = os.path.join(build, "app", "vrn-controller")
    offset = 20000 + 13 * (os.getpid() % 3000)
    scpi_port, restart_port = 5025 + offset, 5030 + offset
    folder = tempfile.mkdtemp(prefix="vrn-pyvisa-", dir=os.environ.get("TMPDIR"))
    log_path = os.path.join(folder, "output.txt")
    work = os.path.join(folder, "work")
    os.mkdir(work)
    with open(log_path, "w") as log:
        controller = subprocess.Popen(
            [program, "--root", os.path.join(folder, "root"), "--port-offset", str(offset)],
            stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, cwd=work,
            start_new_session=True)
    try:
        if not wait_for(log_path, f"SCPI socket listening on port {scpi_port}", 10):
            FAILURES.append("the controller did not listen")
            return
        rm = pyvisa.ResourceManager("@py")
        inst = open_served(rm, scpi_port)

        idn = inst.query("*IDN?")
        fields = idn.split(",")
        check("*IDN? has four fields", len(fields), 4)
        check("*IDN? maker and version", (fields[0], fields[-1]), ("QX-ORVANE", "1.06"))
        check("*IDN?;*STB? on one line", inst.query("*IDN?;*STB?"), idn + ";+0")
        inst.write_raw(b"*ID")
        time.sleep(0.05)
        inst.write_raw(b"N?\n")
        check("a command over two segments", inst.read(), idn)

        inst.write("VOLTA 100")
        check("undefined header queued", inst.query("SYST:ERR?"), '-113,"Undefined header"')
        check("then the queue is empty", inst.query("SYST:ERR?"), '+0,"No error"')
        inst.write("*ESE 999")
        check("*CLS;*ESR? through the message queue", inst.query("*CLS;*ESR?"), "+0")
        inst.write("*ESE 255")
        inst.write("")  # an empty line does nothing
        check("*ESE? after a set command", inst.query("*ESE?"), "+255")
        check("*OPC?", inst.query("*OPC?"), "1")

        check("a second client is closed at once", connection_closed(scpi_port), True)
        check("the first client is still served", inst.query("*IDN?"), idn)

        # The restart port: the service's threads are made again, the client is let go.
        check("the restart port takes a connection", connection_closed(restart_port), True)
        inst.close()
        check("the restart port listens again",
              wait_count(log_path, f"restart port {restart_port} listening", 2, 5), True)
        inst = open_served(rm, scpi_port)
        check("served after the restart", inst.query("*IDN?"), idn)
        inst.close()

        # A client killed in the middle of a large reply.
        greedy = socket.create_connection((HOST, scpi_port))
        greedy.sendall((";".join(["*IDN?"] * 40) + "\n").encode() * 300 + b"*ES")
        time.sleep(0.05)
        greedy.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        greedy.close()
        inst = open_served(rm, scpi_port)
        inst.write("E?")
        check("the next client starts clean", inst.query("SYST:ERR?"), '-113,"Undefined header"')
        check("and gets only its own replies", inst.query("*IDN?"), idn)
        check("the controller is alive", controller.poll(), None)
        inst.close()
        rm.close()
    finally:
        controller.terminate()
        try:
            controller.wait(10)
        except subprocess.TimeoutExpired:
            controller.kill()
            controller.wait()
        if controller.returncode != 0:
            FAILURES.append(f"the controller ended with status {controller.returncode}")
            remove_left_queue(log_path)
        if FAILURES:
            with open(log_path, errors="replace") as f:
                print("controller output:\n" + f.read())
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except Exception as e:
        FAILURES.append(f"{type(e).__name__}: {e}")
        print(f"FAIL {type(e).__name__}: {e}")
    sys.exit(1 if FAILURES else 0)
