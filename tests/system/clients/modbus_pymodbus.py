#!/usr/bin/python3
"""A real Modbus TCP client against a running controller: pymodbus's ModbusTcpClient reads and writes
holding register 0 (the panel's key lock), two clients connected at once are both answered, and
functions the server does not serve get their exception without costing the client its connection. Exits 77
(skipped) when pymodbus is not installed (Debian: python3-pymodbus)."""
import os
import sys

try:
    from pymodbus.client import ModbusTcpClient
except ImportError:
    print("skipped: pymodbus is not installed (python3-pymodbus)")
    sys.exit(77)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import controller_harness  # noqa: E402


def session(ctl, failures):
    port = 502 + ctl.offset
    a = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    b = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    controller_harness.check(failures, "connect a", a.connect(), True)
    controller_harness.check(failures, "connect b", b.connect(), True)
    controller_harness.check(failures, "read", a.read_holding_registers(0, 1).registers, [0])
    controller_harness.check(failures, "write 1", a.write_register(0, 1).isError(), False)
    controller_harness.check(failures, "read after the write", a.read_holding_registers(0, 1).registers, [1])
    # Both connections open: each is answered, in turn.
    for n in range(3):
        controller_harness.check(failures, f"b read {n}", b.read_holding_registers(0, 1).registers, [1])
        controller_harness.check(failures, f"a read {n}", a.read_holding_registers(0, 1).registers, [1])
    controller_harness.check(failures, "write 0 from b", b.write_register(0, 0).isError(), False)
    controller_harness.check(failures, "a reads b's write", a.read_holding_registers(0, 1).registers, [0])
    # Not served: exception 01 for the function, 02 for the coil that does not exist; the next read goes on.
    for what, ask, code in (("read exception status", a.read_exception_status, 1),
                            ("diagnostics", a.diag_read_bus_message_count, 1),
                            ("coil", lambda: a.read_coils(0, 1), 2)):
        r = ask()
        controller_harness.check(failures, what, (r.isError(), getattr(r, "exception_code", None)), (True, code))
    controller_harness.check(failures, "read after them", a.read_holding_registers(0, 1).registers, [0])
    a.close()
    b.close()


if __name__ == "__main__":
    controller_harness.entry(session, ready=lambda offset: (f"ModbusThread: listening on port {502 + offset}",))
