#pragma once
// The server's side of websocket framing (RFC 6455): the frames it sends (never masked, header and
// payload in one piece so that each goes out in one write), and where one reply of the web channel ends
// in what the channel has committed, so that each reply goes out as one frame.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace web {

enum WebOpcode : uint8_t {
    kWsText = 0x1,
    kWsBinary = 0x2,
    kWsClose = 0x8,
    kWsPing = 0x9,
    kWsPong = 0xA
};

// One final frame of `opcode` carrying `payload`.
std::string WebFrame(uint8_t opcode, std::string_view payload);

// The status the server's close frame carries in answer to a client's close frame with `payload`: the
// client's own when a close frame may carry it, none when it gave none, 1002 (protocol error) when its
// status is one no close frame may carry (1005, 1006 and 1015 are for reports only; below 1000, 1004 and
// the unassigned 1016-2999 are none) or is cut short.
std::string WebCloseReply(std::string_view payload);

// The length of the first whole reply at the start of `out`: through the line feed that ends it, past
// the bytes of any definite-length block (#<n><length><data>) in it. 0 while
// the reply is not yet all there. *binary tells whether the reply holds a block: a block's bytes are
// not text, so it goes out in a binary frame.
size_t WebReplyLength(std::string_view out, bool* binary);

}  // namespace web
