// The key-handler table and the dispatcher: which states have a handler, which events are dropped whole,
// and where the home views and the screens without keys of their own send a key.
#include <gtest/gtest.h>

#include <string>

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/menu_entries.h"
#include "tests/screens/screen_keys.h"

namespace {

using namespace screenkeys;

void SetParallelPosition(int32_t position) {
    ASSERT_EQ(paramPutValue(kParamParallelPosition, position, 0), 0);
}

class KeyTable : public ::testing::Test {
  protected:
    void SetUp() override {
        position_ = paramGetValue(kParamParallelPosition, 0);
        SetParallelPosition(1);
        g_HomePage.panelRow.store(0);
        g_LastHomeView.store(1);
        menuResetEdit();
    }
    // The screen tests of this program draw from the store and the panel words as the program starts.
    void TearDown() override {
        SetParallelPosition(position_);
        g_MenuState.store(0);
        g_HomePage.panelRow.store(0);
        g_LastHomeView.store(0);
        menuResetEdit();
    }
    int32_t position_ = 0;
};

TEST(KeyTableSlots, EveryStateButTheParameterOnlyIdsHasAHandler) {
    for (uint32_t s = 0; s < kMenuStateCount; ++s) {
        const bool none = s == 0 || (s >= 90 && s <= 93);
        EXPECT_EQ(g_KeyProcessTable[s] == nullptr, none) << "state " << s;
    }
}

TEST_F(KeyTable, EventsForStatesWithoutAHandlerAreDroppedWhole) {
    for (uint32_t s : {0u, 90u, 93u, 545u, 0xFFFFFFFFu}) {
        g_MenuState.store(s);
        Press(kKeyExit, kClassKeypad);
        Press(65, kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), s);
        EXPECT_EQ(g_EditBuf.entryLength, 0) << "state " << s << " typed into the entry";
    }
    g_MenuState.store(3);
    menuKeyDispatch(nullptr);
    EXPECT_EQ(g_MenuState.load(), 3u);
}

TEST_F(KeyTable, ExitKeyOfAStateWithoutKeysReturnsToTheLastHomeView) {
    for (uint32_t last : {1u, 2u})
        for (uint32_t s : {330u, 378u, 381u, 433u, 494u}) {
            g_LastHomeView.store(last);
            g_MenuState.store(s);
            Press(kKeyEnter, kClassKeypad);
            Press(kKeyMenu, kClassFunction);
            EXPECT_EQ(g_MenuState.load(), s) << "only the exit key leaves state " << s;
            Press(kKeyExit, kClassKeypad);
            EXPECT_EQ(g_MenuState.load(), last) << "exit from state " << s;
        }
    for (uint32_t s : {379u, 380u}) {
        g_MenuState.store(s);
        Press(kKeyExit, kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), s) << "the trigger-output field and its editor take no keys";
    }
}

TEST_F(KeyTable, PanelRowStaysOnASlaveOnTheSimpleScreenAndForOtherClasses) {
    g_MenuState.store(1);
    g_HomePage.panelRow.store(5);
    Press(kKeyKnob, kClassKeypad, 1);
    Press(kKeyLeft, kClassSoft);
    EXPECT_EQ(g_HomePage.panelRow.load(), 5u);
    for (int32_t slave : {0, 2}) {
        SetParallelPosition(slave);
        Press(kKeyKnob, kClassCursor, 1);
        Press(kKeyLeft, kClassCursor);
        EXPECT_EQ(g_HomePage.panelRow.load(), 5u) << "position " << slave;
    }
    SetParallelPosition(1);
    g_MenuState.store(2);
    Press(kKeyKnob, kClassCursor, 1);
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(g_HomePage.panelRow.load(), 5u);
    EXPECT_EQ(g_MenuState.load(), 2u);
}

// The MENU key opens the MENU page without ending a number being typed on the advanced screen.
TEST_F(KeyTable, MenuKeyKeepsATypedNumber) {
    g_MenuState.store(1);
    Press(65, kClassKeypad);
    Press(66, kClassKeypad);
    Press(kKeyMenu, kClassFunction);
    EXPECT_EQ(g_MenuState.load(), 94u);
    EXPECT_EQ(std::string(g_EditBuf.entryText, g_EditBuf.entryLength), "12");
    EXPECT_EQ(g_EditBuf.entryValue, 12.0);
}

}  // namespace
