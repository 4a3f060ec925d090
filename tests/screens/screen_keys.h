#pragma once
// Keys as the panel's key thread hands them to the dispatcher, and the message popup's free text.
#include <cstdint>
#include <string>
#include <vector>

#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "drivers/panel_link.h"
#include "screens/output/keys/key_table.h"

namespace screenkeys {

inline void Press(uint8_t code, uint8_t cls, int8_t delta = 0) {
    uint32_t ev = KeyEventPack(delta, code, cls);
    menuKeyDispatch(&ev);
}
inline void Knob(int8_t delta) {
    Press(kKeyKnob, kClassCursor, delta);
}
// Keypad keys from a text, each handed to `key`: digits, '.' the point, '-' the sign (SHIFT, then the
// point key).
inline void Type(const std::string& text, void (*key)(uint8_t) = [](uint8_t code) { Press(code, kClassKeypad); }) {
    for (char c : text) {
        if (c == '-') g_ParamFlags.fetch_or(core::kFlagShiftLatched);
        key(c >= '0' && c <= '9' ? static_cast<uint8_t>(kKeyDigit0 + (c - '0')) : uint8_t{kKeyPoint});
    }
}
inline std::string Popup() {
    char text[256] = {};
    MsgQueue_CopyText(text, sizeof text);
    return text;
}
// The messages posted since the last call, oldest first: numbered ones by their id, free texts by their text.
inline std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (uint32_t id = 0; MsgQueue_Pop(&id) == 0;)
        out.push_back(id >= 5 && id <= 8 ? Popup() : std::to_string(id));
    return out;
}

}  // namespace screenkeys
