#!/usr/bin/python3
"""The output, parallel, display, input, instrument and SYSTem configuration commands through a real SCPI
client (pyvisa with the pyvisa-py backend), on the harness of lan_scpi_pyvisa.py: a controller on a fresh
root (model type 1, 3P4W, ACDC-INT, 100 V range, master) and TCPIP::127.0.0.1::<port>::SOCKET. Exits 77
(skipped) when pyvisa or pyvisa-py is not installed."""
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

ERR = "SYST:ERR?"
NONE = '+0,"No error"'
RANGE = '-222,"Data out of range"'
PARAM = '-220,"Parameter error"'
EXECUTION = '-200,"Execution error"'
SYSTEM = '-310,"System error"'
UNDEFINED = '-113,"Undefined header"'
INFO = re.compile(r"^QX-ORVANE,VRN-4145,[^,]*,1\.06,2024\.0823-0,0x[0-9a-f]+,H\d+ 0x[0-9a-f]+,[0-9a-f]+,"
                  r"20230316 10:32:51,0$")
# (what the client writes, the query whose answer is checked, the answer or a check of it)
STEPS = [
    (None, "OUTP?", "+0"),
    ("OUTP 1.5", ERR, PARAM),
    ("OUTP 2", ERR, RANGE),
    ("OUTP -1", ERR, RANGE),
    (None, "OUTP ON;*OPC?", "1"),
    (None, "OUTP?", "+1"),
    ("OUTP ON", ERR, NONE),
    ("OUTP OFF", "OUTP?", "+0"),
    (None, "OUTP:IMP?", "+0"),
    (None, "OUTP:IMP:IND? L1", "+0.1"),
    (None, "OUTP:IMP:IND? L1,MAX", "+2000.0"),
    ("OUTP:IMP:RES L1,1.1", ERR, RANGE),
    (None, "OUTP:MON:AMPL?", "LOW"),
    (None, "OUTP:MON:SOUR1?", "L1Voltage"),
    (None, "OUTP:PON?", "+0"),
    ("OUTP:PON 4", ERR, RANGE),
    (None, "OUTP:REL?", "+1"),
    (None, "PAR:POS?;NUMB?;ENAB?", "Master;2;OFF"),
    ("PAR:NUMB 7", ERR, RANGE),
    ("PAR:POS SLAV;:OUTP:REL?", ERR, SYSTEM),
    ("PAR:POS MAST", "PAR:POS?", "Master"),
    ("DISP:DES:MODE?", ERR, UNDEFINED),
    ("DISP:MEAS:SOUR3 FREQ", ERR, PARAM),
    (None, "DISP:MEAS:SOUR2 VAVG;SOUR2?", "VAVG"),
    ("DISP:MEAS:SOUR1 THDV", ERR, PARAM),
    ("INP:GAIN?", ERR, EXECUTION),
    ("INP:SOUR?", ERR, EXECUTION),
    (None, "INST:EDIT?", "Each"),
    (None, "INST:SEL L3;SEL?", "L3"),
    (None, "ETH:DHCP?", "ON"),
    ("ETH:DHCP 1", ERR, SYSTEM),
    (None, "SYST:CONF?", "CONT"),
    (None, "SYST:CONF:PHAS?", "3P4W"),
    (None, "SYST:KLOC ON;KLOC?", "+1"),
    (None, "SYST:KLOC OFF;KLOC?", "+0"),
    ("SYST:KLOC 2", ERR, RANGE),
    (None, "SYST:PKH:TIME?", "+1"),
    ("SYST:PKH:TIME 0", ERR, RANGE),
    ("SYST:PASS 1234", ERR, PARAM),
    (None, "SYST:SCPI:DATA? ERR", NONE),
    (None, "SYST:INF?", lambda got: INFO.match(got) is not None),
    ("SYST:REB", "*OPC?", "1"),
    ("OUTP:PON 1", ERR, SYSTEM),
]



def session(inst, root, failures):
    harness.run(inst, STEPS, failures)
    # SYST:REB ends in the instrument's reboot, which the command sandbox records instead of running.
    # The restart save carries it out after the settings are saved: a bounded wait.
    until = time.monotonic() + 15
    while True:
        with open(os.path.join(root, "var", "log", "commands.log")) as log:
            lines = log.read().splitlines()
        if any(line.rstrip().endswith("reboot") for line in lines) or time.monotonic() > until:
            break
        time.sleep(0.1)
    if not any(line.rstrip().endswith("reboot") for line in lines):
        failures.append("SYST:REB: no reboot in the command log")
        print("FAIL SYST:REB: no reboot in the command log:\n" + "\n".join(lines[-10:]))


if __name__ == "__main__":
    harness.entry(session)
