#pragma once
// A websocket client's side of RFC 6455 over a TcpClient, for tests of the web server's "/scpi".
#include <cstdint>
#include <string>

#include "tests/support/tcp_client.h"

namespace testsupport {

// The status line of a websocket handshake for "/scpi", its headers read.
std::string WsUpgrade(TcpClient& ws);

// A final client frame, masked as a client must mask it (or not, to test the server).
std::string WsClientFrame(uint8_t opcode, const std::string& payload, bool masked = true);

struct WsFrame {
    int header = -1;  // first byte (FIN and opcode), -1 when none came
    std::string payload;
};
WsFrame WsReadFrame(TcpClient& ws, int timeoutMs = 3000);

}  // namespace testsupport
