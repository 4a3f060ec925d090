#pragma once
// The MENU tests' start: the menu handlers registered, a factory store of a single unit that is the
// parallel master, all interfaces fitted, no parallel system, the advanced home view entered last.
#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/row_entry_hook.h"
#include "panel/menu_entries.h"
#include "platform/stage/wiring_codes.h"
#include "screens/menu/nav/menu_key_slots.h"
#include "screens/menu/rows/row_entries.h"
#include "tests/screens/screen_keys.h"
#include "tests/support/default_store.h"

namespace menutest {

using namespace screenkeys;
inline uint32_t State() {
    return g_MenuState.load();
}
inline int32_t Work() {
    return g_EditParam.workValue.load();
}
// The state a key leads to from `state`, entered as its row entry enters it.
inline uint32_t After(uint32_t state, uint8_t code, uint8_t cls, int8_t delta = 0) {
    MenuRows_EnterState(state);
    Press(code, cls, delta);
    return State();
}
// The state after each knob turn.
inline std::vector<uint32_t> Walk(std::initializer_list<int8_t> deltas) {
    std::vector<uint32_t> seen;
    for (int8_t d : deltas) {
        Knob(d);
        seen.push_back(State());
    }
    return seen;
}
inline int32_t Param(uint32_t id) {
    return paramGetValue(id, 0);
}
// The free-text messages posted since the last call.
inline std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (uint32_t id = 0; MsgQueue_Pop(&id) == 0;) {
        char text[128] = {};
        if (id >= 5 && id <= 8) MsgQueue_CopyText(text, sizeof text);
        out.emplace_back(text);
    }
    return out;
}

class MenuKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(MenuNav_RegisterKeys(), 0);
        MenuRows_SetEntry(MenuRows_EnterState);
        ASSERT_EQ(paramPutValue(kParamParallelPosition, 1, 0), 0);
        SetPhaseMode(kWiring3P4W);
        g_Rs232Present.store(1);
        g_GpibPresent.store(1);
        g_ParallelActive.store(0);
        g_LastHomeView.store(1);
        menuResetEdit();
        MsgQueue_Clear();
    }
    void TearDown() override {
        g_MenuState.store(0);
        menuResetEdit();
        MsgQueue_Clear();
    }
    // Enters a state as its row entry does.
    static void At(uint32_t state) {
        MenuRows_EnterState(state);
        ASSERT_EQ(State(), state);
    }
    // Types a number in an edit state entered as its row entry enters it, and enters the number.
    static void TypeIn(uint32_t edit, const char* text) {
        At(edit);
        Type(text);
        Press(kKeyEnter, kClassKeypad);
    }
    // The commands run, without their time stamps and results (nor what they printed on errors).
    std::vector<std::string> Log() const {
        std::istringstream in(store_.root.Read("/var/log/commands.log"));
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) {
            const size_t time = line.find(' ', line.find(' ') + 1);
            std::string entry = line.substr(time + 1);
            entry = entry.substr(entry.find(' ', entry.find(' ') + 1) + 1);  // "<how> <status> "
            out.push_back(entry.substr(0, entry.find(" -- ")));
        }
        return out;
    }
    test::DefaultStore store_{1};
};

}  // namespace menutest
