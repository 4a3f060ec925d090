#!/usr/bin/python3
"""A real SCPI client against a running controller: pyvisa with the pyvisa-py backend opens
TCPIP::127.0.0.1::<port>::SOCKET and talks to the simulated instrument (the sessions, the restart port
and departing clients are the C++ system tests' part); the memory transfers (scpi_data_pyvisa.py) and the
RS232 channel (rs232_pyvisa.py) follow on the same controller, with a SEQUENCE programmed and stored right
after entering it (seq_program_pyvisa.py). Exits 77 (skipped) when pyvisa or
pyvisa-py is not installed (Debian: python3-pyvisa, python3-pyvisa-py)."""
import os
import sys

try:
    import pyvisa
    import pyvisa_py  # noqa: F401  (the backend behind "@py")
except ImportError:
    print("skipped: pyvisa and pyvisa-py are not installed (python3-pyvisa, python3-pyvisa-py)")
    sys.exit(77)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import controller_harness  # noqa: E402

IDN = "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06"
# (what the client writes, the query whose answer is checked, the answer): pyvisa's framing of replies,
# errors and set commands; the values behind them are the C++ socket suites' tables.
STEPS = [
    (None, "*IDN?", IDN),
    (None, "*IDN?;*STB?", IDN + ";+0"),  # the queries of a message answer on one line
    ("VOLTA 100", "SYST:ERR?", '-113,"Undefined header"'),
    (None, "SYST:ERR?", '+0,"No error"'),
    ("", "*OPC?", "1"),  # an empty line does nothing
    (None, "VOLT 123.4;*SAV 3;VOLT 50;*RCL 3;VOLT?", "+123.4000"),  # set commands through the menu/control thread
]


def run(inst, steps, failures):
    """Each step: (what the client writes, the query whose answer is checked, the answer)."""
    for write, query, answer in steps:
        if write is not None:
            inst.write(write)
        got = inst.query(query)
        ok = got == answer
        print(f"{'ok  ' if ok else 'FAIL'} {write!r} {query}: {got!r}")
        if not ok:
            failures.append(f"{write!r} {query}: got {got!r}")


def entry(session):
    """Runs session(inst, root, failures) over a pyvisa SOCKET resource on the LAN socket of a controller on a
    fresh root, as a test program (controller_harness.entry)."""
    def over_pyvisa(ctl, failures):
        rm = pyvisa.ResourceManager("@py")
        # pyvisa's default write termination (CR LF), as a script that does not set it.
        inst = rm.open_resource(f"TCPIP::127.0.0.1::{5025 + ctl.offset}::SOCKET", read_termination="\n",
                                timeout=10000)
        try:
            session(inst, ctl.root, failures)
        finally:
            inst.close()
            rm.close()

    # The panel up as well: a SEQUENCE entered before the start-up is over is prepared only after it.
    controller_harness.entry(over_pyvisa, ready=lambda offset: (f"SCPI socket listening on port {5025 + offset}",
                                                                "GuiThread: system ready"))


def sessions(inst, root, failures):
    """The steps, then the memory transfers and the RS232 channel beside the LAN socket, on one controller;
    the RS232 session is skipped without pyserial."""
    run(inst, STEPS, failures)
    import scpi_data_pyvisa
    scpi_data_pyvisa.session(inst, root, failures)
    import seq_program_pyvisa
    seq_program_pyvisa.session(inst, root, failures)
    try:
        import rs232_pyvisa
    except SystemExit:
        print("skipped: the RS232 session needs pyserial (python3-serial)")
        return
    rs232_pyvisa.session(inst, root, failures)


if __name__ == "__main__":
    entry(sessions)
