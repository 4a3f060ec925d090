// The special-function page stepped as the MENU page steps it: the service lists' rows at their screen
// places (through the text hook), the bar on the selected row, a changed value redrawn on the bar first and
// in the list once the bar moves on, and the switch list against its golden picture.
#include "screens/menu/service/special_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GUI/text/gui_font.h"
#include "core/control/alarms/alarms.h"
#include "core/control/sync/output_sync.h"
#include "core/params/access/key_entry.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/service_flags.h"
#include "panel/runtime_init.h"
#include "screens/menu/rows/row_entries.h"
#include "screens/menu/service/service_switches.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/GUI/text_observer.h"
#include "tests/screens/screen_text.h"
#include "tests/support/default_store.h"

namespace {

using namespace drawn;

// The list's rows start at (17, 43) on screen; the bar's text at (12, 45) on row 0.
constexpr int kRowX = 17, kRowY = 43, kBarX = 12, kBarY = 45, kPitch = 21;

class SpecialPage : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::FreshScreen();
        test::FreshStore(1);
        core::ServiceFlagsReset();
        // What earlier tests left in the shown values.
        g_OutputOptionWord.store(0);
        AlarmMonitorOff();
        core::g_VoltSlewWord.store(0);
        panel::RuntimeTuning& t = panel::g_RuntimeTuning;
        for (auto* w : {&t.fanSlew, &t.fanDutyMax, &t.fanDutyMin, &t.kp, &t.ki, &t.rd[0], &t.rd[1], &t.rd[2],
                        &t.rd[3], &t.rd[4]})
            w->store(0);
        IfaceServiceTuneToggle(IfaceServiceTune());  // every tuning bit off
        GUI_SetTextHook(Observe);
        SpecialPage_Create();
        SpecialPage_Show();
    }
    void TearDown() override {
        GUI_SetTextHook(nullptr);
        core::ServiceFlagsReset();
        g_OutputOptionWord.store(0);
        g_MenuState.store(0);
        menuResetEdit();
    }
    // The row entered as the menu/control thread enters it, then one update and the paint pass.
    static void Enter(uint32_t state) {
        MenuRows_EnterState(state);
        Step();
    }
    static void Step() {
        g_texts.clear();
        panel::EditPublish();
        panel::EditSnapshotTake();
        SpecialPage_Update();
        GUI_RunAll();
    }
};

TEST_F(SpecialPage, SwitchListInTwoColumnsWithTheBarOnTheFirstRow) {
    panel::g_RuntimeTuning.fanDutyMax.store(100);
    panel::g_RuntimeTuning.kp.store(10000);
    panel::g_RuntimeTuning.ki.store(5);
    panel::g_RuntimeTuning.rd[3].store(-10000);
    // The picture holds every row's text and value (the tuning values' formats among them) and the bar.
    Enter(229);
    guitest::ExpectGolden("special_switch_list", GUI_BOX{0, 0, 799, 479});

    // From row 20 the bar goes into the second column.
    Enter(250);
    EXPECT_TRUE(DrawnAt(" 22. RD Test Mode:OFF", kBarX + 380, kBarY + kPitch)) << All();
}

// A toggled switch shows on the bar at once, with the list left alone; the row the bar leaves is drawn
// with its new value.
TEST_F(SpecialPage, ToggledValueOnTheBarThenInTheListWhenTheBarMoves) {
    Enter(229);
    Enter(230);
    EXPECT_TRUE(DrawnAt(" 2. OCP Enable: OFF", kBarX, kBarY + kPitch)) << All();
    Step();
    EXPECT_TRUE(g_texts.empty()) << "nothing changed: " << All();

    menuServiceToggle();
    Step();
    EXPECT_TRUE(DrawnAt(" 2. OCP Enable: ON", kBarX, kBarY + kPitch)) << All();
    EXPECT_FALSE(DrawnAt("1. Detail Alarm Message : OFF", kRowX, kRowY)) << "only the bar";

    // The control task's own bits of the flag word are not the list's.
    g_OutputOptionWord.fetch_or(1u << 5);
    Step();
    EXPECT_TRUE(g_texts.empty()) << All();

    Enter(231);
    EXPECT_TRUE(DrawnAt("2. OCP Enable: ON", kRowX, kRowY + kPitch)) << All();
    EXPECT_TRUE(DrawnAt(" 3. OTP Enable: OFF", kBarX, kBarY + 2 * kPitch));
}

// A value changed away from the bar (the alarm monitor switched by the alarm object) is in the list's
// pixels once the bar moves.
TEST_F(SpecialPage, ValueAwayFromTheBarIsRedrawnWhenTheBarMoves) {
    Enter(229);
    auto pixels = [] {
        return screentext::BoxPixels(guitest::Screen(), kRowX, kRowY + 11 * kPitch, kRowX + 300,
                                     kRowY + 12 * kPitch - 1);
    };
    const std::vector<uint16_t> before = pixels();
    const bool wasOn = IsAlarmMonitorOn() != 0;
    if (wasOn)
        AlarmMonitorOff();
    else
        AlarmMonitorOn();
    Step();
    EXPECT_TRUE(DrawnAt(" 1. Detail Alarm Message : OFF", kBarX, kBarY)) << "the bar only: " << All();
    EXPECT_EQ(pixels(), before) << "the list waits";
    Enter(230);
    EXPECT_NE(pixels(), before) << "row 12 shows the new state";
    if (wasOn)
        AlarmMonitorOn();
    else
        AlarmMonitorOff();
}

TEST_F(SpecialPage, DataListFollowsTheCalibrationUnit) {
    Enter(272);
    guitest::ExpectGolden("special_data_list", GUI_BOX{0, 0, 799, 479});
    g_ServiceFlags.calDataUnitIndex.store(3);
    Step();
    EXPECT_TRUE(DrawnAt(" 01. Calibration Data R/W :    Slave 3", kBarX, kBarY)) << All();
}

TEST_F(SpecialPage, UpdateAndModelListsAndTheEditorsLeftAlone) {
    Enter(267);
    guitest::ExpectGolden("special_update_list", GUI_BOX{0, 0, 799, 479});
    g_EditParam.workValue.store(2);  // the update list's row is its working value
    Step();
    EXPECT_TRUE(DrawnAt(" 3. Update Kernel(Factory service only)", kBarX, kBarY + 2 * kPitch)) << All();

    Enter(225);
    guitest::ExpectGolden("special_model_list", GUI_BOX{0, 0, 799, 479});
    Enter(226);
    EXPECT_TRUE(g_texts.empty()) << "the brand editor's overlay draws: " << All();
}

}  // namespace
