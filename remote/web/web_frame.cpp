#include "remote/web/web_frame.h"

namespace web {
namespace {

constexpr uint8_t kFinal = 0x80;
constexpr uint8_t kLength16 = 126;  // the length follows in 2 bytes
constexpr uint8_t kLength64 = 127;  // the length follows in 8 bytes
constexpr size_t kShortMax = 125;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr size_t kCloseStatusSize = 2;  // a close frame's status code leads its data
constexpr char kProtocolError[] = {0x03, static_cast<char>(0xEA)};  // 1002

// Codes a close frame may carry: the protocol's own that are not for reports only, and those of
// registered extensions and applications (3000-4999).
bool Sendable(unsigned code) {
    return (code >= 1000 && code <= 1003) || (code >= 1007 && code <= 1014) || (code >= 3000 && code <= 4999);
}

}  // namespace

std::string WebCloseReply(std::string_view payload) {
    if (payload.empty()) return "";
    if (payload.size() >= kCloseStatusSize) {
        const unsigned code =
            (static_cast<unsigned>(static_cast<uint8_t>(payload[0])) << 8) | static_cast<uint8_t>(payload[1]);
        if (Sendable(code)) return std::string(payload.substr(0, kCloseStatusSize));
    }
    return std::string(kProtocolError, sizeof kProtocolError);
}

std::string WebFrame(uint8_t opcode, std::string_view payload) {
    std::string frame;
    frame.reserve(payload.size() + 10);
    frame += static_cast<char>(kFinal | opcode);
    const uint64_t length = payload.size();
    if (length <= kShortMax) {
        frame += static_cast<char>(length);
    } else if (length <= 0xFFFF) {
        frame += static_cast<char>(kLength16);
        for (int shift = 8; shift >= 0; shift -= 8)
            frame += static_cast<char>((length >> shift) & 0xFF);
    } else {
        frame += static_cast<char>(kLength64);
        for (int shift = 56; shift >= 0; shift -= 8)
            frame += static_cast<char>((length >> shift) & 0xFF);
    }
    frame.append(payload);
    return frame;
}

size_t WebReplyLength(std::string_view out, bool* binary) {
    *binary = false;
    size_t i = 0;
    while (i < out.size()) {
        const char c = out[i];
        if (c == '\n') {
            return i + 1;
        } else if (c == '#' && i + 1 < out.size() && out[i + 1] >= '1' && out[i + 1] <= '9') {
            const size_t digits = static_cast<size_t>(out[i + 1] - '0');
            if (i + 2 + digits > out.size()) return 0;
            uint64_t length = 0;
            bool number = true;
            for (size_t k = 0; k < digits; ++k) {
                const char d = out[i + 2 + k];
                number = number && IsDigit(d);
                length = length * 10 + static_cast<uint64_t>(d - '0');
            }
            if (number) {
                const size_t start = i + 2 + digits;
                if (length > out.size() - start) return 0;
                *binary = true;
                i = start + static_cast<size_t>(length);
                continue;
            }
        }
        ++i;
    }
    return 0;
}

}  // namespace web
