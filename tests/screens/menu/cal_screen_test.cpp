// The calibration page stepped as the page manager steps it, on the simulated stage's calibration status:
// the texts at their screen places (through the text hook), the popups by state and status, the
// processing bit and the key lock.
#include "screens/menu/cal/cal_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "GUI/text/gui_font.h"
#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "panel/keys/key_filters.h"
#include "platform/host/clock.h"
#include "platform/stage/power_stage_sim.h"
#include "screens/menu/cal/cal_paint.h"
#include "screens/menu/cal/cali_keys.h"
#include "screens/menu/cal/cali_pages.h"
#include "screens/output/keys/key_table.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/GUI/text_observer.h"
#include "tests/screens/screen_text.h"
#include "tests/support/default_store.h"

namespace {

constexpr uint32_t kSecondResult = 1u << 3;

using namespace drawn;

constexpr GUI_BOX kAll{0, 0, 799, 479};

// The screen's root first: the framebuffer lives there; the stage and the model's defaults on it.
class CalScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::FreshScreen();
        test::FreshStore(1);
        GUI_SetTextHook(Observe);
        CalScreen_Create();
        CalScreen_Show();
        g_CalState.savedSelection = 0;
        g_CalState.phase = 0;
        Enter_menuCalibration();
    }
    void TearDown() override {
        EXPECT_TEXTS_WHOLE();
        GUI_SetTextHook(nullptr);
        SysStatusClear(kSysCaliProcessing);
        g_MenuState.store(0);
        menuResetEdit();
    }
    // One page-manager step and the GUI pass that paints it; the texts drawn by it.
    static void Step() {
        g_texts.clear();
        panel::EditPublish();
        panel::EditSnapshotTake();
        CalScreen_Update();
        GUI_RunAll();
    }
};

TEST_F(CalScreen, EveryPixelOfThePageIsPainted) {
    Step();
    const std::vector<int> left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << guitest::Describe(left);
}

// The item list with the bar following the selection and the soft keys; DEFAULT asks in a popup of its
// own, with only EXIT left of the soft keys.
TEST_F(CalScreen, ItemListWithTheBarAndTheSoftKeysThenTheDefaultConfirmation) {
    Step();
    guitest::ExpectGolden("cal_items", kAll);
    g_EditParam.workValue.store(3);
    Step();
    guitest::ExpectGolden("cal_items_4", kAll);
    caliEnterStep(329);
    Step();
    guitest::ExpectGolden("cal_default", kAll);
}

// A point waits under "Calibration Prepare" with the control task held until the stage reports a second
// result; then its popup names the point and range, the keys are free and only EXIT stays.
TEST_F(CalScreen, PreparePopupUntilTheStageIsReadyThenThePoint) {
    Step();
    plat::PowerStage().ScriptCaliStatus({0});
    g_ParamFlags.fetch_or(core::kFlagKeysLocked);
    caliEnterStep(318);
    Step();
    EXPECT_TRUE(DrawnAt("Calibration Prepare", 285, 188)) << All();
    EXPECT_TRUE(SysStatusTest(kSysCaliProcessing));
    Step();
    EXPECT_TRUE(SysStatusTest(kSysCaliProcessing)) << "still waiting";
    EXPECT_FALSE(Drawn("U_Volt Cal, DC(-250 V)"));

    plat::PowerStage().ScriptCaliStatus({kSecondResult});
    g_CalState.phase = 0;
    caliEnterStep(317);  // the first point's record: -250 V
    Step();
    EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
    guitest::ExpectGolden("cal_point", kAll);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u) << "the popup frees the keys";

    // The value field follows the knob; nothing else repaints.
    g_EditParam.workValue.store(g_EditParam.workValue.load() + 1);
    Step();
    guitest::ExpectGolden("cal_point_knob", kAll);
    EXPECT_TRUE(g_texts.empty()) << All();

    // A typed number shows as typed, left in the field.
    g_EditBuf.entryState = 1u << 10;
    std::snprintf(g_EditBuf.entryText, sizeof g_EditBuf.entryText, "25");
    g_EditBuf.entryLength = 2;
    Step();
    EXPECT_TRUE(DrawnAt("25", 310, 227)) << All();
}

// Leaving a point while it still waits takes the prepare popup and the processing bit away.
TEST_F(CalScreen, LeavingAWaitingPointReleasesTheControlTask) {
    Step();
    plat::PowerStage().ScriptCaliStatus({0});
    caliEnterStep(320);
    Step();
    ASSERT_TRUE(SysStatusTest(kSysCaliProcessing));
    Enter_menuCalibration();
    Step();
    EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
    Step();
    EXPECT_FALSE(Drawn("Calibration Prepare"));
    EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
}

// The point's nominal value shows without trailing zeros, with its sign.
TEST_F(CalScreen, PointTitlesDropTrailingZeros) {
    const struct {
        int32_t value;
        const char* title;
    } cases[] = {{12000, "U_Volt Cal, DC(+12 V)"},
                 {12500, "U_Volt Cal, DC(+12.5 V)"},
                 {12340, "U_Volt Cal, DC(+12.34 V)"},
                 {12345, "U_Volt Cal, DC(+12.345 V)"}};
    for (const auto& c : cases) {
        {
            std::lock_guard<std::mutex> lock(core::g_ParamLock);
            ParamRec& r = g_ParamStore.caliVolt[0];
            r.value = c.value;
            r.scale = 0.001f;
            r.unitText = "V";
        }
        char title[96], range[96];
        calpage::PointTitle(317, 0, title, sizeof title, range, sizeof range);
        EXPECT_STREQ(title, c.title);
    }
    char title[96], range[96];
    calpage::PointTitle(325, 2, title, sizeof title, range, sizeof range);
    EXPECT_EQ(std::string(title).rfind("W_Curr Cal, DC(", 0), 0u) << title;
}

// Keys, stage answers and passes in random order over the calibration states: whatever the stage
// answered (a point repeated, a range failed, a point accepted), once it answers ready and accepted the
// keys are never left locked, so EXIT and the others are not dropped in silence.
TEST_F(CalScreen, ARandomWalkNeverEndsWithTheKeysLocked) {
    ASSERT_EQ(CaliKeys_Register(), 0);
    ScreenRequestRunners hooks{};
    hooks.calibrationPage = CaliPage_Enter;
    ScreenRequest_SetRunners(hooks);
    core::CalStateReset();
    CaliMode_Step();
    plat::SetTimeScale(1000);  // the one-shot items wait for the stage in real time
    // Only the point items and the keys of their states: a save, recall or default exit leaves calibration.
    const struct {
        uint8_t code, cls;
        int8_t delta;
    } keys[] = {{'U', 1, 0}, {'U', 1, 0}, {'U', 1, 0},  {'T', 1, 0}, {'\\', 3, 0},
                {'L', 5, 0}, {213, 4, 1}, {213, 4, -1}, {'W', 4, 0}};
    const auto pass = [] {
        for (int i = 0; i < 3; ++i) {
            ScreenRequest_RunPending();
            CaliMode_Step();
        }
        ScreenRequest_RunPending();
        Step();
    };
    const auto press = [](uint8_t code, uint8_t cls, int8_t delta) {
        // As the menu/control thread takes a key: dropped while a point waits, then the key-lock filter.
        uint32_t ev = KeyEventPack(delta, code, cls);
        if (SysStatusTest(kSysCaliProcessing)) return;
        KeyLockFilter(&ev);
        if ((g_ParamFlags.load() & core::kFlagKeysLocked) != 0 || ev == 0) return;
        menuKeyDispatch(&ev);
    };
    std::mt19937 rng(65);
    for (int walk = 0; walk < 40; ++walk) {
        SCOPED_TRACE(walk);
        for (int step = 0; step < 60; ++step) {
            // Bits 0-2 the result (0 accepted, 1 range done, 2 again), bits 3-5 the stage's readiness.
            const uint32_t result = rng() % 4, ready = rng() % 4 != 0 ? kSecondResult : 0;
            plat::PowerStage().ScriptCaliStatus({result | ready});
            const auto& k = keys[rng() % std::size(keys)];
            press(k.code, k.cls, k.delta);
            pass();
        }
        // The stage answers ready and accepted, then reports its ranges done.
        for (uint32_t answer : {kSecondResult, kSecondResult | 1u}) {
            plat::PowerStage().ScriptCaliStatus({answer});
            for (int i = 0; i < 30; ++i)
                pass();
        }
        EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u) << "state " << g_MenuState.load();
        g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    }
    plat::SetTimeScale(1);
    ScreenRequest_SetRunners({});
    core::CalStateReset();
}

}  // namespace
