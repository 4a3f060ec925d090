#pragma once
// POST "/webkey?code=N[&delta=D]": a front-panel key from the browser, posted to the key mailbox with the
// class its code gives it, through the same filters as the panel's own keys.
#include <cstdint>
#include <string_view>

namespace web {

struct WebKey {
    uint8_t code;
    int8_t delta;
};

// The query string's code (1-255, required) and delta (-128..127, 0 when absent), decimal digits with an
// optional sign. False for anything else: a missing, repeated, empty or out-of-range value.
bool ParseWebKeyQuery(std::string_view query, WebKey* key);

// 200 when the key is posted, 503 when the mailbox still holds a key, 400 when the query is refused
// (nothing is posted).
int WebKeyPost(std::string_view query);

}  // namespace web
