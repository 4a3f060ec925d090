#!/usr/bin/python3
"""A real SCPI client against a running controller: pyvisa with the pyvisa-py backend opens
TCPIP::127.0.0.1::<port>::SOCKET and talks to the simulated instrument (the sessions, the restart port
and departing clients are the C++ system tests' part). Exits 77 (skipped) when pyvisa or pyvisa-py is
not installed (Debian: python3-pyvisa, python3-pyvisa-py)."""
import os
import shutil
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


def main():
    build = os.environ.get("VRN_BUILD_DIR", "build")
    program = os.path.join(build, "app", "vrn-controller")
    offset = 20000 + 13 * (os.getpid() % 3000)
    scpi_port = 5025 + offset
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
        inst = rm.open_resource(f"TCPIP::{HOST}::{scpi_port}::SOCKET", read_termination="\n",
                                write_termination="\n", timeout=3000)

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
        inst.close()
        rm.close()
    finally:
        controller.terminate()
        try:
            controller.wait(10)
        except subprocess.TimeoutExpired:
            controller.kill()
            controller.wait()
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
