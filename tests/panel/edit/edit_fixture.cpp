#include "tests/panel/edit/edit_fixture.h"

#include <algorithm>
#include <cstring>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/service_flags.h"
#include "drivers/panel_link.h"
#include "panel/menu_entries.h"

namespace edittest {

EditTest::EditTest() {
    core::ParallelLinkReset();
    core::ServiceFlagsReset();
    MsgQueue_Clear();
    menuResetEdit();
    menuGoAdvenceScreen();
}

EditTest::~EditTest() {
    g_MenuState = 0;
    g_LastHomeView = 0;
    MsgQueue_Clear();
}

uint32_t EditTest::Key(uint8_t code, uint8_t cls, int8_t delta) {
    return KeyEventPack(delta, code, cls);
}

void EditTest::Type(double value) {
    menuResetEdit();
    // The keypad holds at most nine characters, without a terminator.
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    const size_t n = std::min(std::strlen(text), sizeof g_EditBuf.entryText);
    std::memcpy(g_EditBuf.entryText, text, n);
    g_EditBuf.entryLength = static_cast<uint8_t>(n);
    g_EditBuf.entryValue = value;
    g_EditBuf.entryState = static_cast<uint32_t>(g_EditBuf.entryLength) << 10;
}

ParamRec EditTest::Rec(uint32_t id, uint32_t unit) {
    return test::ReadRecord(id, unit);
}

void EditTest::PutRec(uint32_t id, uint32_t unit, int32_t value, int32_t max, int32_t min) {
    ParamRec r = Rec(id, unit);
    r.value = value;
    r.max = max;
    r.min = min;
    paramPutRecord(id, &r, unit);
}

void EditTest::SetLineView(bool line) {
    paramPutValue(kParamMeasItem7, line ? 1 : 0, 0);
}

std::vector<std::string> EditTest::Messages() {
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

}  // namespace edittest
