"""The RS232 channel through a real client: pyvisa's ASRL<client pty>::INSTR on the client side of the
ttyS1 stand-in (from <root>/var/run/ports), beside the LAN socket: the session lan_scpi_pyvisa.py runs last,
on its controller (a fresh root, RS232 on at 9600 8N1). Prints the median RS232 "*IDN?" round trip.
Importing it exits 77 when pyserial is not installed."""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lan_scpi_pyvisa as harness  # noqa: E402  (exits 77 without pyvisa)

try:
    import serial  # noqa: F401  (pyvisa-py's ASRL transport)
except ImportError:
    print("skipped: pyserial is not installed (python3-serial)")
    sys.exit(77)

import pyvisa  # noqa: E402

ROUND_TRIPS = 100
check = harness.controller_harness.check


def open_rs232(rm, client):
    return rm.open_resource(f"ASRL{client}::INSTR", baud_rate=9600, data_bits=8, read_termination="\n",
                            timeout=10000)


def first_answer(inst, query):
    """The channel opens its port once the stored settings are loaded, which may be after the LAN socket
    listens, and drops what arrived before: the first query is asked again until answered (bounded)."""
    inst.timeout = 1000
    try:
        for _ in range(30):
            try:
                return inst.query(query)
            except pyvisa.errors.VisaIOError:
                pass
        return None
    finally:
        inst.timeout = 10000


def session(lan, root, failures):
    with open(os.path.join(root, "var", "run", "ports")) as f:
        ports = dict(line.split() for line in f if line.strip())
    rm = pyvisa.ResourceManager("@py")
    rs232 = open_rs232(rm, ports["ttyS1"])
    try:
        identity = lan.query("*IDN?")
        check(failures, "RS232 *IDN?", first_answer(rs232, "*IDN?"), identity)
        # Each channel keeps its own error queue.
        rs232.write("VOLTA 100")
        check(failures, "RS232 VOLTA 100, LAN SYST:ERR?", lan.query("SYST:ERR?"), '+0,"No error"')
        check(failures, "RS232 SYST:ERR?", rs232.query("SYST:ERR?"), '-113,"Undefined header"')
        # A set command on RS232 changes what every channel sees. The LAN's own setting is done first: two
        # channels' commands are taken in whatever order they reach the menu/control thread.
        check(failures, "LAN VOLT 50; *OPC?", lan.query("VOLT 50;*OPC?"), "1")
        rs232.write("VOLT 100")
        check(failures, "RS232 VOLT 100; *OPC?", rs232.query("*OPC?"), "1")
        check(failures, "LAN VOLT?", lan.query("VOLT?"), "+100.0000")
        # A client that leaves and comes back is served.
        rs232.close()
        rs232 = open_rs232(rm, ports["ttyS1"])
        check(failures, "RS232 *IDN? after reopening", rs232.query("*IDN?"), identity)
        times = []
        for _ in range(ROUND_TRIPS):
            start = time.perf_counter()
            rs232.query("*IDN?")
            times.append(time.perf_counter() - start)
        print(f"RS232 *IDN? round trip over {ROUND_TRIPS}: median {statistics.median(times) * 1000:.2f} ms, "
              f"min {min(times) * 1000:.2f} ms, max {max(times) * 1000:.2f} ms")
    finally:
        rs232.close()
        rm.close()

