#!/usr/bin/env python3
"""Recalls presets many times, by the barcode scanner and by *RCL, on a controller of its own, and counts
the recalls after which the voltage, frequency or output mode is not the preset's.

    python3 scripts/preset-recall-stress.py [ROUNDS] [PORT_OFFSET] [BINARY]

Six presets of different output modes, ranges, waveforms, voltages and frequencies are stored first. Each
round then sends a burst of 0-3 recalls (scanned one after the other, or *RCL) before the recall it
checks, so that recalls meet the control task while it is still taking the last one. Exits 1 when a recall lost a
setting.
"""
import random
import shutil
import socket
import subprocess
import sys
import tempfile
import time

rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 200
offset = int(sys.argv[2]) if len(sys.argv) > 2 else 7300
binary = sys.argv[3] if len(sys.argv) > 3 else "build/app/vrn-controller"
root = tempfile.mkdtemp(prefix="vrn-recall-stress-")
proc = subprocess.Popen([binary, "--root", root, "--port-offset", str(offset)], stdout=subprocess.PIPE,
                        stderr=subprocess.STDOUT, text=True)


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

    # (mode, range, waveform, volts, hertz): M0 and M4 differ only in waveform, voltage and frequency.
    presets = [(1, 1, "SIN", 120, 60), (0, 1, "TRI", 80, 50), (1, 0, "SQU", 60, 400),
               (0, 0, "SIN", 95, 55), (1, 1, "TRI", 110, 65), (1, 1, "SIN", 70, 45)]
    for n, (mode, rng, wave, volts, hertz) in enumerate(presets):
        for cmd in (f"MODE {mode}", f"VOLT:RANG {rng}", f"FUNC {wave}", f"VOLT {volts}", f"FREQ {hertz}"):
            run(cmd)
            time.sleep(0.3)  # one setting at a time: the stored presets are what this script says
        run(f"*SAV {n}")

    lost = 0
    for i in range(rounds):
        how = random.choice(["scan", "rcl", "mixed"])
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
            scan(f"Recall M{n}")
            time.sleep(1.5 + 0.3 * burst)  # a scanned line takes about 0.1 s to type
        else:
            run(f"*RCL {n}")
            time.sleep(0.5)
        volts, hertz, mode = float(ask("VOLT?")), float(ask("FREQ?")), ask("MODE?")
        want = presets[n]
        if abs(volts - want[3]) > 0.05 or abs(hertz - want[4]) > 0.05:
            lost += 1
            print(f"round {i} {how} M{n}: VOLT {volts} FREQ {hertz} MODE {mode}, stored {want}", flush=True)
    print(f"{lost} of {rounds} recalls lost a setting")
    sock.close()
    sys.exit(1 if lost else 0)
finally:
    proc.terminate()
    proc.wait(15)
    shutil.rmtree(root, ignore_errors=True)
