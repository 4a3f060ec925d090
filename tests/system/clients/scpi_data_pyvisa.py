"""The memory transfers through a real SCPI client (pyvisa with the pyvisa-py backend and its own IEEE 488.2
block reader and writer, its default write termination CR LF ending a block too): the session
lan_scpi_pyvisa.py runs after its steps, on its controller (a fresh root, model type 1) and
TCPIP::127.0.0.1::<port>::SOCKET."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

NO_ERROR = '+0,"No error"'
check = harness.controller_harness.check


def block(inst, query):
    return inst.query_binary_values(query, datatype="B", container=bytes)


def stored(inst, command, query, image, failures):
    """pyvisa's block writer (its default write ends the block with CR LF): taken, and read back as sent
    past the file header, which names the memory."""
    inst.write_binary_values(command, image, datatype="B")
    check(failures, command, inst.query("SYST:ERR?"), NO_ERROR)
    check(failures, f"{query} as sent", block(inst, query)[64:-4] == image[64:-4], True)


def session(inst, root, failures):
    # pyvisa's block reader on headers of 4 and 7 digits, its writer on a wave's samples and on whole memories;
    # the images' contents and the refused blocks are the C++ socket suite's.
    check(failures, "ARB1 image size", len(block(inst, "DATA:ARB:FILE? 1")), 8260)
    samples = bytes((i * 13 + 5) & 0xFF for i in range(8192))
    inst.write_binary_values("DATA:WAVE ARB5,", samples, datatype="B")
    check(failures, "DATA:WAVE ARB5", inst.query("SYST:ERR?"), NO_ERROR)
    check(failures, "ARB5 samples", block(inst, "TRAC:ARB:FILE? 5")[64:8256] == samples, True)
    # Each copy differs from what its memory held: preset 3 holds the steps' 123.4 V, SEQ7 its template, and
    # SIM4 was never stored.
    stored(inst, "DATA:PRES:FILE 5,", "DATA:PRES:FILE? 5", block(inst, "DATA:PRES:FILE? 3"), failures)
    check(failures, "never stored: a whole memory", len(block(inst, "DATA:SEQ? 3")), 1224324)
    stored(inst, "DATA:SEQ 4,", "DATA:SEQ? 4", block(inst, "DATA:SEQ? 7"), failures)
    stored(inst, "DATA:SIM 4,", "DATA:SIM? 4", block(inst, "DATA:SIM? 3"), failures)
    check(failures, "SIM4 stored", os.path.exists(os.path.join(root, "mnt/tst/sim/SIM4.SIM")), True)
    check(failures, "the present simulation", len(block(inst, "DATA:SIM:PRES?")), 1972)
    check(failures, "memory 9 put back", os.path.exists(os.path.join(root, "mnt/tst/sim/SIM9.SIM")), False)

