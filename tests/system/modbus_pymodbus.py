#!/usr/bin/python3
"""A real Modbus TCP client against a running controller: pymodbus's ModbusTcpClient reads and writes
holding register 0 (the panel's key lock), and two clients connected at once are both answered. Exits 77
(skipped) when pymodbus is not installed (Debian: python3-pymodbus)."""
import ctypes
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

try:
    from pymodbus.client import ModbusTcpClient
except ImportError:
    print("skipped: pymodbus is not installed (python3-pymodbus)")
    sys.exit(77)


def port_offset():
    """The test programs' port offset (tests/support): 10000 + 13k, the first from the process id whose
    five ports are all free."""
    for i in range(1300):
        offset = 10000 + 13 * ((os.getpid() + i) % 1300)
        try:
            for port in (80, 81, 502, 5025, 5030):
                with socket.socket() as s:
                    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
                    s.bind(("", port + offset))
            return offset
        except OSError:
            continue
    return 10000 + 13 * (os.getpid() % 1300)


def remove_left_queue(log_path):
    """Removes the message queue a killed controller left."""
    with open(log_path, errors="replace") as f:
        m = re.search(r"message queue: id (\d+) key 0x([0-9a-f]+)", f.read())
    if not m:
        return
    libc = ctypes.CDLL(None, use_errno=True)
    key = ctypes.c_int32(int(m.group(2), 16) & 0xFFFFFFFF).value
    if libc.msgget(key, 0) == int(m.group(1)):
        libc.msgctl(int(m.group(1)), 0, None)  # IPC_RMID


def check(failures, what, got, want):
    ok = got == want
    print(f"{'ok  ' if ok else 'FAIL'} {what}: {got!r}")
    if not ok:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def session(port, failures):
    a = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    b = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    check(failures, "connect a", a.connect(), True)
    check(failures, "connect b", b.connect(), True)
    check(failures, "read", a.read_holding_registers(0, 1).registers, [0])
    check(failures, "write 1", a.write_register(0, 1).isError(), False)
    check(failures, "read after the write", a.read_holding_registers(0, 1).registers, [1])
    # Both connections open: each is answered, in turn.
    for n in range(3):
        check(failures, f"b read {n}", b.read_holding_registers(0, 1).registers, [1])
        check(failures, f"a read {n}", a.read_holding_registers(0, 1).registers, [1])
    check(failures, "write 0 from b", b.write_register(0, 0).isError(), False)
    check(failures, "a reads b's write", a.read_holding_registers(0, 1).registers, [0])
    a.close()
    b.close()


def main(failures):
    build = os.environ.get("VRN_BUILD_DIR", "build")
    offset = port_offset()
    folder = tempfile.mkdtemp(prefix="vrn-modbus-", dir=os.environ.get("TMPDIR"))
    log_path = os.path.join(folder, "output.txt")
    os.mkdir(os.path.join(folder, "work"))
    with open(log_path, "w") as log:
        controller = subprocess.Popen(
            [os.path.join(build, "app", "vrn-controller"), "--root", os.path.join(folder, "root"),
             "--port-offset", str(offset)],
            stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, cwd=os.path.join(folder, "work"),
            start_new_session=True)
    try:
        until = time.monotonic() + 120
        ready = f"ModbusThread: listening on port {502 + offset}"
        while ready not in open(log_path, errors="replace").read():
            if time.monotonic() > until or controller.poll() is not None:
                raise RuntimeError("the controller did not start its Modbus server")
            time.sleep(0.02)
        session(502 + offset, failures)
    finally:
        controller.terminate()
        try:
            controller.wait(30)
        except subprocess.TimeoutExpired:
            controller.kill()
            controller.wait()
        if controller.returncode != 0:
            failures.append(f"the controller ended with status {controller.returncode}")
            remove_left_queue(log_path)
        if failures:
            with open(log_path, errors="replace") as f:
                print("controller output:\n" + f.read())
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    failures = []
    try:
        main(failures)
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        print(f"FAIL {type(e).__name__}: {e}")
    sys.exit(1 if failures else 0)
