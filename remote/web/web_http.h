#pragma once
// One HTTP server (a civetweb context) on an instrument port moved by the port offset, on all addresses:
// GET "/capture.jpg", POST "/webkey" and "/unlock", the web root's files, and on port 80 the websocket
// "/scpi" of the web channel.
#include <cstddef>

struct mg_context;

namespace web {

// The running server, or nullptr when the port cannot be taken (nothing is reported: the caller does).
mg_context* WebHttpStart(int instrumentPort, bool withScpi);
// Stops the server: its port is free and its worker threads have ended when this returns.
void WebHttpStop(mg_context* ctx);

// Sends one reply to a websocket client of the server as one frame, binary or text, in one write (the web
// channel's sender); false, and the connection ended, when it has not gone out within kWebSendWaitMs.
bool WebHttpSendFrame(void* client, const char* data, size_t length, bool binary);
// Asks a websocket client to close ("going away"): a server that stops waits for its worker, which sees
// the stop only once a frame (the client's answer) or its 2 s wait ends.
void WebHttpSendClose(void* client);
// True when the websocket client's connection has ended: its peer closed or reset it, or its descriptor
// is no longer that connection. Never waits.
bool WebHttpClientGone(void* client);

}  // namespace web
