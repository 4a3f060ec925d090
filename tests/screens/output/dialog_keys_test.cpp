// The home views' prompts through the real key table: the wiring choice and its confirmation, the
// preset that brings another wiring, the parallel link failure and the measurement items.
#include <gtest/gtest.h>

#include <string>

#include "core/control/measure/meas_records.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/phase_cfg.h"
#include "core/params/presets/preset_recall.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_device.h"
#include "drivers/spi_nvm.h"
#include "panel/edit/param_enter.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/row_entry_hook.h"
#include "panel/menu_entries.h"
#include "screens/menu/rows/row_entries.h"
#include "tests/screens/output/status_words_fixture.h"
#include "tests/screens/screen_keys.h"
#include "tests/support/default_store.h"

namespace {

using namespace screenkeys;
constexpr uint32_t kYes = 0, kNo = 1;

void Enter() {
    Press(kKeyEnter, kClassKeypad);
}

int32_t Acv() {
    return paramGetValue(kParamAcv, 0);
}

// The free text on show once the queue is drained.
std::string LastText() {
    for (uint32_t id = 0; MsgQueue_Pop(&id) == 0;) {
    }
    return Popup();
}

// A model-1 unit (3P4W, AC-INT, 200 V range) with its memory, on the advanced screen.
class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SpiNvmInit(), 0);
        MenuRows_SetEntry(MenuRows_EnterState);
        MsgQueue_Clear();
        g_SysStatus.store(0);
        menuGoAdvenceScreen();
    }
    void TearDown() override {
        SpiDevClose(&g_NvSpi);
        g_SysStatus.store(0);
        g_PhaseChangeFromHome.store(0);
    }
    // The wiring choice as the output-phase shortcut opens it: the present wiring picked.
    static void OpenWiringChoice() {
        g_CfgPhaseChoice.store(GetPhaseMode());
        menuEnterStateValue(3, static_cast<int32_t>(GetPhaseMode()));
    }
    // The wiring one place on by the cursor key `move` ('W' next, 'V' before), asked for, and the
    // confirmation (which opens on NO) answered.
    static void ChangeWiring(uint8_t move, bool yes) {
        OpenWiringChoice();
        Press(move, kClassCursor);
        Enter();
        if (yes) Press(kKeyLeft, kClassCursor);
        Enter();
    }
    screentest::StatusWords status_;
    test::DefaultStore store{1};
};

TEST_F(Dialogs, WiringChoiceMovesWithinTheThreeWirings) {
    struct Case {
        uint32_t from;
        uint8_t code;
        int8_t delta;
        uint32_t to;
    };
    for (const Case& c : {Case{0, 'W', 0, 1}, Case{2, 'W', 0, 2}, Case{2, 'V', 0, 1}, Case{0, 'V', 0, 0},
                          Case{0, kKeyKnob, 1, 1}, Case{1, kKeyKnob, 5, 2}, Case{1, kKeyKnob, -3, 0}}) {
        OpenWiringChoice();
        g_CfgPhaseChoice.store(c.from);
        g_EditParam.workValue.store(static_cast<int32_t>(c.from));
        Press(c.code, kClassCursor, c.delta);
        EXPECT_EQ(g_CfgPhaseChoice.load(), c.to) << c.from << " key " << int{c.code} << " " << int{c.delta};
        EXPECT_EQ(g_MenuState.load(), 3u);
    }
    // The knob starts from the picked wiring when the cursor keys moved it last.
    OpenWiringChoice();
    Press(kKeyRight, kClassCursor);
    Press(kKeyRight, kClassCursor);
    Knob(-1);
    EXPECT_EQ(g_CfgPhaseChoice.load(), 1u);
    EXPECT_EQ(g_EditParam.workValue.load(), 1);
    // Leaving, or the enter key on the wiring in force, asks nothing.
    for (uint8_t leave : {kKeyExit, kKeyEnter, kKeySoft8}) {
        OpenWiringChoice();
        Press(leave, leave == kKeySoft8 ? kClassSoft : kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), 1u) << "key " << int{leave};
    }
}

// The confirmation opens on NO, which keeps the wiring and goes back where the change was asked from: the
// home view or the MENU's row.
TEST_F(Dialogs, ConfirmationNoKeepsTheWiringAndReturnsToItsOrigin) {
    const int32_t acv = Acv();
    ChangeWiring('W', false);
    EXPECT_EQ(g_MenuState.load(), 1u);
    EXPECT_EQ(GetPhaseMode(), 0u);
    EXPECT_EQ(Acv(), acv);

    g_CfgPhaseChoice.store(1);
    menuEnterStateValue(4, 1);  // as the MENU's output-phase row opens it
    Knob(-1);
    EXPECT_EQ(g_EditBuf.choiceValue, kYes);
    Knob(1);
    EXPECT_EQ(g_EditBuf.choiceValue, kNo);
    Enter();
    EXPECT_EQ(g_MenuState.load(), 98u);
    EXPECT_EQ(GetPhaseMode(), 0u);
    for (uint8_t leave : {kKeyExit, kKeySoft8}) {
        menuEnterStateValue(4, 0);
        Press(leave, leave == kKeySoft8 ? kClassSoft : kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), 1u);
        EXPECT_EQ(GetPhaseMode(), 0u);
    }
}

// Each wiring keeps its own settings: what was set in 3P4W comes back after a round through 1P2W, and the
// range code follows the wiring's code set.
TEST_F(Dialogs, WiringChangeSavesTheOldSettingsAndLoadsTheNewOnes) {
    paramPutValue(kParamAcv, 12340, 0);
    const uint32_t range = GetVoltRangeCode();
    ASSERT_EQ(range, 1u);  // 200 V
    g_ParamFlags.fetch_or(core::kFlagShiftLatched);
    ChangeWiring('W', true);
    EXPECT_EQ(GetPhaseMode(), 1u);
    EXPECT_EQ(GetVoltRangeCode(), 3u) << "200 V in the 1P2W code set";
    EXPECT_EQ(g_MenuState.load(), 1u);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagShiftLatched, 0u);
    EXPECT_FALSE(SysStatusTest(kSysKeysBlocked));
    EXPECT_EQ(g_PhaseCfgChanging.load(), 0u);
    EXPECT_EQ(LastText(), "Configure Phase is Ready");
    paramPutValue(kParamAcv, 5550, 0);

    ChangeWiring('V', true);
    EXPECT_EQ(GetPhaseMode(), 0u);
    EXPECT_EQ(Acv(), 12340);
    EXPECT_EQ(GetVoltRangeCode(), 1u);

    ChangeWiring('W', true);
    EXPECT_EQ(Acv(), 5550) << "the 1P2W settings were saved when it was left";
}

// As the preset key leaves a recall of M3 that brings another wiring: M1 current before it.
void PresetRecallWaits() {
    g_HomePage.presetPrev.store(1);
    g_HomePage.presetSel.store(3);
    g_HomePage.recallIndex.store(3);
    g_HomePage.presetPending.store(1);
    g_DialogChoice.store(0);
    menuEnterStateValue(5, 0);
}

TEST_F(Dialogs, DecliningAPresetsWiringKeepsTheIndexAndTheSettings) {
    g_PhaseMode = 1;
    paramPutValue(kParamAcv, 7770, 0);
    ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);
    g_PhaseMode = 0;
    paramPutValue(kParamAcv, 12340, 0);

    PresetRecallWaits();
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(g_DialogChoice.load(), kNo);
    Knob(-1);
    EXPECT_EQ(g_DialogChoice.load(), kYes);
    Enter();
    ASSERT_EQ(g_MenuState.load(), 6u);
    EXPECT_EQ(g_EditBuf.choiceValue, kNo);
    Enter();
    EXPECT_EQ(g_MenuState.load(), 1u);
    EXPECT_EQ(g_HomePage.presetSel.load(), 1u);
    EXPECT_EQ(g_HomePage.presetPending.load(), 0u);
    EXPECT_EQ(GetPhaseMode(), 0u);
    EXPECT_EQ(Acv(), 12340);

    // The exit key of either prompt, and NO in the first, decline the same way.
    for (const std::string way : {"T", "WU", "UT"}) {
        SCOPED_TRACE(way);
        PresetRecallWaits();
        for (char key : way)
            Press(static_cast<uint8_t>(key), key == kKeyRight ? kClassCursor : kClassKeypad);
        EXPECT_EQ(g_MenuState.load(), 1u);
        EXPECT_EQ(g_HomePage.presetSel.load(), 1u);
        EXPECT_EQ(g_HomePage.presetPending.load(), 0u);
        EXPECT_EQ(Acv(), 12340);
    }

    PresetRecallWaits();
    Enter();
    Press(kKeyLeft, kClassCursor);
    Enter();
    EXPECT_EQ(g_MenuState.load(), 1u);
    EXPECT_EQ(g_HomePage.presetPending.load(), 0u);
    EXPECT_EQ(g_HomePage.presetSel.load(), 3u);
    EXPECT_EQ(Acv(), 7770) << "the preset was recalled";
}

TEST_F(Dialogs, ParallelRetryStartsTheMasterAgainOrSwitchesParallelOff) {
    core::ParallelObjectsReset();
    for (int i = 0; i < 3 && g_ParallelLinkObj.msg.load() != 9002; ++i)
        ParallelLink_Step();
    ASSERT_EQ(g_ParallelLinkObj.msg.load(), 9002u) << "the link object idles";
    paramPutValue(kParamParallelEnable, 1, 0);
    menuEnterParallelRetry();
    ASSERT_EQ(g_EditBuf.choiceValue, kNo);
    Press(kKeyLeft, kClassCursor);
    Enter();
    EXPECT_EQ(g_MenuState.load(), 212u);
    ParallelLink_Step();
    EXPECT_EQ(g_ParallelLinkObj.msg.load(), 9003u) << "the link runs the master again";
    EXPECT_EQ(paramGetValue(kParamParallelEnable, 0), 1);
    core::ParallelObjectsReset();

    struct Case {
        uint32_t model;
        uint32_t page;
        uint8_t key;
        uint32_t state;
        bool retryBit;
    };
    for (const Case& c : {Case{2, 1, 'U', 1, false}, Case{3, 94, 'T', 212, true}, Case{11, 1, 'T', 1, true},
                          Case{12, 94, 'U', 212, false}}) {
        g_ModelId = c.model;
        g_PageId.store(c.page);
        g_SysStatus.store(0);
        paramPutValue(kParamParallelEnable, 1, 0);
        menuEnterParallelRetry();
        Press(c.key, kClassKeypad);
        EXPECT_EQ(paramGetValue(kParamParallelEnable, 0), 0) << "model " << c.model;
        EXPECT_EQ(g_MenuState.load(), c.state) << "model " << c.model;
        EXPECT_EQ(SysStatusTest(kSysParallelRetry), c.retryBit) << "model " << c.model;
    }
    g_PageId.store(kPageNone);
}

TEST_F(Dialogs, MeasurementItemFollowsTheKnobAtOnce) {
    struct Case {
        uint32_t view, wiring;
        int8_t delta;
        int32_t from, to;
    };
    // The knob turned down raises the item; the simple screen in 3P4W stops one short of the maximum.
    for (const Case& c : {Case{1, 0, -1, 0, 1}, Case{1, 0, 1, 1, 0}, Case{1, 0, -100, 0, -1},
                          Case{2, 0, -100, 0, -2}, Case{2, 1, -100, 0, -1}}) {
        g_LastHomeView.store(c.view);
        g_PhaseMode = c.wiring;
        paramPutValue(40, c.from, 0);
        ASSERT_EQ(menuEnterParamState(40), 0);
        const int32_t max = g_EditParam.max;
        Knob(c.delta);
        const int32_t want = c.to >= 0 ? c.to : max + 1 + c.to;
        EXPECT_EQ(paramGetValue(40, 0), want) << "view " << c.view << " wiring " << c.wiring;
        EXPECT_EQ(g_MenuState.load(), 40u);
    }
    for (uint32_t view : {1u, 2u})
        for (uint8_t key : {uint8_t{'T'}, uint8_t{'U'}}) {
            g_LastHomeView.store(view);
            ASSERT_EQ(menuEnterParamState(44), 0);
            Press(key, kClassKeypad);
            EXPECT_EQ(g_MenuState.load(), view);
        }
}

}  // namespace
