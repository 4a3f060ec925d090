#!/usr/bin/env python3
"""Recalls presets and changes waveforms many times on a controller of its own, and counts the recalls
after which the waveform, voltage, frequency or output mode is not the preset's, and the waveform changes
after which the voltage is not the one set before them.

    python3 scripts/preset-recall-stress.py [ROUNDS] [PORT_OFFSET] [BINARY]

Six presets of different output modes, ranges, waveforms (an arbitrary one too), AC voltage units,
voltages and frequencies are stored first. Each round is a recall or a waveform change. A recall round
sends a burst of 0-3 recalls (scanned one after the other, or *RCL) before the recall it checks, so that
recalls meet the control task while it is still taking the last one. A waveform-change round, in Vrms,
sets a voltage and then a waveform, in one message or two, and checks that the voltage went with it; the
records it leaves then differ from every preset for the recalls after it. A checked state must hold once
the control task has taken it and still hold a moment later. Exits 1 when anything was lost.
"""
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import time

rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
offset = int(sys.argv[2]) if len(sys.argv) > 2 else 7300
binary = sys.argv[3] if len(sys.argv) > 3 else "build/app/vrn-controller"
root = tempfile.mkdtemp(prefix="vrn-recall-stress-")
proc = subprocess.Popen([binary, "--root", root, "--port-offset", str(offset)], stdout=subprocess.PIPE,
                        stderr=subprocess.STDOUT, text=True)
SETTLE_BOUND_S = 5.0  # how long a state may take to be reached on a loaded machine
RECHECK_S = 0.3       # and how long after that it must still hold


def wait_for(text, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        line = proc.stdout.readline()
        if text in line:
            return True
        if not line and proc.poll() is not None:
            return False
    return False


try:
    if not wait_for("LAN: SCPI socket listening"):
        sys.exit("the controller did not start")
    sock = socket.create_connection(("127.0.0.1", 5025 + offset))
    replies = sock.makefile("r")

    def ask(cmd):
        sock.sendall((cmd + "\n").encode())
        return replies.readline().strip()

    def run(cmd):
        ask(cmd + ";*OPC?")

    def scan(text):
        with open(root + "/var/run/panel", "w") as panel:
            panel.write("scan " + text + "\n")

    def state():
        wave, volts, hertz, mode = ask("FUNC?;:VOLT?;:FREQ?;:MODE?").split(";")
        return wave, float(volts), float(hertz), mode

    def holds(ok):
        """The state reaches ok within the bound and still meets it a moment later; the last one read."""
        end = time.time() + SETTLE_BOUND_S
        now = state()
        while not ok(now) and time.time() < end:
            time.sleep(0.02)
            now = state()
        if not ok(now):
            return False, now
        time.sleep(RECHECK_S)
        now = state()
        return ok(now), now

    # (mode, range, waveform, AC voltage unit, volts, hertz): M0 and M4 differ only in waveform, unit,
    # voltage and frequency; the units alternate so that recalls change the unit.
    presets = [(1, 1, "SIN", "VRMS", 120, 60), (0, 1, "TRI", "VPP", 200, 50), (1, 0, "SQU", "VPP", 60, 400),
               (0, 0, "SIN", "VRMS", 95, 55), (1, 1, "TRI", "VRMS", 110, 65), (1, 1, "ARB1", "VPP", 250, 45)]
    for n, (mode, rng, wave, unit, volts, hertz) in enumerate(presets):
        for cmd in (f"MODE {mode}", f"VOLT:RANG {rng}", f"SYST:ACV:UNIT {unit}", f"FUNC {wave}",
                    f"VOLT {volts}", f"FREQ {hertz}"):
            run(cmd)
            time.sleep(0.3)  # one setting at a time: the stored presets are what this script says
        run(f"*SAV {n}")

    lost = {"recall": 0, "wave": 0}
    counted = {"recall": 0, "wave": 0}
    for i in range(rounds):
        how = random.choice(["scan", "rcl", "mixed", "wave", "wave2"])
        if how.startswith("wave"):
            counted["wave"] += 1
            wave = random.choice(["SIN", "SQU", "TRI", "ARB1"])
            volts = random.randrange(100, 1000) / 10  # within every waveform's limit in both ranges
            run("SYST:ACV:UNIT VRMS")
            if how == "wave":
                run(f"VOLT {volts};:FUNC {wave}")
            else:
                sock.sendall(f"VOLT {volts}\n".encode())
                run(f"FUNC {wave}")
            ok, now = holds(lambda s: s[0] == wave and abs(s[1] - volts) < 0.05)
            if not ok:
                lost["wave"] += 1
                print(f"round {i} {how}: VOLT {volts};:FUNC {wave} left {now}", flush=True)
            continue
        counted["recall"] += 1
        burst = random.randrange(4)
        n = random.randrange(len(presets))
        for _ in range(burst):
            k = random.randrange(len(presets))
            if how == "rcl":
                run(f"*RCL {k}")
            else:
                scan(f"Recall M{k}")
                time.sleep(random.uniform(0.15, 0.3))  # one line typed before the next, as by hand
        if how == "mixed":
            time.sleep(2.0)  # the scanned burst is typed before the *RCL checked
        if how == "scan":
            time.sleep(0.3 * burst)  # the burst's last line taken before the checked one is typed
            scan(f"Recall M{n}")
        else:
            run(f"*RCL {n}")
        mode, _, wave, _, volts, hertz = presets[n]
        ok, now = holds(lambda s: s[0] == wave and abs(s[1] - volts) < 0.05 and abs(s[2] - hertz) < 0.05
                        and s[3] == ("ACDC-INT", "AC-INT")[mode])
        if not ok:
            lost["recall"] += 1
            print(f"round {i} {how} M{n}: {now}, stored {presets[n]}", flush=True)
    print(f"{lost['recall']} of {counted['recall']} recalls and {lost['wave']} of {counted['wave']} "
          f"waveform changes lost a setting")
    sock.close()
    sys.exit(1 if lost["recall"] or lost["wave"] else 0)
finally:
    proc.terminate()
    proc.wait(15)
    shutil.rmtree(root, ignore_errors=True)
