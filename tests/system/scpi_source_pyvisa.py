#!/usr/bin/python3
"""The [SOURce:] setting commands through a real SCPI client (pyvisa with the pyvisa-py backend), on the
harness of lan_scpi_pyvisa.py: a controller on a fresh root (3P4W, ACDC-INT, 100 V range, Unbalance)
and TCPIP::127.0.0.1::<port>::SOCKET. Exits 77 (skipped) when pyvisa or pyvisa-py is not installed."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

ERR = "SYST:ERR?"
RANGE = '-222,"Data out of range"'
EXECUTION = '-200,"Execution error"'
SYSTEM = '-310,"System error"'
# (what the client writes, the query whose answer is checked, the answer)
STEPS = [
    (None, "VOLT:OFFS -12.345;OFFS?", "-12.3500"),
    (None, "VOLT:LIM:HIGH?;LOW?", "+250.0000;-250.0000"),
    (None, "CURR:LIM:RMS?", "+15.7500"),
    ("CURR:LIM:RMS 16", ERR, RANGE),
    ("LINE:VOLT?", ERR, EXECUTION),
    (None, "SQU:DCYC?", "+50.0000"),
    (None, "SQU:DCYC 25;DCYC?", "+25.0000"),
    (None, "SQU:DCYC MAX;DCYC?", "+99.9000"),
    ("SQU:DCYC", ERR, '-220,"Parameter error"'),
    (None, "FREQ 500;:SQU:DCYC 25.4;DCYC?", "+25.0000"),
    ("FREQ 2000;:SQU:DCYC 5", ERR, RANGE),
    (None, "SQU:DCYC? MIN", "+10.0000"),
    (None, "PHAS:STAR 90;STAR?", "+90.0000"),
    (None, "PHAS:PHAS? L12;PHAS? L13", "+120.0;+240.0"),
    (None, "PHAS:PHAS L12,100.25;PHAS? L12", "+100.3"),
    ("PHAS:PHAS 5,100", ERR, RANGE),
    (None, "PHAS:SYNC?", "0.0"),
    (None, "PHAS:SYNC 90.5;SYNC?", "90.5"),
    ("PHAS:MODE BAL", "PHAS:PHAS? L13,MAX", "+240.0"),
    ("PHAS:PHAS L12,100", ERR, EXECUTION),
    (None, "VOLT:RANG?", "100"),
    (None, "VOLT:RANG 2;RANG?", "AUTO"),
    ("VOLT:RANG 150", ERR, RANGE),
    ("VOLT:RANG -1", ERR, RANGE),
    (None, "MODE?", "ACDC-INT"),
    (None, "MODE 7;MODE?", "ACDC-Sync"),
    ("MODE 10", ERR, SYSTEM),
    ("MODE -1", ERR, SYSTEM),
    ("MODE DC-INT", "FUNC?", "DC"),
    ("FUNC SIN", ERR, EXECUTION),
    ("FREQ?", ERR, EXECUTION),
    ("MODE AC-INT", "VOLT:LIM:RMS?", "+175.0000"),
    ("VOLT:LIM:PEAK?", ERR, EXECUTION),
    (None, "VOLT:LIM:RMS 150;:VOLT? MAX", "+150.0000"),
    (None, "FUNC SQU;FUNC?", "SQU"),
    (None, "FUNC:THD:FORM CSA;FORM?", "CSA"),
    (None, "VOLT:RESP?", "+1"),
    ("VOLT:RESP 3", ERR, RANGE),
    (None, ERR, '+0,"No error"'),
]

if __name__ == "__main__":
    harness.entry(lambda inst, root, failures: harness.run(inst, STEPS, failures))
