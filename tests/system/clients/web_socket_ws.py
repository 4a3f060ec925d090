#!/usr/bin/python3
"""SCPI over the web server's websocket "/scpi" (port 80 + offset) against a running controller, with
python3-websocket as the client: the web channel keeps its own error queue beside the LAN channel's, a
second websocket is refused while the first is open, a handshake from another site's page (its Origin)
is refused with 403, a block reply comes whole in one binary frame with the next reply right behind it, and
a ping gets its pong. Exits 77 (skipped) when the websocket module is not
installed (Debian: python3-websocket)."""
import sys

try:
    import websocket
except ImportError:
    print("skipped: the websocket module is not installed (python3-websocket)")
    sys.exit(77)

import controller_harness


def session(ctl, failures):
    try:
        websocket.create_connection(ctl.ws_url(), timeout=5, origin="http://evil.example").close()
        failures.append("a websocket from another origin was accepted")
    except websocket.WebSocketBadStatusException as e:
        controller_harness.check(failures, "another origin's handshake", e.status_code, 403)
    ws = websocket.create_connection(ctl.ws_url(), timeout=10)
    ws.send("DATA:SEQ? 0")
    # A refused query is answered with an empty line; the error queue says why.
    controller_harness.check(failures, "websocket refused query", ws.recv(), "\n")
    ws.send("SYST:ERR?")
    controller_harness.check(failures, "websocket SYST:ERR?", ws.recv(), '-292,"Referenced name does not exist"\n')
    controller_harness.check(failures, "LAN SYST:ERR?", ctl.lan("SYST:ERR?"), '+0,"No error"')
    try:
        second = websocket.create_connection(ctl.ws_url(), timeout=5)
        second.close()
        failures.append("a second websocket was accepted while the first was open")
    except (websocket.WebSocketException, OSError) as e:
        print(f"ok   second websocket refused ({type(e).__name__})")
    # One message in two fragments.
    ws.send_frame(websocket.ABNF.create_frame("*ESE?;", websocket.ABNF.OPCODE_TEXT, fin=0))
    ws.send_frame(websocket.ABNF.create_frame("*STB?", websocket.ABNF.OPCODE_CONT, fin=1))
    controller_harness.check(failures, "first websocket still served", ws.recv(), "+0;+0\n")
    # A memory file: "#48260", the file's 8260 bytes and the line feed, all in one binary frame.
    ws.send("DATA:ARB:FILE? 1")
    opcode, data = ws.recv_data()
    controller_harness.check(failures, "block reply frame", opcode, websocket.ABNF.OPCODE_BINARY)
    controller_harness.check(failures, "block reply head and size", (data[:6], len(data), data[-1:]),
                             (b"#48260", 6 + 8260 + 1, b"\n"))
    ws.send("*ESE?")
    controller_harness.check(failures, "the reply after the block", ws.recv_data(), (websocket.ABNF.OPCODE_TEXT, b"+0\n"))
    ws.ping("vrn")
    controller_harness.check(failures, "pong", ws.recv_data(control_frame=True),
                             (websocket.ABNF.OPCODE_PONG, b"vrn"))
    ws.close()
    again = controller_harness.retry(lambda: websocket.create_connection(ctl.ws_url(), timeout=5))
    again.send("SYST:ERR?")
    controller_harness.check(failures, "a new websocket after the first left", again.recv(), '+0,"No error"\n')
    again.close()


if __name__ == "__main__":
    controller_harness.entry(session)
