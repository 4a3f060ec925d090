// The function and shortcut keys of the home views, the slave's home keys, the meter-frozen refusal and
// the recall of the selected preset.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_recall.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/edit/param_enter.h"
#include "panel/edit/recalled_preset.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu_entries.h"
#include "tests/panel/edit/edit_fixture.h"

namespace {

using edittest::EditTest;
using Strings = std::vector<std::string>;

void Shortcut(uint8_t key) {
    uint32_t ev = EditTest::Key(key, kClassShortcut);
    KeyProcess_HomeParamKeys(&ev);
}
void Function(uint8_t key) {
    uint32_t ev = EditTest::Key(key, kClassFunction);
    KeyProcess_HomeCommonKeys(&ev);
}

std::atomic<int> g_seqSimRuns{0};
void CountSeqSimKey() {
    g_seqSimRuns.fetch_add(1);
}

// Each shortcut opens its setting's field of the output mode; where the mode has none it goes home.
TEST_F(EditTest, ShortcutKeysOpenTheFieldOfTheOutputMode) {
    struct Case {
        uint32_t mode;
        bool line;
        uint8_t key;
        uint32_t state;
    };
    for (const Case& c :
         {Case{1, false, 'O', 47}, Case{2, false, 'O', 51}, Case{3, false, 'O', 75}, Case{1, true, 'O', 50},
          Case{2, true, 'O', 57},  Case{9, true, 'O', 75},  Case{7, false, 'P', 81}, Case{2, false, 'P', 1},
          Case{9, false, 'P', 12}, Case{4, false, 'Q', 58}, Case{5, false, 'Q', 61}, Case{1, false, 228, 8},
          Case{7, false, 228, 9},  Case{9, false, 228, 1},  Case{3, false, 228, 1},  Case{8, false, 229, 1},
          Case{6, false, 232, 67}, Case{2, false, 232, 1},  Case{9, false, 236, 30}, Case{5, false, 237, 71},
          Case{4, false, 'R', 22}, Case{0, false, 233, 46}}) {
        g_OutputModeIdx = c.mode;
        SetLineView(c.line);
        menuGoAdvenceScreen();
        Shortcut(c.key);
        EXPECT_EQ(g_MenuState, c.state) << "mode " << c.mode << " key " << int{c.key};
    }
}

// Pressed twice a shortcut leaves the field; from the simple view it only returns to that view.
TEST_F(EditTest, ShortcutTwiceReturnsHomeAndTheSimpleViewStays) {
    Shortcut(kKeyVoltage);
    EXPECT_EQ(g_MenuState, 47u);
    Shortcut(kKeyVoltage);
    EXPECT_EQ(g_MenuState, 1u);
    g_PhaseMode = 2;
    Shortcut(238);
    EXPECT_EQ(g_MenuState, 3u);
    EXPECT_EQ(g_CfgPhaseChoice, 2u);
    menuGoSimpleScreen();
    Shortcut(kKeyVoltage);
    EXPECT_EQ(g_MenuState, 2u);
}

// The peak-current kind is refused while a parallel system has its output on.
TEST_F(EditTest, IpkKindRefusedWithTheOutputOnInParallelAndKeysWhileTheMeterIsFrozen) {
    OutputFlagSet(kOutFlagOutputOn);
    g_ParallelActive = 1;
    Shortcut(230);
    EXPECT_EQ(g_MenuState, 1u);
    EXPECT_EQ(Messages(), Strings{"Invalid with Output ON, \nTurn OFF the Output First"});
    g_ParallelActive = 0;
    Shortcut(230);
    EXPECT_EQ(g_MenuState, 23u);
    // While the meter is frozen the home keys only post message 14.
    menuGoAdvenceScreen();
    g_ParamFlags.fetch_or(core::kFlagMeterHold);
    Shortcut(kKeyVoltage);
    Function(kKeyMenu);
    EXPECT_EQ(g_MenuState, 1u);
    EXPECT_EQ(Messages(), (Strings{"14", "14"}));
}

// In a home view MENU opens the MENU page and the SEQUENCE/SIMULATE key runs its handler unless the unit
// is set up for parallel operation without running in it; in a field every key but OUTPUT and SHIFT
// leaves it.
TEST_F(EditTest, FunctionKeysOfHomeViewsAndFields) {
    HomeKeys_SetSeqSimKey(CountSeqSimKey);
    g_seqSimRuns = 0;
    Function(kKeySeq);
    EXPECT_EQ(g_seqSimRuns, 1);
    SetParallelEnable(1);
    Function(kKeySeq);
    EXPECT_EQ(g_seqSimRuns, 1);
    g_ParallelActive = 1;
    Function(kKeySeq);
    EXPECT_EQ(g_seqSimRuns, 2);
    SetParallelEnable(0);
    HomeKeys_SetSeqSimKey(nullptr);
    Function(kKeyMenu);
    EXPECT_EQ(g_MenuState, 94u);

    for (uint8_t key : {'L', 'M', 'N'}) {
        menuEnterParamState(kParamFreq);
        Function(key);
        EXPECT_EQ(g_MenuState, 1u) << key;
    }
    menuEnterParamState(kParamFreq);
    Function(kKeyShift);
    EXPECT_EQ(g_MenuState, static_cast<uint32_t>(kParamFreq));
}

// A parallel slave's home views open only the MENU page.
TEST_F(EditTest, SlaveHomeTakesOnlyMenu) {
    for (auto [key, state] : {std::pair{'O', 1u}, {'X', 1u}, {'M', 1u}, {'L', 94u}}) {
        menuGoAdvenceScreen();
        uint32_t ev = Key(static_cast<uint8_t>(key), kClassFunction);
        KeyProcess_SlaveHomeKeys(&ev);
        EXPECT_EQ(g_MenuState, state) << key;
    }
}

// The preset selected for recall comes back, the status bar learns of it and the panel goes home.
TEST_F(EditTest, RecalledPresetIsAppliedAndThePanelGoesHome) {
    SetAcv(12345, 0);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    SetAcv(5000, 0);
    g_HomePage.recallIndex = 3;
    g_OutputRefresh = 0;
    menuGoSimpleScreen();
    menuEnterParamState(kParamAcv);
    menuApplyRecalledPreset();
    EXPECT_EQ(GetAcv(0), 12345);
    EXPECT_NE(g_ParamFlags & core::kFlagPresetRecalled, 0u);
    EXPECT_EQ(g_MenuState, 2u);
    EXPECT_EQ(g_OutputRefresh, 1u);
}

}  // namespace
