#pragma once
// What the SEQ editor tests share: an instrument built for a model, the keypad entry typed directly, and
// the messages and popups the handlers posted.
#include <string>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"
#include "tests/core/ctrl_fixture.h"

namespace seqedit {

// A number typed on the keypad, as the keypad entry leaves it before the handler runs.
inline void Type(double x) {
    g_EditBuf.entryState = 1u << 10;
    g_EditBuf.entryValue = x;
}
// Empties the ring so that the next numbered message is queued even when it repeats the last one.
inline void FreshRing() {
    MsgQueue_PostText("", 5);
    MsgQueue_Clear();
}
// The numbered messages posted since the last FreshRing, oldest first; a text popup counts as "text".
inline std::vector<std::string> Posted() {
    std::vector<std::string> out;
    uint32_t id = 0;
    while (MsgQueue_Pop(&id) == 0) {
        if (id >= 5 && id <= 8) {
            char text[256];
            MsgQueue_CopyText(text, sizeof text);
            out.emplace_back(text);
        } else {
            out.push_back(std::to_string(id));
        }
    }
    return out;
}

}  // namespace seqedit
