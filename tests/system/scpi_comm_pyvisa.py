#!/usr/bin/python3
"""The SYSTem units and ZCALib commands through a real SCPI client (pyvisa with the pyvisa-py backend), on
the harness of lan_scpi_pyvisa.py: a controller on a fresh root (model type 1) over
TCPIP::127.0.0.1::<port>::SOCKET. The model type change ends in a reboot: the controller is then started
again on the same root. Exits 77 (skipped) without pyvisa."""
import os
import sys
import shutil
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

ERR = "SYST:ERR?"
NONE = '+0,"No error"'
UNDEFINED = '-113,"Undefined header"'
INVALID = '-151,"Invalid string data"'
EXECUTION = '-200,"Execution error"'
PROTECTED = '-203,"Command protected"'
CONFLICT = '-221,"Settings conflict"'
RANGE = '-222,"Data out of range"'
# (what the client writes, the query whose answer is checked, the answer or a check of it)
# The units setting (the C++ socket suites cover the communication, barcode and interface commands).
STEPS = [
    (None, "SYST:ACV:UNIT?;:SYST:VUN?", "+0;+0"),
    ("SYST:ACV:UNIT 2", ERR, RANGE),
    ("SYST:ACV:UNIT -1", ERR, RANGE),
    (None, "SYST:CONF:MODE SEQ;:SYST:CONF?", "SEQ"),
    ("SYST:ACV:UNIT VPP", ERR, EXECUTION),
    (None, "SYST:CONF:MODE CONT;:SYST:CONF?", "CONT"),
    (None, "SYST:VUN P-P;:SYST:ACV:UNIT?", "+1"),
    (None, "SYST:ACV:UNIT VRMS;UNIT?", "+0"),
]
# The factory's commands; the model type change runs the factory default and ends in a reboot.
ZCAL_STEPS = [
    ('ZCAL:MAC "00-22-24-AB-CD-EF"', ERR, PROTECTED),
    ('ZCAL:APAS "KQV517"', ERR, CONFLICT),
    ('ZCAL:APAS "kqv5"', ERR, CONFLICT),
    ('ZCAL:APAS "kqv517"', ERR, NONE),
    ('ZCAL:MAC "00:22:24:AB:CD:EF"', ERR, INVALID),
    ('ZCAL:MAC "00-22-24-AB-CD-EF"', "SYST:COMM:LAN:MAC?", "00-22-24-AB-CD-EF"),
    (None, 'ZCAL:PROG "ABCDEFGHIJKLMNOPQRST";*IDN?', "QX-ORVANE,VRN-4145,ABCDEFGHIJKLMNO,1.06"),
    ('ZCAL:PROG "AB\tC"', ERR, INVALID),
    (None, 'ZCAL:MFRS "tulve";*IDN?', lambda got: got.startswith("TULVE TECHNOLOGY,")),
    ('ZCAL:MFRS "acme"', ERR, INVALID),
    (None, "ZCAL:MFRS:QX;*IDN?", lambda got: got.startswith("QX-ORVANE,")),
    ('ZCAL:MTYP "123456789012"', ERR, INVALID),
    ("ZCAL:MTYP?", ERR, UNDEFINED),
    ('ZCAL:MTYP "4160"', "*OPC?", "1"),
]
# After the reboot, on the same root.
AFTER_RESTART = [
    (None, "*IDN?", "QX-ORVANE,VRN-4160,ABCDEFGHIJKLMNO,1.06"),
    ('ZCAL:PROG "SN-2"', ERR, NONE),  # the factory access outlives the restart
]


def commands(root):
    with open(os.path.join(root, "var", "log", "commands.log"), errors="replace") as log:
        return log.read().splitlines()


def wait_for_reboot(root):
    """The reboot is recorded by the command sandbox once the restart save has run: a bounded wait."""
    until = time.monotonic() + 20
    while not any(line.rstrip().endswith("reboot") for line in commands(root)):
        if time.monotonic() > until:
            return False
        time.sleep(0.1)
    return True


def session(inst, root, failures):
    harness.run(inst, STEPS, failures)
    harness.run(inst, ZCAL_STEPS, failures)
    if not any("ifconfig eth0 hw ether 00:22:24:AB:CD:EF" in line for line in commands(root)):
        failures.append("ZCAL:MAC: no ifconfig line in the command log")
    if not wait_for_reboot(root):
        failures.append("ZCAL:MTYP: no reboot in the command log")
    # Kept for the second start (the harness removes its folder when the controller stops), without the
    # pipes the running controller had.
    shutil.copytree(root, KEPT, symlinks=True, ignore=lambda folder, names: [
        n for n in names if not any(test(os.path.join(folder, n)) for test in (os.path.isdir, os.path.isfile))])


def restarted(inst, root, failures):
    harness.run(inst, AFTER_RESTART, failures)


KEPT = os.path.join(tempfile.mkdtemp(prefix="vrn-comm-pyvisa-", dir=os.environ.get("TMPDIR")), "root")

if __name__ == "__main__":
    failures = []
    try:
        harness.main(failures, session)
        if not failures:
            harness.main(failures, restarted, root_from=KEPT)
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        print(f"FAIL {type(e).__name__}: {e}")
    shutil.rmtree(os.path.dirname(KEPT), ignore_errors=True)
    for f in failures:
        print("FAIL", f)
    sys.exit(1 if failures else 0)
