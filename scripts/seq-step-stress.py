#!/usr/bin/python3
"""Stress bench of remote SEQUENCE/SIMULATE editing right after the function is entered or a memory is
recalled, while the preparation that those start is still under way: starts a controller on a fresh root
(through the system tests' harness) and, many times over, enters SEQUENCE (or recalls a SEQ memory) and at
once programs five steps with SEQ:STEP/SPAR/CPAR in plain set commands, no *OPC? between them; then reads
every step back. The SIMULATE rounds enter SIMULATE and at once write the Initial voltage and Normal 1's
time. Every step that reads back otherwise, and every queued error, is printed and counted. Load the
machine (e.g. `stress -c 8`, or run several copies at once) to widen the windows.

    VRN_BUILD_DIR=build scripts/seq-step-stress.py [rounds]      (default 200)
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "system", "clients"))
import controller_harness as harness  # noqa: E402

ROUNDS = int(sys.argv[1]) if len(sys.argv) > 1 else 200
NO_ERROR = '+0,"No error"'
STEPS = 5


def step_values(n, k):
    """Round n's step k: an AC voltage and a step time that differ from round to round and step to step."""
    return 10 + (n * 7 + k * 13) % 90, 1 + (n + k) % 9


def program(ctl, n, first):
    """The five steps as a plain script sends them: one program message a step, no wait between."""
    for k in range(STEPS):
        acv, time = step_values(n, k)
        ctl.lan(f"SEQ:STEP {first + k};CPAR {time},0,0,0,0,CONT,0,0,0,0,0,0,0,0,0;"
                f"SPAR {acv},CONST,0,CONST,50,CONST,SIN,0", reply=False)


def check_program(ctl, n, first, what):
    wrong = 0
    for k in range(STEPS):
        acv, time = step_values(n, k)
        got = ctl.lan(f"SEQ:STEP {first + k};SPAR?;CPAR?")
        want = (f"{acv:+.2f},CONST,+0.00,CONST,+50.00,CONST,SIN,+0.0;"
                f"{time:+.4f},+0.0,+0,+0.0,+0,CONT,+0,+0,+0,+0,+0,+0,+0,+0,+0")
        if got != want:
            wrong += 1
            print(f"round {n} {what}: step {first + k} {got!r} (want {want!r})")
    err = ctl.lan("SYST:ERR?")
    if err != NO_ERROR:
        wrong += 1
        print(f"round {n} {what}: {err}")
    return wrong


def seq_entry(ctl, n):
    ctl.lan("SYST:CONF:MODE CONT;*OPC?")
    ctl.lan("SYST:CONF:MODE SEQ", reply=False)
    program(ctl, n, 1 + n % 10)
    return check_program(ctl, n, 1 + n % 10, "SYST:CONF SEQ")


def seq_recall(ctl, n):
    ctl.lan("SYST:CONF:MODE SEQ;*OPC?")
    ctl.lan(f"DATA:SEQ:REC {n % 2}", reply=False)
    program(ctl, n, 20 + n % 10)
    return check_program(ctl, n, 20 + n % 10, "DATA:SEQ:REC")


def sim_entry(ctl, n):
    volt, time = 20 + n % 100, 1 + n % 50
    ctl.lan("SYST:CONF:MODE CONT;*OPC?")
    ctl.lan("SYST:CONF:MODE SIM", reply=False)
    ctl.lan(f"SIM:INIT:VOLT {volt}", reply=False)
    ctl.lan(f"SIM:NORM1:TIME {time}", reply=False)
    got = ctl.lan("SIM:INIT:VOLT?;:SIM:NORM1:TIME?;:SYST:ERR?")
    want = f"{volt:+.2f};{time:+.4f};{NO_ERROR}"
    if got == want:
        return 0
    print(f"round {n} SYST:CONF SIM: {got!r} (want {want!r})")
    return 1


CASES = [("SYST:CONF SEQ", seq_entry), ("DATA:SEQ:REC", seq_recall), ("SYST:CONF SIM", sim_entry)]


def session(ctl, failures):
    # Memories 0 and 1 hold the default program for the recall rounds.
    ctl.lan("SYST:CONF:MODE SEQ;:DATA:SEQ:CLE 0;CLE 1;*OPC?")
    counts = {name: 0 for name, _ in CASES}
    for n in range(ROUNDS):
        for name, case in CASES:
            counts[name] += 1 if case(ctl, n) else 0
    ctl.lan("SYST:CONF:MODE CONT;*OPC?")
    for name, bad in counts.items():
        print(f"{bad:5d} of {ROUNDS} rounds wrong: {name}")
        if bad:
            failures.append(name)


if __name__ == "__main__":
    harness.entry(session, ready=lambda offset: (f"SCPI socket listening on port {5025 + offset}",
                                                 "GuiThread: system ready"))
