#pragma once
// SCPI over raw TCP: a listening socket on port 5025 takes one client at a time, and the session
// thread feeds the client's bytes to the LAN channel (g_ScpiIfLan) and sends its replies back. A
// listener on port 5030 exists only to request a restart of the LAN service.
#include <cstdint>

#include "scpi/channels/scpi_interface.h"

namespace scpi {

constexpr int kLanScpiPort = 5025;
constexpr int kLanRestartPort = 5030;
constexpr uint32_t kLanRxSize = 1024;

// A TCP socket listening on all addresses at `port` (SO_REUSEADDR only, so that a connection of an
// earlier listener in TIME_WAIT does not keep it out, while a port another process listens on does),
// backlog 200 (a burst of clients waits in it). Its descriptor, or 0 when it cannot be created, bound or made listening (errno tells why).
int LanListen(int port);

// Takes the SCPI and restart ports (moved by the port offset) at start, before any thread runs, so that
// a second controller with the same offset is refused at once instead of sharing or waiting for them.
// The LAN threads' first listeners are these sockets. Returns 0, or the port it could not listen on
// (errno tells why; nothing is kept then).
int LanClaimPorts();
// The listener for `port`: the socket taken at start when it is still unused, otherwise a new one as
// LanListen makes it.
int LanTakeListener(int port);

// The LAN channel's port operations: open makes the listening socket (any previous client and listener
// are closed first) and returns its descriptor, 0 on failure; read hands out the bytes received from
// the client; write and control go to the channel's transmit queue.
extern const ScpiIoOps kLanIoOps;

// Session thread, at its start: a command still with the menu/control thread is waited for, then the
// channel starts afresh (status block, parser, error queue, empty queues).
void LanChannelStart();
// Accept thread: takes one connection from the listening socket (waiting for it a little); it becomes
// the client when none is connected, the next client when the one connected has hung up and its
// session is still ending (in a line of 4, from which connections that left without a word give way to
// it), otherwise it is closed at once.
void LanAcceptOne();
bool LanClientConnected();
// Session thread, between sessions: waits until the accept thread hands over a client or waitMs pass.
void LanWaitForClient(uint32_t waitMs);
// A LAN restart is requested: the accept and session threads end at their next wait (the supervisor
// joins them and makes them again).
bool LanRestartRequested();
// Session thread: serves the connected client until it leaves, a send fails or the interface threads
// are stopped or restarted; then its socket is closed, the channel's pending input and output are
// dropped and a connection waiting as the next client becomes the client.
void LanServeClient();

}  // namespace scpi
