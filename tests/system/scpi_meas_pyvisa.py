#!/usr/bin/python3
"""The measurement commands through a real SCPI client: pyvisa with the pyvisa-py backend against a
running controller on a fresh root (3P4W, ACDC-INT, 100 V range). The settings, then 10 ohm on every
phase (the panel channel's "load" verb) with 100 V on every line in Balance switched on by the trigger
action, read live, from the snapshot and as the READ? array. Exits 77 (skipped) without pyvisa or pyvisa-py."""
import os
import re
import sys
import time

sys.dont_write_bytecode = True  # no cache beside the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

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


def session(inst, root, failures):
    harness.run(inst, SETTINGS, failures)
    with open(os.path.join(root, "var", "run", "panel"), "w") as panel:
        panel.write("load 10\n")
    inst.query("PHAS:MODE BAL;:VOLT 100;:OUTP:TRIG ON;:INIT:NAME OUTP;*TRG;*OPC?")
    # The readings follow within a few passes; the display copy refreshes one word group per main pass, so
    # wait until the voltage, current and power all stand (bounded).
    until = time.monotonic() + 15
    while time.monotonic() < until:
        got = inst.query("MEAS:VOLT?;CURR?;POW?").split(";")
        if len(got) == 3 and all(near(want)(r) for want, r in zip((100.0, 10.0, 1000.0), got)):
            break
        time.sleep(0.05)
    harness.run(inst, LOADED, failures)


if __name__ == "__main__":
    # The output switches on only once the system is ready (the control task runs).
    harness.entry(session, ready=("panel channel:", "GuiThread: system ready"))
