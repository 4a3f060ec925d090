// libFuzzer target of what the web server reads from outside: the "/webkey" query string, websocket text
// frames into the web channel's receive buffer, and a Range header; and the replies cut into frames. The
// first byte picks which. A query that is taken must give a code in 1-255 and a delta in -128..127; the
// frames (split at 0xFF bytes) must come out of the channel's read operation exactly as sent, each ended by
// one added line feed when it lacked one; replies are cut inside the bytes given, each at a line feed; a
// part of a file (its size the first byte's top five bits) must lie inside the file.
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "remote/web/web_channel.h"
#include "remote/web/web_frame.h"
#include "remote/web/web_key.h"
#include "remote/web/web_range.h"

namespace {

int g_client = 0;

void Frames(std::string_view input) {
    if (!web::WebClientClaim(&g_client)) std::abort();
    web::WebClientReady(&g_client);
    std::string want, got;
    while (!input.empty()) {
        const size_t cut = input.find('\xFF');
        // A frame longer than the buffer waits for the channel: the target reads between frames only.
        std::string_view frame = input.substr(0, std::min<size_t>(cut, web::kWebRxSize - 1));
        input = cut == std::string_view::npos ? std::string_view{} : input.substr(cut + 1);
        if (!web::WebClientFrame(&g_client, frame.data(), frame.size())) std::abort();
        want.append(frame);
        if (frame.empty() || frame.back() != '\n') want += '\n';
        char buffer[300];
        for (int n; (n = web::kWebIoOps.read(buffer, sizeof buffer, 0)) > 0;)
            got.append(buffer, static_cast<size_t>(n));
    }
    web::WebClientLeave(&g_client);
    if (got != want) std::abort();
}

void Replies(std::string_view out) {
    bool binary = false;
    for (size_t length; (length = web::WebReplyLength(out, &binary)) > 0;) {
        if (length > out.size() || out[length - 1] != '\n') std::abort();
        out.remove_prefix(length);
    }
}

void Range(std::string_view header, uint64_t size) {
    const web::ByteRange range = web::ParseByteRange(header, size);
    if (range.kind == web::ByteRange::kPart && !(range.first <= range.last && range.last < size)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        Frames(rest);
        return 0;
    }
    if (data[0] & 2) {
        Replies(rest);
        return 0;
    }
    if (data[0] & 4) {
        Range(rest, data[0] >> 3);
        return 0;
    }
    web::WebKey key{};
    if (web::ParseWebKeyQuery(rest, &key) && key.code == 0) std::abort();
    return 0;
}
