#!/usr/bin/python3
"""The DATA memory management and waveform builder commands through a real SCPI client (pyvisa with the
pyvisa-py backend), on the harness of lan_scpi_pyvisa.py: a controller on a fresh root (3P4W, ACDC-INT,
master). Exits 77 (skipped) when pyvisa or pyvisa-py is not installed."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

ERR = "SYST:ERR?"
RANGE = '-222,"Data out of range"'
PARAM = '-220,"Parameter error"'
SYSTEM = '-310,"System error"'
EXECUTION = '-200,"Execution error"'
NO_ERROR = '+0,"No error"'
# (what the client writes, the query whose answer is checked, the answer)
STEPS = [
    ("DATA:SEQ:STOR 3", ERR, SYSTEM),
    ("SYST:CONF:MODE SEQ", ERR, NO_ERROR),
    ("DATA:SEQ:STOR 3", ERR, NO_ERROR),
    (None, 'DATA:SEQ:NAME 3,"a""b";NAME? 3', '"a""b"'),
    ("DATA:SEQ:NAME? -1", ERR, RANGE),
    ("SYST:CONF:MODE SIM", ERR, NO_ERROR),
    ('DATA:SIM:NAME 0,"x"', ERR, PARAM),
    (None, 'DATA:SIM:NAME 1,"x";NAME? 1', '"x"'),
    ("SYST:CONF:MODE CONT", ERR, NO_ERROR),
    ("DATA:WAVE:CLE 254", ERR, RANGE),
    ("DATA:WAVE:CLE MIN", ERR, NO_ERROR),
    ("DATA:WAVE:NAME? 1", ERR, '-113,"Undefined header"'),
    (None, "SYST:ARB:EDIT:CLIP 0.256;CLIP?", "+0.2600"),
    ("SYST:ARB:EDIT:CLIP 1.5", ERR, RANGE),
    ("SYST:ARB:EDIT:DIP 30,20,40", ERR, '-222,"Data out of range;01"'),
    ("SYST:ARB:EDIT:DIP 10,20,15", ERR, '-222,"Data out of range;02"'),
    ("SYST:ARB:EDIT:DIP 10,20,360.0", ERR, '-222,"Data out of range;03"'),
    (None, "SYST:ARB:EDIT:DIP 10,20,30;DIP?", "10.0,20.0,30.0"),
    (None, "SYST:ARB:EDIT:BUIL DIP;BUIL?", "DIP"),
    ("SYST:ARB:EDIT:BUIL 33", ERR, PARAM),
    ("SYST:ARB:EDIT:STA 1.5", ERR, PARAM),
    (None, "SYST:ARB:EDIT:RIPP? MAX", "6,+100,+100"),
    ("SYST:ARB:EDIT:LFR 100,139,60,300,0.01,45,100,20", ERR, '-222,"Data out of range;02"'),
    ("SYST:ARB:EDIT:STOR ARB17", ERR, NO_ERROR),
    (None, "OUTP ON;*OPC?", "1"),
    ("SYST:ARB:EDIT:STOR:APPL1 ARB17", ERR, EXECUTION),
    (None, "OUTP OFF;:PAR:POS SLAV;*OPC?", "1"),
    ("SYST:ARB:EDIT:STOR ARB17", ERR, SYSTEM),
    (None, "PAR:POS MAST;*OPC?", "1"),
]


def session(inst, root, failures):
    harness.run(inst, STEPS, failures)
    seq3 = os.path.join(root, "mnt/tst/seq/SEQ3.SEQ")
    size = os.path.getsize(seq3) if os.path.exists(seq3) else -1
    if size != 1224324:
        failures.append("SEQ3.SEQ: %d bytes" % size)
    if not os.path.exists(os.path.join(root, "mnt/tst/ARB/ARB17.ARB")):
        failures.append("ARB17.ARB not written")


if __name__ == "__main__":
    harness.entry(session)
