// The home views' keys through the key table: the settings-panel layouts and the knob's row selection,
// preset mode, the soft keys of both views, and the keypad typing that reaches them.
#include "screens/output/keys/home_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/settings_layout.h"
#include "panel/menu_entries.h"
#include "panel/statusbar/status_bar.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/keys/key_table.h"
#include "storage/nv/preset_backup.h"
#include "tests/screens/output/status_words_fixture.h"
#include "tests/screens/screen_keys.h"
#include "tests/support/default_store.h"

namespace {

using namespace screenkeys;
constexpr uint32_t kShift = core::kFlagShiftLatched, kPreset = core::kFlagPresetMode,
                   kFrozen = core::kFlagMeterHold, kRecalled = core::kFlagPresetRecalled;

bool Flag(uint32_t bit) {
    return (g_ParamFlags.load() & bit) != 0;
}
using Texts = std::vector<std::string>;

class HomeKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(paramPutValue(kParamParallelPosition, 1, 0), 0);
        Wiring(kWiring3P4W, 1, 0);
        SetWaveform(16, 0);
        g_MenuState.store(1);
        g_LastHomeView.store(1);
        g_ParamFlags.store(0);
        g_HomePage.panelRow.store(0);
        g_HomePage.viewSel.store(0);
        g_HomePage.harmonicView.store(0);
        g_HomePage.harmonicPage.store(0);
        g_HomePage.rowMask.store(0x3FFF);
        g_EditAllPhases.store(0);
        menuResetEdit();
        MsgQueue_Clear();
    }
    // The other screen tests of this program draw from the store and these words as the program starts.
    void TearDown() override { g_OutputFlags = outputFlags_; }
    static void Wiring(uint32_t wiring, uint32_t mode, int32_t balanced) {
        SetPhaseMode(wiring);
        SetOutputMode(mode);
        SetPhaseBalanceMode(balanced);
        paramPutValue(kParamMeasItem1 + 5, 0, 0);  // selected line
        paramPutValue(kParamMeasItem7, 0, 0);      // PHASE view
    }
    screentest::StatusWords words_;
    screentest::StoreCopy storeCopy_;
    uint32_t outputFlags_ = g_OutputFlags;
    test::DefaultStore store_;  // 3P4W, AC-INT, SIN, L1 selected
};

// The rows of each layout are seen through the knob's row selection below; here the rule that chooses one
// (1P2W, the line view and a balanced output share the third) and a row past the layout.
TEST(SettingsLayout, TheRuleChoosingOne) {
    const SettingsLayout& a = SettingsLayoutTables.a;
    const SettingsLayout& c = SettingsLayoutTables.c;
    EXPECT_EQ(&SettingsLayoutFor(0, 0, 0), &a);
    EXPECT_EQ(&SettingsLayoutFor(2, 0, 0), &SettingsLayoutTables.b);
    for (uint32_t wiring : {0u, 1u, 2u}) {
        EXPECT_EQ(&SettingsLayoutFor(wiring, 1, 0), &c);
        EXPECT_EQ(&SettingsLayoutFor(wiring, 0, 1), &c);
    }
    EXPECT_EQ(&SettingsLayoutFor(1, 0, 0), &c);
    EXPECT_EQ(SettingsItemCode(a, kLayoutRows, 0), kItemFiller) << "past the last row";
}

struct RowCase {
    uint32_t wiring, mode;
    int32_t balanced, wave;
    uint32_t from;
    int8_t delta;
    uint32_t to;
};

TEST_F(HomeKeys, KnobSelectsPanelRowsOfTheLayoutInForce) {
    const RowCase cases[] = {
        {kWiring3P4W, 1, 0, 16, 8, -1, 10},  // duty skipped without a square wave
        {kWiring3P4W, 1, 0, 17, 8, -1, 9},   // and selected with one
        {kWiring3P4W, 1, 0, 16, 10, 1, 8},   // upwards too
        {kWiring3P4W, 1, 0, 16, 2, -1, 4},   // the empty row is stepped over
        {kWiring3P4W, 1, 0, 16, 4, 1, 2},    {kWiring3P4W, 1, 0, 16, 1, 3, 0},  // the top holds
        {kWiring3P4W, 1, 0, 16, 11, -5, 12},                                    // the last row before the end
        {kWiring1P3W, 1, 0, 16, 10, -5, 11}, {kWiring3P4W, 1, 1, 16, 8, -5, 10},  // balanced: no angle rows
        {kWiring1P2W, 1, 0, 16, 8, -5, 10},  {kWiring3P4W, 0, 0, 16, 2, -1, 3},   // AC+DC-INT has its DCV row
        {kWiring3P4W, 2, 0, 16, 2, -5, 4},                                        // DC-INT ends at row 4
        {kWiring1P3W, 0, 0, 16, 10, -5, 11},  // the layouts' own ends hold in every output mode
        {kWiring3P4W, 1, 0, 16, 5, 0, 5},
    };
    for (const RowCase& c : cases) {
        Wiring(c.wiring, c.mode, c.balanced);
        SetWaveform(c.wave, 0);
        g_HomePage.panelRow.store(c.from);
        Knob(c.delta);
        EXPECT_EQ(g_HomePage.panelRow.load(), c.to)
            << "wiring " << c.wiring << " mode " << c.mode << " from " << c.from << " by " << int(c.delta);
    }
}

TEST_F(HomeKeys, RowIsLeftOnlyOncePaintedAndCursorKeysDoNotMoveIt) {
    g_HomePage.panelRow.store(5);
    g_HomePage.rowMask.store(0x3FFF & ~(1u << 5));
    Knob(-1);
    EXPECT_EQ(g_HomePage.panelRow.load(), 5u);
    g_HomePage.rowMask.store(1u << 5);
    Press(kKeyLeft, kClassCursor);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(g_HomePage.panelRow.load(), 5u);
    Knob(-1);
    EXPECT_EQ(g_HomePage.panelRow.load(), 6u);
}

TEST_F(HomeKeys, PresetModeSavesRecallsAndLeaves) {
    constexpr uint32_t kAcv = 47;
    PresetClearAll();
    Wiring(kWiring1P3W, 1, 0);  // each save records the wiring in force into its own preset
    ASSERT_EQ(paramPutValue(kAcv, 10000, 0), 0);
    g_ParamFlags.store(kPreset);
    // Long presses of digits 9 and 0, of soft keys 8, 1 and 3.
    const std::tuple<uint8_t, uint8_t, uint32_t> saves[] = {
        {249, kClassFunction, 9}, {240, kClassFunction, 0}, {201, kClassSoft, 7}, {194, kClassSoft, 0},
        {196, kClassSoft, 2}};
    for (const auto& [code, cls, index] : saves) {
        Press(code, cls);
        EXPECT_EQ(g_HomePage.saveIndex.load(), index) << int{code};
        EXPECT_EQ(Messages(), Texts{"17"}) << int{code};
        EXPECT_TRUE(Flag(kRecalled)) << "the preset saved is the one in force";
    }
    EXPECT_EQ(g_HomePage.presetSel.load(), 2u);
    EXPECT_TRUE(Flag(kPreset));
    for (int32_t m = 0; m < 10; ++m)
        EXPECT_EQ(PresetPhaseModeOf(m), m == 0 || m == 2 || m == 7 || m == 9 ? int32_t{kWiring1P3W} : 0)
            << "M" << m;
    // Same wiring: recalled at once, the saved settings back.
    const struct {
        uint8_t code, cls;
        uint32_t preset;
    } recalls[] = {{'Y', kClassSoft, 0}, {96, kClassSoft, 7}, {64, kClassKeypad, 0}};
    for (const auto& r : recalls) {
        ASSERT_EQ(paramPutValue(kAcv, 5000, 0), 0);
        Press(r.code, r.cls);
        EXPECT_EQ(g_HomePage.recallIndex.load(), r.preset) << int(r.code);
        EXPECT_EQ(paramGetValue(kAcv, 0), 10000) << int(r.code);
        EXPECT_TRUE(Flag(kPreset)) << int(r.code);
    }
    g_ParamFlags.store(kPreset);
    Press(kKeySoft3, kClassSoft);  // soft key 3
    EXPECT_EQ(g_HomePage.recallIndex.load(), 2u);
    EXPECT_EQ(g_HomePage.presetPrev.load(), 0u);
    EXPECT_EQ(g_HomePage.presetSel.load(), 2u);
    EXPECT_TRUE(Flag(kRecalled));
    EXPECT_TRUE(Flag(kPreset));
    EXPECT_EQ(g_MenuState.load(), 1u);

    // A preset of another wiring waits for the wiring question.
    Wiring(kWiring1P2W, 1, 0);
    g_HomePage.presetPending.store(0);
    g_ParamFlags.store(kPreset);
    Press(73, kClassKeypad);
    EXPECT_TRUE(Flag(kRecalled));
    EXPECT_EQ(g_HomePage.recallIndex.load(), 9u);
    EXPECT_EQ(g_HomePage.presetPrev.load(), 2u);
    EXPECT_EQ(g_MenuState.load(), 5u);
    EXPECT_EQ(g_HomePage.presetPending.load(), 1u);
    EXPECT_EQ(g_DialogChoice.load(), 0u);
    EXPECT_EQ(g_EditBuf.entryLength, 0) << "the digit chose a preset, it is no number";

    g_MenuState.store(1);
    Press(kKeyMenu, kClassFunction);
    EXPECT_FALSE(Flag(kPreset));
    EXPECT_FALSE(Flag(kRecalled));
    EXPECT_EQ(g_MenuState.load(), 1u) << "the key that left preset mode did nothing else";
    Messages();
    Press(kKeyMenu, kClassFunction);
    EXPECT_EQ(g_MenuState.load(), 94u);
    PresetClearAll();
}

TEST_F(HomeKeys, PresetModeKeyMessagesOutputPassesFrozenMeterStops) {
    struct Case {
        uint32_t flags;
        uint8_t code;
        bool consumed;
        uint32_t flagsAfter;
        Texts messages;
    };
    std::vector<Case> cases = {
        {kPreset, 'N', true, kPreset, {"Preset Mode"}},
        {0, 'N', true, 0, {"Exit Preset Mode"}},
        {kPreset, 'X', false, kPreset, {}},
        {kPreset | kRecalled, 'M', true, 0, {"Exit Preset Mode"}},
        {kPreset | kFrozen, 'L', false, kPreset | kFrozen, {}},
        {kPreset | kFrozen, 'N', false, kPreset | kFrozen, {}},
        {0, 'L', false, 0, {}},
        {kPreset, 0, false, kPreset, {}},
    };
    // Just outside the soft keys (89-96; below them is OUTPUT), digits (64-73) and their long presses
    // (194-201, 240-249).
    for (uint8_t code : {63, 74, 97, 193, 202, 239, 250})
        cases.push_back({kPreset, code, true, 0, {"Exit Preset Mode"}});
    for (const Case& c : cases) {
        g_ParamFlags.store(c.flags);
        uint32_t ev = KeyEventPack(0, c.code, kClassFunction);
        KeyProcess_PresetMode(&ev);
        EXPECT_EQ(KeyEventCode(ev) == 0 && KeyEventClass(ev) == 0, c.consumed) << c.code;
        EXPECT_EQ(g_ParamFlags.load(), c.flagsAfter) << c.code;
        if (!c.messages.empty()) {
            EXPECT_EQ(g_MsgPopupLines.load(), 2u) << "a popup two lines high " << c.code;
        }
        EXPECT_EQ(Messages(), c.messages) << c.code;
    }
}

TEST_F(HomeKeys, AdvancedScreenRefusesKeypadWhileFrozenAndRunHoldToggles) {
    Press(kKeySoft8, kClassSoft);
    EXPECT_TRUE(Flag(kFrozen));
    EXPECT_EQ(Messages(), Texts{"Meter Frozen"});
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Messages(), Texts{"14"});
    EXPECT_EQ(g_MenuState.load(), 1u);
    Press(kKeySoft8, kClassSoft);
    EXPECT_FALSE(Flag(kFrozen));
    EXPECT_EQ(Messages(), Texts{});
}

TEST_F(HomeKeys, DisplayKeyCyclesTheViews) {
    struct Step {
        uint32_t wiring, stateBefore, stepBefore;
        uint8_t code;
        uint32_t state, step;
    };
    const Step steps[] = {
        {kWiring3P4W, 1, 0, 'Y', 1, 1}, {kWiring3P4W, 1, 1, 'Y', 2, 1},  {kWiring3P4W, 2, 1, 'Y', 1, 0},
        {kWiring1P2W, 1, 0, 'Y', 2, 0}, {kWiring3P4W, 38, 1, 'Y', 1, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "from state " << s.stateBefore << " step " << s.stepBefore);
        Wiring(s.wiring, 1, 0);
        g_MenuState.store(s.stateBefore);
        g_HomePage.viewSel.store(s.stepBefore);
        uint32_t ev = KeyEventPack(0, s.code, kClassSoft);
        // The measurement items' own handlers pass their soft keys on; the home views dispatch them.
        (s.stateBefore == 38 ? KeyProcess_HomeSoftKeys : menuKeyDispatch)(&ev);
        EXPECT_EQ(g_MenuState.load(), s.state);
        EXPECT_EQ(g_HomePage.viewSel.load(), s.step);
    }
}

TEST_F(HomeKeys, ItemKeysOpenAndCloseTheMeasurementItems) {
    const uint8_t keys[] = {'[', '\\', ']', '^'};
    for (uint32_t i = 0; i < 4; ++i) {
        g_MenuState.store(1);
        Press(keys[i], kClassSoft);
        EXPECT_EQ(g_MenuState.load(), 38 + i);
        uint32_t ev = KeyEventPack(0, keys[(i + 1) % 4], kClassSoft);
        KeyProcess_HomeSoftKeys(&ev);
        EXPECT_EQ(g_MenuState.load(), 38 + (i + 1) % 4) << "another item key opens its own item";
        ev = KeyEventPack(0, keys[(i + 1) % 4], kClassSoft);
        KeyProcess_HomeSoftKeys(&ev);
        EXPECT_EQ(g_MenuState.load(), 1u);
    }
}

TEST_F(HomeKeys, LineKeyCyclesTheLineOrTogglesTheView) {
    struct Case {
        uint32_t wiring, mode;
        int32_t balanced, wave;
        std::vector<int32_t> lines;  // parameter 43 after each press
        int32_t view;                // parameter 44 after the presses
        Texts messages;
    };
    const Case cases[] = {
        {kWiring3P4W, 1, 0, 16, {1, 2, 0}, 0, {}},
        {kWiring1P3W, 1, 0, 16, {1, 0}, 0, {}},
        {kWiring1P2W, 1, 1, 16, {0, 0}, 0, {}},
        {kWiring3P4W, 2, 1, 16, {1, 2}, 0, {}},
        {kWiring3P4W, 1, 1, 16, {0}, 1, {}},
        {kWiring1P3W, 8, 1, 16, {0, 0}, 0, {}},
        {kWiring3P4W, 1, 1, 17, {0}, 0, {"Valid Only All Phase is SIN\nWave Shape and Balance"}},
        {kWiring3P4W, 9, 1, 16, {0}, 0, {"Invalid in \nThis Output Mode"}},
        {kWiring1P3W, 3, 1, 16, {0}, 0, {"Invalid in \nThis Output Mode"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "wiring " << c.wiring << " mode " << c.mode);
        Wiring(c.wiring, c.mode, c.balanced);
        SetWaveform(c.wave, 0);
        Messages();
        for (int32_t line : c.lines) {
            Press(kKeySoft2, kClassSoft);
            EXPECT_EQ(GetSelectedLine(), line);
        }
        EXPECT_EQ(GetPhaseLineView(), c.view);
        EXPECT_EQ(Messages(), c.messages);
    }
}

TEST_F(HomeKeys, EachAllKey) {
    struct Case {
        uint32_t wiring, mode;
        int32_t balanced;
        uint32_t lock;
        uint8_t before, after;
    };
    const Case cases[] = {
        {kWiring3P4W, 1, 0, 0, 0, 1}, {kWiring3P4W, 1, 0, 0, 1, 0}, {kWiring1P3W, 1, 0, 1, 0, 0},
        {kWiring1P2W, 1, 0, 0, 1, 0}, {kWiring3P4W, 1, 1, 1, 0, 1}, {kWiring3P4W, 9, 1, 0, 1, 1},
        {kWiring3P4W, 5, 1, 0, 1, 0}, {kWiring3P4W, 5, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        Wiring(c.wiring, c.mode, c.balanced);
        g_HomePage.allPhasesLock.store(c.lock);
        g_EditAllPhases.store(c.before);
        Press(kKeySoft7, kClassSoft);
        EXPECT_EQ(g_EditAllPhases.load(), c.after) << "wiring " << c.wiring << " mode " << c.mode;
    }
    g_HomePage.allPhasesLock.store(0);
}

TEST_F(HomeKeys, SimpleScreenSoftKeysAndHarmonicPages) {
    g_MenuState.store(2);
    Press(kKeySoft3, kClassSoft);
    ASSERT_EQ(g_HomePage.harmonicView.load(), 1u);
    const struct {
        uint8_t code;
        uint32_t page, quantity;
    } presses[] = {{'^', 1, 0}, {'^', 2, 0},  {'^', 3, 0}, {'^', 4, 0}, {'^', 4, 0},
                   {']', 3, 0}, {'\\', 0, 1}, {']', 0, 1}, {'^', 1, 1}, {'\\', 0, 0}};
    g_HomePage.harmonicQuantity.store(0);
    for (const auto& p : presses) {
        Press(p.code, kClassSoft);
        EXPECT_EQ(g_HomePage.harmonicPage.load(), p.page) << p.code;
        EXPECT_EQ(g_HomePage.harmonicQuantity.load(), p.quantity) << p.code;
    }
    Press(kKeySoft8, kClassSoft);
    EXPECT_FALSE(Flag(kFrozen)) << "no RUN/HOLD on the harmonic view";
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(g_HomePage.harmonicView.load(), 0u);
    g_HomePage.meterSet.store(0);
    for (uint32_t want : {1u, 2u, 0u}) {
        Press(kKeySoft4, kClassSoft);
        EXPECT_EQ(g_HomePage.meterSet.load(), want);
    }
    Press(kKeySoft8, kClassSoft);
    EXPECT_TRUE(Flag(kFrozen));
    Messages();
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(Messages(), Texts{"14"});
    g_ParamFlags.store(0);
    SetOutputMode(0);
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(Messages(), Texts{"Only AC-INT And \n50/60Hz Active"});
    EXPECT_EQ(g_HomePage.harmonicView.load(), 0u);
}

// The simple screen leaves typing to the keypad input (its rules have their own tests); the knob ends it.
TEST_F(HomeKeys, TypingThroughTheTableAndTheKnobClearingIt) {
    g_MenuState.store(2);
    Type("-12");
    EXPECT_EQ(std::string(g_EditBuf.entryText, g_EditBuf.entryLength), "-12");
    Knob(1);
    EXPECT_EQ(g_EditBuf.entryLength, 0);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
}

}  // namespace
