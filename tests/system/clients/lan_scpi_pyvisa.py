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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from controller_harness import port_offset, remove_left_queue  # noqa: E402,F401  (the other tests use them here)

IDN = "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06"
# (what the client writes, the query whose answer is checked, the answer)
STEPS = [
    (None, "*IDN?", IDN),
    (None, "*IDN?;*STB?", IDN + ";+0"),  # the queries of a message answer on one line
    ("VOLTA 100", "SYST:ERR?", '-113,"Undefined header"'),
    (None, "SYST:ERR?", '+0,"No error"'),
    ("*ESE 999", "*CLS;*ESR?", "+0"),  # set commands through the menu/control thread
    ("*ESE 255", "*ESE?", "+255"),
    ("", "*OPC?", "1"),  # an empty line does nothing
    (None, "*TST?", "0"),
    (None, "*SRE 32;*SRE?", "+32"),
    ("*SRE 256", "SYST:ERR?", '-222,"Data out of range"'),
    (None, "*SRE?", "+32"),
    ("*SRE ON", "SYST:ERR?", '-148,"Character data not allowed"'),
    (None, "*WAI;*OPC?", "1"),
    (None, "*ESE 4;*RST;*OPC?;*ESE?", "1;+4"),
    (None, "VOLT 100;VOLT?", "+100.0000"),
    ("VOLT 100.0049", "VOLT?", "+100.0000"),
    ("VOLT 100.005", "VOLT?", "+100.0100"),
    ("VOLT 1e12", "SYST:ERR?", '-222,"Data out of range"'),
    (None, "VOLT?", "+100.0100"),
    (None, "FREQ 60;FREQ?", "+60.0000"),
    ("*CLS;*RCL 10", "*ESR?", "+16"),
    (None, "SYST:ERR?", '-222,"Data out of range"'),
    (None, "VOLT 123.4;*SAV 3;VOLT 50;*RCL 3;VOLT?", "+123.4000"),
    (None, "STAT:OPER:ENAB 32768;ENAB?", "+0"),
    (None, "STAT:PRES;:STAT:LOCK:PTR?;NTR?;ENAB?", "+32767;+0;+0"),
    ("*TRG", "SYST:ERR?", '-211,"Trigger ignored"'),
    ("INIT:NAME OUTP;*TRG", "SYST:ERR?", '+0,"No error"'),
    (None, "MEM:TRIG MAX;TRIG?", "+9"),
    (None, "OUTP:TRIG ON;TRIG?", "+1"),
]


def run(inst, steps, failures):
    """Each step: (what the client writes, the query whose answer is checked, the answer or a check of
    it)."""
    for write, query, answer in steps:
        if write is not None:
            inst.write(write)
        got = inst.query(query)
        ok = answer(got) if callable(answer) else got == answer
        print(f"{'ok  ' if ok else 'FAIL'} {write!r} {query}: {got!r}")
        if not ok:
            failures.append(f"{write!r} {query}: got {got!r}")


def main(failures, session):
    """Starts a controller on a fresh root, waits for its SCPI socket, runs session(inst, root, failures)
    over a pyvisa SOCKET resource and stops the controller."""
    build = os.environ.get("VRN_BUILD_DIR", "build")
    offset = port_offset()
    folder = tempfile.mkdtemp(prefix="vrn-pyvisa-", dir=os.environ.get("TMPDIR"))
    log_path = os.path.join(folder, "output.txt")
    root = os.path.join(folder, "root")
    os.mkdir(os.path.join(folder, "work"))
    with open(log_path, "w") as log:
        controller = subprocess.Popen(
            [os.path.join(build, "app", "vrn-controller"), "--root", root, "--port-offset", str(offset)],
            stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, cwd=os.path.join(folder, "work"),
            start_new_session=True)
    try:
        # The start-up self-test alone lasts about 15 s, and a sanitizer build brings the stage up several
        # times slower (every waveform table crosses the simulated bus).
        until = time.monotonic() + 120
        texts = (f"SCPI socket listening on port {5025 + offset}",)
        while not all(text in open(log_path).read() for text in texts):
            if time.monotonic() > until:
                raise RuntimeError("the controller did not become ready")
            time.sleep(0.02)
        rm = pyvisa.ResourceManager("@py")
        inst = rm.open_resource(f"TCPIP::127.0.0.1::{5025 + offset}::SOCKET", read_termination="\n",
                                write_termination="\n", timeout=10000)
        session(inst, root, failures)
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
            failures.append(f"the controller ended with status {controller.returncode}")
            remove_left_queue(log_path)
        if failures:
            with open(log_path, errors="replace") as f:
                print("controller output:\n" + f.read())
        shutil.rmtree(folder, ignore_errors=True)


def entry(session):
    """Runs main() as a test program: exit status 0 when nothing failed."""
    failures = []
    try:
        main(failures, session)
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        print(f"FAIL {type(e).__name__}: {e}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    entry(lambda inst, root, failures: run(inst, STEPS, failures))
