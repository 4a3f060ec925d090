#!/usr/bin/python3
"""The memory transfers through a real SCPI client (pyvisa with the pyvisa-py backend and its own IEEE 488.2
block reader and writer), on the harness of lan_scpi_pyvisa.py: a controller on a fresh root (model type 1)
and TCPIP::127.0.0.1::<port>::SOCKET. Exits 77 (skipped) when pyvisa or pyvisa-py is not installed."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

NO_ERROR = '+0,"No error"'


def check(failures, what, got, want):
    ok = got == want
    print(f"{'ok  ' if ok else 'FAIL'} {what}: {got!r}"[:200])
    if not ok:
        failures.append(f"{what}: got {got!r}, want {want!r}"[:400])


def block(inst, query):
    return inst.query_binary_values(query, datatype="B", container=bytes)


def session(inst, root, failures):
    arb = block(inst, "DATA:ARB:FILE? 1")
    check(failures, "ARB1 image size", len(arb), 8260)
    check(failures, "ARB1 header words", arb[48:56].hex(), "0424000300010000")
    samples = bytes((i * 13 + 5) & 0xFF for i in range(8192))
    inst.write_binary_values("DATA:WAVE ARB5,", samples, datatype="B")
    check(failures, "DATA:WAVE ARB5", inst.query("SYST:ERR?"), NO_ERROR)
    check(failures, "ARB5 samples", block(inst, "TRAC:ARB:FILE? 5")[64:8256] == samples, True)
    inst.write_binary_values("DATA:WAVE 5,", samples[:100], datatype="B")
    check(failures, "100 samples", inst.query("SYST:ERR?"), '-160,"Block data error"')
    preset = block(inst, "DATA:PRES:FILE? 2")
    check(failures, "preset image size", len(preset), 2516)
    inst.write_binary_values("DATA:PRES:FILE 6,", preset, datatype="B")
    check(failures, "DATA:PRES:FILE 6", inst.query("SYST:ERR?"), NO_ERROR)
    check(failures, "preset 6 records", block(inst, "DATA:PRES:FILE? 6")[64:2512] == preset[64:2512], True)
    inst.write_binary_values("DATA:PRES:FILE 6,", preset[:2515], datatype="B")
    check(failures, "2515 bytes", inst.query("SYST:ERR?"), '-200,"Execution error"')
    seq3 = block(inst, "DATA:SEQ? 3")
    check(failures, "never stored: a whole memory", len(seq3), 1224324)
    check(failures, "never stored: the default step's 50.00 Hz", seq3[76:80].hex(), "00001388")
    check(failures, "never stored", inst.query("SYST:ERR?"), NO_ERROR)
    check(failures, "the present simulation", len(block(inst, "DATA:SIM:PRES?")), 1972)
    check(failures, "memory 9 put back", os.path.exists(os.path.join(root, "mnt/tst/sim/SIM9.SIM")), False)


if __name__ == "__main__":
    harness.entry(session)
