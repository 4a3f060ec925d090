#!/usr/bin/python3
"""The [SOURce:]SIMulation commands through a real SCPI client (pyvisa with the pyvisa-py backend), on the
harness of lan_scpi_pyvisa.py: a controller on a fresh root (model type 1, ACDC-INT, 100 V range, output
off) and TCPIP::127.0.0.1::<port>::SOCKET. Exits 77 (skipped) when pyvisa or pyvisa-py is not installed."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

ERR = "SYST:ERR?"
RANGE = '-222,"Data out of range"'
UNDEFINED = '-113,"Undefined header"'
SYSTEM = '-310,"System error"'
# (what the client writes, the query whose answer is checked, the answer)
STEPS = [
    ("SIM:COND?", ERR, SYSTEM),
    (None, "SIM:CTIM?", "+0,+0,+0,+0"),
    ("SYST:CONF:MODE SEQ;:SIM:INIT:VOLT 10", ERR, SYSTEM),
    ("SYST:CONF:MODE SIM", "SYST:CONF?", "SIM"),
    ("SIM:NORM2:VOLT 100", ERR, UNDEFINED),
    (None, "SIM:NORM1:VOLT 100;VOLT?", "+100.00"),
    (None, "SIM:ABN:FREQ 55;FREQ?", "+55.00"),
    (None, "SIM:NORM1:TIME 1.5;TIME?", "+1.5000"),
    (None, "SIM:TRAN1:TIME MIN;TIME?", "+0.0000"),
    ("SIM:INIT:FREQ 600;:SIM:INIT:PHAS:STAR 359.95", ERR, RANGE),
    (None, "SIM:INIT:PHAS:STOP MAX;STOP?", "+359.0"),
    (None, "SIM:INIT:VOLT? MAX", "+175.00"),
    ("SIM:INIT:CODE 4", ERR, RANGE),
    (None, "SIM:REP:COUN MAX;COUN?", "+9999"),
    (None, "SIM:INST:SEL?", "L1"),
    ("SIM:INST:SEL L2", ERR, UNDEFINED),
    (None, "SIM:COND?", "+0"),
    ("SYST:CONF:MODE CONT", "SYST:CONF?", "CONT"),
    (None, ERR, '+0,"No error"'),
]

if __name__ == "__main__":
    harness.entry(lambda inst, root, failures: harness.run(inst, STEPS, failures))
