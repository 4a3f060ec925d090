#!/usr/bin/python3
"""SCPI over the web server's websocket "/scpi" (port 80 + offset) against a running controller, with
python3-websocket as the client: the web channel keeps its own error queue beside the LAN channel's, a
second websocket is refused while the first is open, and a handshake from another site's page (its Origin)
is refused with 403. Exits 77 (skipped) when the websocket module is not
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
    ws.close()
    again = controller_harness.retry(lambda: websocket.create_connection(ctl.ws_url(), timeout=5))
    again.send("SYST:ERR?")
    controller_harness.check(failures, "a new websocket after the first left", again.recv(), '+0,"No error"\n')
    again.close()


if __name__ == "__main__":
    controller_harness.entry(session)
