#pragma once
// The web channel "UNIX SOCKET" (g_ScpiIfWeb, channel id 12): SCPI over one websocket client at a time.
// Each text frame is a program message (a line feed is added when it lacks one) that goes into a
// 1024-byte receive buffer; each reply goes back as one frame, binary when it holds a block. The port-80
// thread runs the channel's passes as the LAN session does; the server's worker threads only hand over
// the frames and the client's arrival and departure.
#include <cstddef>
#include <cstdint>

#include "scpi/channels/scpi_interface.h"
#include "scpi/parser/scpi_parse_state.h"

namespace web {

constexpr uint32_t kWebRxSize = 1024;
constexpr char kWebChannelName[] = "UNIX SOCKET";
// Longest a frame waits for room in the receive buffer before its client is dropped.
constexpr uint32_t kWebFrameWaitMs = 10000;
// The longest frame, and the longest message in fragments: as much as one command's data can hold. A
// longer one closes its client before any of it is taken.
constexpr size_t kWebMessageMax = kScpiDataAreaSize;
// A client that has sent no frame for this long gives its place to a newcomer.
constexpr uint64_t kWebIdleHandOverMs = 30000;
// A frame that has not gone out whole within this drops its client: one that stops reading holds the
// channel no longer.
constexpr uint32_t kWebSendWaitMs = 2000;

// How the channel reaches its client: one reply as one frame, binary when it holds a block (false when
// it could not go out whole within kWebSendWaitMs: the link has then ended the connection), and the
// request to close that a replaced client and a stopping server get, never called under the channel's
// lock; and whether the client's connection has ended (its peer closed or reset it) before the server
// has seen it leave, called under the lock and never waiting.
struct ClientLink {
    bool (*send)(void* client, const char* data, size_t length, bool binary);
    void (*close)(void* client);
    bool (*gone)(void* client);
};

// init, write, read, control and close; no open and no deinit.
extern const ScpiIoOps kWebIoOps;

// Port-80 thread, at its start: a command still with the menu/control thread is waited for, then the
// channel starts afresh (status block, parser, error queue, empty queues); replies go out through link.
void WebChannelStart(const ClientLink& link);
// Port-80 thread: the mailbox, then the channel's passes while the client's bytes wait to be parsed;
// returns when the parser waits for input that has not come within waitMs, or after waitMs.
void WebChannelServe(uint32_t waitMs);
// Port-80 thread, before the server stops: frames still waiting for room give up, and the client is asked
// to close.
void WebChannelStopping();
// Port-80 thread, once the server has stopped: what the last client left is dropped.
void WebChannelEnd();

// Server side. At the handshake: true when `client` becomes the one client (false: refuse it). An idle
// client (kWebIdleHandOverMs) is asked to close and loses its place, its input and its session; one whose
// connection has ended loses them as well, so that a client that left abruptly does not turn away the
// newcomer right behind it.
bool WebClientClaim(const void* client);
// The handshake is done: replies may go to the client. False when the server is stopping: the client is
// to be asked to close (the stopping server asked only the clients it knew as ready).
bool WebClientReady(void* client);
// A text frame from the client; `final` is clear for all but the last frame of a message sent in
// fragments, whose line feed comes after the last one. False when its client must be closed (it is not the
// client, or the frame found no room within kWebFrameWaitMs, or it or its message passes kWebMessageMax,
// or the server stops).
bool WebClientFrame(const void* client, const char* data, size_t length, bool final = true);
// The client has gone: its pending input and output are dropped.
void WebClientLeave(const void* client);

}  // namespace web
