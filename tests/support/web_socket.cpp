#include "tests/support/web_socket.h"

namespace testsupport {

std::string WsUpgrade(TcpClient& ws) {
    ws.Send(
        "GET /scpi HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\nHost: x\r\n\r\n");
    const std::string status = ws.ReadLine();
    for (std::string header = ws.ReadLine(); header != "\r\n" && !header.empty();)
        header = ws.ReadLine();
    return status;
}

std::string WsClientFrame(uint8_t opcode, const std::string& payload, bool masked) {
    std::string frame(1, static_cast<char>(0x80 | opcode));
    const char maskBit = masked ? static_cast<char>(0x80) : 0;
    if (payload.size() < 126) {
        frame += static_cast<char>(maskBit | static_cast<char>(payload.size()));
    } else {
        frame += static_cast<char>(maskBit | 126);
        frame += static_cast<char>(payload.size() >> 8);
        frame += static_cast<char>(payload.size() & 0xFF);
    }
    const char mask[4] = {0x12, 0x34, 0x56, 0x78};
    if (masked) frame.append(mask, 4);
    for (size_t i = 0; i < payload.size(); ++i)
        frame += masked ? static_cast<char>(payload[i] ^ mask[i % 4]) : payload[i];
    return frame;
}

WsFrame WsReadFrame(TcpClient& ws, int timeoutMs) {
    WsFrame frame;
    const std::string head = ws.ReadBytes(2, timeoutMs);
    if (head.size() < 2) return frame;
    frame.header = static_cast<uint8_t>(head[0]);
    uint64_t length = static_cast<uint8_t>(head[1]) & 0x7F;
    if (length >= 126) {
        const std::string more = ws.ReadBytes(length == 126 ? 2 : 8, timeoutMs);
        length = 0;
        for (char c : more)
            length = length << 8 | static_cast<uint8_t>(c);
    }
    frame.payload = ws.ReadBytes(length, timeoutMs);
    return frame;
}

}  // namespace testsupport
