"""A SEQUENCE programmed through a real SCPI client (pyvisa with the pyvisa-py backend) the way a plain
script does it: five steps (1-5) written at once after entering SEQUENCE, while the entry's preparation may still
be under way, then stored; recalled into a SEQUENCE entered afresh, every step reads back as written. The
session lan_scpi_pyvisa.py runs after its steps, on its controller."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

NO_ERROR = '+0,"No error"'
check = harness.controller_harness.check

# (step, common parameters and their reply, phase parameters and their reply)
STEPS = [
    (1, "2.5,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0", "+2.5000,+0.0,+0,+0.0,+0,CONT,+0,+0,+0,+0,+0,+0,+0,+0,+0",
     "10,CONST,0,CONST,50,CONST,SIN,0", "+10.00,CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0"),
    (2, "1,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0", "+1.0000,+0.0,+0,+0.0,+0,CONT,+0,+0,+0,+0,+0,+0,+0,+0,+0",
     "20.5,SWE,0,CONST,60,CONST,SQU,0", "+20.50,SWEEP,+0.00,CONST,+60.00,CONST,SQU,+0.0"),
    (3, "0.5,90,1,0,0,HOLD,0,0,0,2,0,0,0,0,0", "+0.5000,+90.0,+1,+0.0,+0,HOLD,+0,+0,+0,+2,+0,+0,+0,+0,+0",
     "30,KEEP,0,CONST,55.5,SWE,TRI,0", "+30.00,KEEP,+0.00,CONST,+55.50,SWEEP,TRI,+0.0"),
    (4, "3,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0", "+3.0000,+0.0,+0,+0.0,+0,CONT,+0,+0,+0,+0,+0,+0,+0,+0,+0",
     "40,CONST,0,CONST,400,CONST,ARB17,0", "+40.00,CONST,+0.00,CONST,+400.00,CONST,ARB17,+0.0"),
    (5, "4,0,0,0,0,END,0,0,0,0,0,0,0,0,0", "+4.0000,+0.0,+0,+0.0,+0,END,+0,+0,+0,+0,+0,+0,+0,+0,+0",
     "50,CONST,0,CONST,50,CONST,SIN,0", "+50.00,CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0"),
]


def session(inst, root, failures):
    # *OPC? waits for the SEQUENCE preparation (a download of 1000 steps).
    inst.timeout = 60000
    inst.write("SYST:CONF:MODE SEQ")
    for step, common, _, phase, _ in STEPS:
        inst.write(f"SEQ:STEP {step};CPAR {common};SPAR {phase}")
    inst.write("DATA:SEQ:STOR 6")
    check(failures, "five steps stored", inst.query("SYST:ERR?"), NO_ERROR)
    # The steps in use are overwritten before the memory comes back.
    inst.write("SEQ:STEP 3;SPAR 9,CONST,0,CONST,50,CONST,SIN,0")
    check(failures, "leave and enter SEQUENCE", inst.query("SYST:CONF:MODE CONT;:SYST:CONF:MODE SEQ;*OPC?"), "1")
    check(failures, "recall", inst.query("DATA:SEQ:REC 6;*OPC?"), "1")
    for step, _, common, _, phase in STEPS:
        check(failures, f"step {step}", inst.query(f"SEQ:STEP {step};CPAR?;SPAR?"), f"{common};{phase}")
    check(failures, "no error", inst.query("SYST:ERR?"), NO_ERROR)
    inst.write("SEQ:STEP 0;:SYST:CONF:MODE CONT")
    check(failures, "back in CONT", inst.query("SYST:CONF:MODE?"), "CONT")
    inst.timeout = 10000
