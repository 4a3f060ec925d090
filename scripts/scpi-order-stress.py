#!/usr/bin/python3
"""Stress bench of the order in which the commands of one SCPI program message take effect: starts a
controller on a fresh root (through the system tests' harness) and sends, many times over, messages in
which a setting follows a change that the control task answers by rewriting other settings (a waveform,
a mode, an ACV unit, an applied waveform-builder wave), each ending in *OPC? and followed by a query of
the setting. Every reply that differs is printed and counted. Load the machine (e.g. `stress -c 8`, or
run several copies at once) to widen the windows.

    VRN_BUILD_DIR=build scripts/scpi-order-stress.py [rounds]      (default 500)
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "system", "clients"))
import controller_harness as harness  # noqa: E402

ROUNDS = int(sys.argv[1]) if len(sys.argv) > 1 else 500

# {set-up message, message under test, query, expected reply}
CASES = [
    ("OUTP OFF;*OPC?", "FUNC TRI;:VOLT 100;*OPC?", "VOLT?", "+100.0000"),
    ("OUTP OFF;:FUNC SIN;:VOLT 20;*OPC?", "FUNC SQU;:VOLT 60;*OPC?", "VOLT?", "+60.0000"),
    ("OUTP OFF;:MODE ACDC-INT;*OPC?", "OUTP OFF;:MODE AC-INT;:FUNC SQU;:VOLT 100;*OPC?", "VOLT?", "+100.0000"),
    ("OUTP OFF;:SYST:ACV:UNIT 0;*OPC?", "SYST:ACV:UNIT 1;:OUTP ON;*OPC?", "OUTP?", "+1"),
    ("OUTP OFF;*OPC?", "SYST:ARB:EDIT:STOR:APPL1 17;:OUTP ON;*OPC?", "OUTP?", "+1"),
]


def session(ctl, failures):
    counts = {case[1]: 0 for case in CASES}
    for n in range(ROUNDS):
        for setup, message, query, want in CASES:
            ctl.lan(setup)
            done = ctl.lan(message)
            got = ctl.lan(query)
            err = ctl.lan("SYST:ERR?")
            if done != "1" or got != want or err != '+0,"No error"':
                counts[message] += 1
                print(f"round {n}: {message!r} -> {done!r}, {query} {got!r} (want {want!r}), {err}")
    ctl.lan("OUTP OFF;*OPC?")
    for message, bad in counts.items():
        print(f"{bad:5d} of {ROUNDS} wrong: {message}")
        if bad:
            failures.append(message)


if __name__ == "__main__":
    harness.entry(session, ready=lambda offset: (f"SCPI socket listening on port {5025 + offset}",
                                                 "GuiThread: system ready"))
