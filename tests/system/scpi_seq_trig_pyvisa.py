#!/usr/bin/python3
"""The SEQuence editing and status commands and the TRIGger commands through a real SCPI client (pyvisa
with the pyvisa-py backend), on the harness of lan_scpi_pyvisa.py: a controller on a fresh root (3P4W,
ACDC-INT, 100 V range, output off) and TCPIP::127.0.0.1::<port>::SOCKET. Exits 77 (skipped) when pyvisa
or pyvisa-py is not installed."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

ERR = "SYST:ERR?"
NO_ERROR = '+0,"No error"'
RANGE = '-222,"Data out of range"'
EXECUTION = '-200,"Execution error"'
SYSTEM = '-310,"System error"'
UNDEFINED = '-113,"Undefined header"'


def range_at(position):
    return '-222,"Data out of range;%s"' % position


# (what the client writes, the query whose answer is checked, the answer); a string alone switches the
# output and waits until OUTP? answers the state it names.
STEPS = [
    ("SEQ:COND?", ERR, SYSTEM),
    (None, "SEQ:CTIM?", "+0,+0,+0,+0"),
    ("OUTP ON", "+1"),
    ("TRIG:SEQ:SEL:EXEC STAR", ERR, SYSTEM),
    ("OUTP OFF", "+0"),
    (None, "TRIG:SOUR?;:TRIG:OUTP:SOUR?;:TRIG:MEM:SOUR?", "BUS;BUS;BUS"),
    (None, "TRIG:OUTP:SOUR TRI2;SOUR?", "TRI2"),
    ("TRIG:SOUR TRI1;:TRIG", ERR, '-211,"Trigger ignored"'),
    ("TRIG?", ERR, UNDEFINED),
    ("TRIG:SOUR BUS;:TRIG:OUTP:SOUR BUS;:OUTP:TRIG ON;:INIT:NAME OUTP", ERR, NO_ERROR),
    ("TRIG:OUTP", "+1"),
    ("OUTP OFF", "+0"),
    ("TRIG:SEQ:SEL:EXEC 1", ERR, SYSTEM),
    ("SYST:CONF:MODE SEQ;:TRIG:SEQ:SEL:EXEC STAR", ERR, EXECUTION),
    (None, "SEQ:STEP? MAX", "+999"),
    ("SEQ:STEP 1000", ERR, RANGE),
    ("SEQ:STEP -1", ERR, RANGE),
    ("SEQ:SPAR 100,KEEP,0,CONST,50,CONST,SIN,0", ERR, range_at("02")),
    (None, "SEQ:SPAR 100,CONST,0,CONST,50,CONST,SIN,0;SPAR?", "+100.00,CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0"),
    ("SEQ:INST:SEL L1;:SEQ:NSP 100,CONST,0,CONST,50,CONST,SIN,50,10", ERR, range_at("09")),
    ("SEQ:CPAR 1,0,4,0,0,CONT,0,0,0,0,0,0,0,0,0", ERR, range_at("03")),
    ("SEQ:CPAR 1e6,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0", ERR, range_at("01")),
    (None, "SEQ:INST:SEL L2;SEL?", "L2"),
    (None, "SEQ:COND?", "+0"),
    ("SEQ:INST:SEL L1;:SYST:CONF:MODE CONT", ERR, NO_ERROR),
]


def session(inst, failures):
    for step in STEPS:
        if len(step) == 3:
            harness.run(inst, [step], failures)
            continue
        command, state = step
        inst.write(command)
        got = ""
        for _ in range(300):  # the menu/control thread switches the output within a few passes
            got = inst.query("OUTP?")
            if got == state:
                break
            time.sleep(0.05)
        print(f"{'ok  ' if got == state else 'FAIL'} {command!r} OUTP?: {got!r}")
        if got != state:
            failures.append(f"{command!r} OUTP?: got {got!r}")


if __name__ == "__main__":
    harness.entry(lambda inst, root, failures: session(inst, failures))
