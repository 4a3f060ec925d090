#include "remote/web/web_key.h"

#include "drivers/panel_link.h"
#include "panel/keys/key_thread.h"

namespace web {
namespace {

constexpr int kCodeMin = 1, kCodeMax = 255;
constexpr int kDeltaMin = -128, kDeltaMax = 127;
constexpr size_t kMaxDigits = 4;  // more digits than any value in range needs

bool ParseInt(std::string_view text, int* value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > kMaxDigits) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *value = negative ? -v : v;
    return true;
}

}  // namespace

bool ParseWebKeyQuery(std::string_view query, WebKey* key) {
    bool haveCode = false, haveDelta = false;
    int code = 0, delta = 0;
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        const size_t eq = pair.find('=');
        const std::string_view name = pair.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1);
        if (name == "code") {
            if (haveCode || !ParseInt(value, &code)) return false;
            haveCode = true;
        } else if (name == "delta") {
            if (haveDelta || !ParseInt(value, &delta)) return false;
            haveDelta = true;
        }
    }
    if (!haveCode || code < kCodeMin || code > kCodeMax || delta < kDeltaMin || delta > kDeltaMax) return false;
    key->code = static_cast<uint8_t>(code);
    key->delta = static_cast<int8_t>(delta);
    return true;
}

int WebKeyPost(std::string_view query) {
    WebKey key{};
    if (!ParseWebKeyQuery(query, &key)) return 400;
    return KeyEventPost(KeyCode_SetClass(KeyEventPack(key.delta, key.code, 0))) == 0 ? 200 : 503;
}

}  // namespace web
