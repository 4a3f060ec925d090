#!/usr/bin/python3
"""The measurement commands through a real SCPI client: pyvisa with the pyvisa-py backend against a
running controller on a fresh root (3P4W, ACDC-INT, 100 V range). The settings, then 10 ohm on every
phase (the panel channel's "load" verb) with 100 V on L1 switched on by the trigger action, read live, from the
snapshot and as the READ? array. Exits 77 (skipped) without pyvisa or pyvisa-py."""
import os
import re
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

sys.dont_write_bytecode = True  # no cache beside the sources
from lan_scpi_pyvisa import port_offset, remove_left_queue  # noqa: E402

NO_ERROR = '+0,"No error"'
RANGE = '-222,"Data out of range"'
UNDEFINED = '-113,"Undefined header"'
VALUE = re.compile(r"[+-]\d+\.\d{4}")

# (what the client writes, the query whose answer is checked, the answer or a check of it)
SETTINGS = [
    ("FETC:VOLT?", "SYST:ERR?", '-230,"Data corrupt or stale"'),
    (None, "MEAS:AVER:COUN?", "+8"),
    ("MEAS:AVER:COUN 200", "SYST:ERR?", RANGE),
    (None, "MEAS:UPD:RATE?", "Fast"),
    (None, "MEAS:UPD:RATE 2;RATE?", "+2.0000"),
    ("MEAS:UPD:RATE 0.3", "SYST:ERR?", '-220,"Parameter error"'),
    ("MEAS:UPD:RATE 25", "SYST:ERR?", RANGE),
    ("MEAS:PEAK:CLE TOT", "SYST:ERR?", RANGE),
    ("MEAS:CURR:HARM:ENAB ON", "SYST:ERR?", UNDEFINED),
    (None, "MEAS:VOLT:HARM? 2", lambda r: len(r.split(",")) == 20),
    ("READ", "SYST:ERR?", UNDEFINED),
    (None, "READ?", lambda r: pattern(r) == ["000000000000000111"] * 3),
    (None, "SYST:ERR?", NO_ERROR),
]


def near(expect):
    return lambda r: VALUE.fullmatch(r) is not None and abs(float(r) - expect) <= expect * 0.005


def pattern(reply):
    """The Invalid fields ('1') of each READ? group; '?' for a field of neither shape."""
    fields = reply.split(",")
    if len(fields) != 54:
        return [f"{len(fields)} fields"]
    marks = "".join("1" if f == "Invalid" else "0" if VALUE.fullmatch(f) else "?" for f in fields)
    return [marks[i:i + 18] for i in (0, 18, 36)]


# Balance mode: all three lines at 100 V.
LIVE = (100.0, 10.0, 1000.0, 3000.0, 173.2, 10.0)
LOADED = [
    (None, "MEAS:VOLT?;CURR?;POW?;POW:TOT?;:MEAS:LINE:VOLT?;:FETC:CURR?",
     lambda r: len(r.split(";")) == len(LIVE) and all(near(v)(x) for v, x in zip(LIVE, r.split(";")))),
    (None, "READ?", lambda r: pattern(r)[0] == "000000000000000111"
     and all(near(v)(r.split(",")[i]) for i, v in ((0, 100.0), (5, 10.0), (10, 1000.0)))),
    (None, "SYST:ERR?", NO_ERROR),
]


def run(inst, steps, failures):
    for write, query, answer in steps:
        if write is not None:
            inst.write(write)
        got = inst.query(query)
        ok = answer(got) if callable(answer) else got == answer
        print(f"{'ok  ' if ok else 'FAIL'} {write!r} {query}: {got!r}")
        if not ok:
            failures.append(f"{write!r} {query}: got {got!r}")


def main(failures):
    build = os.environ.get("VRN_BUILD_DIR", "build")
    offset = port_offset()
    folder = tempfile.mkdtemp(prefix="vrn-pyvisa-meas-", dir=os.environ.get("TMPDIR"))
    log_path = os.path.join(folder, "output.txt")
    root = os.path.join(folder, "root")
    os.mkdir(os.path.join(folder, "work"))
    with open(log_path, "w") as log:
        controller = subprocess.Popen(
            [os.path.join(build, "app", "vrn-controller"), "--root", root, "--port-offset", str(offset)],
            stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, cwd=os.path.join(folder, "work"),
            start_new_session=True)
    try:
        # The self-test lasts about 15 s; a sanitizer build brings the stage up several times slower.
        until = time.monotonic() + 120
        # The output switches on only once the system is ready (the control task runs).
        ready = ("panel channel:", f"SCPI socket listening on port {5025 + offset}", "GuiThread: system ready")
        while not all(text in open(log_path).read() for text in ready):
            if time.monotonic() > until:
                raise RuntimeError("the controller did not become ready")
            time.sleep(0.02)
        rm = pyvisa.ResourceManager("@py")
        inst = rm.open_resource(f"TCPIP::127.0.0.1::{5025 + offset}::SOCKET", read_termination="\n",
                                write_termination="\n", timeout=10000)
        run(inst, SETTINGS, failures)
        with open(os.path.join(root, "var", "run", "panel"), "w") as panel:
            panel.write("load 10\n")
        inst.query("PHAS:MODE BAL;:VOLT 100;:OUTP:TRIG ON;:INIT:NAME OUTP;*TRG;*OPC?")
        until = time.monotonic() + 5  # the readings follow within a few passes
        while not near(10.0)(inst.query("MEAS:CURR?")) and time.monotonic() < until:
            time.sleep(0.05)
        run(inst, LOADED, failures)
        inst.close()
        rm.close()
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        raise
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


if __name__ == "__main__":
    failures = []
    try:
        main(failures)
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        print(f"FAIL {type(e).__name__}: {e}")
    sys.exit(1 if failures else 0)
