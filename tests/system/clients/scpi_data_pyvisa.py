"""The memory transfers through a real SCPI client (pyvisa with the pyvisa-py backend and its own IEEE 488.2
block reader and writer): the session lan_scpi_pyvisa.py runs after its steps, on its controller (a fresh
root, model type 1) and TCPIP::127.0.0.1::<port>::SOCKET."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

NO_ERROR = '+0,"No error"'
check = harness.controller_harness.check


def block(inst, query):
    return inst.query_binary_values(query, datatype="B", container=bytes)


def session(inst, root, failures):
    # pyvisa's block reader on headers of 4 and 7 digits, its writer on a wave's samples; the images' contents
    # and the refused blocks are the C++ socket suite's.
    check(failures, "ARB1 image size", len(block(inst, "DATA:ARB:FILE? 1")), 8260)
    samples = bytes((i * 13 + 5) & 0xFF for i in range(8192))
    inst.write_binary_values("DATA:WAVE ARB5,", samples, datatype="B")
    check(failures, "DATA:WAVE ARB5", inst.query("SYST:ERR?"), NO_ERROR)
    check(failures, "ARB5 samples", block(inst, "TRAC:ARB:FILE? 5")[64:8256] == samples, True)
    check(failures, "never stored: a whole memory", len(block(inst, "DATA:SEQ? 3")), 1224324)
    check(failures, "the present simulation", len(block(inst, "DATA:SIM:PRES?")), 1972)
    check(failures, "memory 9 put back", os.path.exists(os.path.join(root, "mnt/tst/sim/SIM9.SIM")), False)

