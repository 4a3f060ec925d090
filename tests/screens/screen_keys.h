#pragma once
// Keys as the panel's key thread hands them to the dispatcher, and the message popup's free text.
#include <cstdint>
#include <string>
#include <vector>

#include "core/system/messaging/msg_ring.h"
#include "drivers/panel_link.h"
#include "screens/output/keys/key_table.h"

namespace screenkeys {

constexpr uint8_t kKnob = 213;

inline void Press(uint8_t code, uint8_t cls, int8_t delta = 0) {
    uint32_t ev = KeyEventPack(delta, code, cls);
    menuKeyDispatch(&ev);
}
inline void Knob(int8_t delta) {
    Press(kKnob, kClassCursor, delta);
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
