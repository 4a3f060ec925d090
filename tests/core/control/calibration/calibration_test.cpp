// The calibration procedures on the simulated stage with a scripted calibration status: the points and
// pages they walk, the commands to the stage, a failed range, the exits' reset 40 ms later, and a start
// after a count set while no procedure ran.
#include "core/control/calibration/calibration.h"

#include <functional>
#include <string>
#include <thread>

#include "core/control/hooks/screen_request.h"
#include "core/system/state/edit_state.h"
#include "screens/menu/cal/cali_pages.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/support/popup_passes.h"

namespace {

using test::Stage;

struct Procedure {
    const char* what;
    uint32_t first;   // its first page
    bool (*waits)();  // for the point's count
    int32_t (*count)(int32_t);
    int32_t (*start)();
    void (*leavePoint)();
    uint32_t running;  // the mode object's message while the procedure runs
    const char* failed;
    const char* failedHigh;
};

class CalibrationTest : public test::CtrlTest {
  protected:
    void SetUp() override {
        ScreenRequestRunners hooks{};
        hooks.calibrationPage = CaliPage_Enter;
        ScreenRequest_SetRunners(hooks);
        test::StartCaliMode();
        test::ClearTrace();
    }
    // A calibration state left behind would hold the next tests' link screens and refuse their preset recalls.
    void TearDown() override {
        ScreenRequest_SetRunners({});
        g_MenuState.store(0);
    }
    // Steps the mode object (4 ms each) until `done`; the steps taken, or -1.
    // The menu/control thread's pass takes the procedures' page requests between the steps.
    static int StepUntil(const std::function<bool()>& done, int most = 200) {
        for (int i = 0; i < most; ++i) {
            ScreenRequest_RunPending();
            if (done()) return i;
            CaliMode_Step();
        }
        ScreenRequest_RunPending();
        return done() ? most : -1;
    }
    static std::vector<uint32_t> Commands() { return test::RawsTo(2354); }
    // Gives each of `points` points its count once the procedure waits for it; the page of each point
    // goes to `pages` when given.
    static void CountPoints(const Procedure& p, int points, std::vector<uint32_t>* pages = nullptr) {
        for (int point = 0; point < points; ++point) {
            ASSERT_GE(StepUntil(p.waits), 0) << "point " << point;
            if (pages) pages->push_back(g_MenuState.load());
            p.count(10);
            CaliMode_Step();
        }
    }
};

bool VoltWaits() {
    return g_CaliVoltObj.msg.load() == 9108;
}
const Procedure kProcedures[] = {
    {"voltage", 317, VoltWaits, CaliVoltAvgSet, CaliVoltStart, CaliVoltStepSignal, 9003, "V100_Cali fail\n",
     "V200_Cali fail\n"},
    {"current", 323, [] { return g_CaliCurrObj.msg.load() == 9208; }, CaliCurrAvgSet, CaliCurrStart,
     CaliCurrStepSignal, 9004, "I100_Cali fail\n", "I200_Cali fail\n"},
};

// Each procedure walks its six pages point by point and unlocks the keys when its high range ends.
TEST_F(CalibrationTest, ProceduresWalkTheirPages) {
    for (const auto& p : kProcedures) {
        SCOPED_TRACE(p.what);
        test::StartCaliMode();
        // Points report 0 (accepted), a range end 1 (stored).
        Stage().ScriptCaliStatus({0, 0, 0, 1, 0, 0, 0, 1});
        g_ParamFlags |= core::kFlagKeysLocked;  // while calibrating
        test::ClearTrace();
        caliEnterStep(p.first);
        ASSERT_GE(StepUntil(p.waits), 0);
        EXPECT_EQ(g_CalState.measuring.load() & 1u, 1u) << "the records keep still while calibrating";
        std::vector<uint32_t> pages;
        CountPoints(p, 6, &pages);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_GE(StepUntil([] { return g_CaliModeObj.msg.load() == 9002; }, 400), 0);
        EXPECT_EQ(test::PopupText(), "Processing...");
        EXPECT_EQ(g_MsgPopupLines.load(), 2u);
        std::vector<uint32_t> want;
        for (uint32_t page = p.first; page < p.first + 6; ++page)
            want.push_back(page);
        EXPECT_EQ(pages, want);
        EXPECT_EQ(g_MenuState.load(), 316u);
        EXPECT_EQ(Commands(), (std::vector<uint32_t>{16, 16, 16, 8, 16, 16, 16}));
        EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u);
        EXPECT_EQ(test::OnlyWriteTo(2353).raw & 8u, 8u);
    }
}

// After the low range's last point the panel shows its range-end state (320 voltage, 326 current) while
// the stage stores the range.
TEST_F(CalibrationTest, LowRangeEndStateWhileTheStageStores) {
    for (const auto& p : kProcedures) {
        SCOPED_TRACE(p.what);
        test::StartCaliMode();
        Stage().ScriptCaliStatus({0, 0, 0, 0});  // the range end stays busy
        test::ClearTrace();
        caliEnterStep(p.first);
        CountPoints(p, 3);
        ASSERT_FALSE(HasFatalFailure());
        const uint32_t rangeEnd = p.first + 3;
        EXPECT_GE(StepUntil([rangeEnd] { return g_MenuState.load() == rangeEnd; }), 0) << g_MenuState.load();
        p.leavePoint();
        StepUntil([] { return g_CaliModeObj.msg.load() == 9002; });
    }
}

// A failed range aborts with its own two-line text: the high range after the low one was stored, with the
// keys free again; the low range refuses a second start until a point exit or the menu's EXIT, and a start
// then runs from the first point.
TEST_F(CalibrationTest, AFailedRangeAbortsWithItsOwnText) {
    for (const auto& p : kProcedures) {
        for (int run = 0; run < 3; ++run) {
            const bool high = run == 0, menuExit = run == 2;
            SCOPED_TRACE(std::string(p.what) +
                         (high ? " high range" : menuExit ? " menu EXIT" : " point exit"));
            test::StartCaliMode();
            Stage().ScriptCaliStatus(high ? std::vector<uint32_t>{0, 0, 0, 1, 0, 0, 0, 2}
                                          : std::vector<uint32_t>{0, 0, 0, 2, 0});
            g_ParamFlags |= core::kFlagKeysLocked;
            test::ClearTrace();
            caliEnterStep(p.first);
            CountPoints(p, high ? 6 : 3);
            ASSERT_FALSE(HasFatalFailure());
            ASSERT_GE(StepUntil([] { return !Commands().empty() && Commands().back() == 32; }, 400), 0);
            EXPECT_EQ(Commands(), high ? (std::vector<uint32_t>{16, 16, 16, 8, 16, 16, 16, 32})
                                       : (std::vector<uint32_t>{16, 16, 16, 32}));
            EXPECT_EQ(test::PopupText(), high ? p.failedHigh : p.failed);
            EXPECT_EQ(g_MsgPopupLines.load(), 2u);
            if (high) {
                EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u);
                p.leavePoint();
                StepUntil([] { return g_CaliModeObj.msg.load() == 9002; });
                continue;
            }
            StepUntil([] { return false; }, 5);
            EXPECT_EQ(p.start(), -1) << "a start while the failed range holds";

            if (menuExit) {
                EXPECT_EQ(CaliModeStart(), 9002);
            } else {
                p.leavePoint();
            }
            ASSERT_GE(StepUntil([] {
                          return g_CaliModeObj.msg.load() == 9002 && test::PendingCaliModeEvent() == 0;
                      }),
                      0);

            Stage().ScriptCaliStatus({0});
            g_MenuState = 316;
            caliEnterStep(p.first);
            EXPECT_EQ(g_MenuState.load(), p.first);
            ASSERT_GE(StepUntil(p.waits), 0) << "the new start never reached its first point";
            EXPECT_EQ(g_CaliModeObj.msg.load(), p.running);
            test::ClearTrace();
            p.count(10);
            ASSERT_GE(StepUntil([] { return !Commands().empty(); }), 0);
            EXPECT_EQ(g_MenuState.load(), p.first + 1) << "the first point was not the one taken";
            p.leavePoint();
            ASSERT_GE(StepUntil([] { return g_CaliModeObj.msg.load() == 9002; }), 0);
        }
    }
}

// A measured point that the stage takes closes a held popup, with whatever is pending.
TEST_F(CalibrationTest, ATakenPointClosesAHeldPopup) {
    Stage().ScriptCaliStatus({0, 0, 0, 2, 0});
    caliEnterStep(317);
    ASSERT_GE(StepUntil(VoltWaits), 0);
    test::HoldPopup("Processing...");
    ASSERT_EQ(MsgQueue_PostId(11), 0);
    test::ClearTrace();
    CaliVoltAvgSet(10);
    StepUntil([] { return !Commands().empty(); });
    EXPECT_EQ(Commands(), std::vector<uint32_t>{16});
    EXPECT_EQ(MsgQueue_Count(), 0u);
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0);
}

// The menu's EXIT resets the stage at the next 4 ms step, also the first step after the object started;
// the data exits 40 ms later. The records are refreshed again from then on.
TEST_F(CalibrationTest, ExitsResetTheStage) {
    const struct {
        int32_t (*exit)();
        bool fresh;
        int steps;
    } cases[] = {
        {CaliModeStart, true, 1},
        {CaliModeStart, false, 1},
        // The step that takes the exit, ten 4 ms steps of delay, the reset.
        {CaliSaveDone, false, 12},
        {CaliRecallDone, false, 12},
        {CaliDefaultDone, false, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << (c.fresh ? " fresh" : ""));
        if (c.fresh) core::CalStateReset(), CaliMode_Step();
        test::ClearTrace();
        g_CalState.measuring = 1;
        EXPECT_EQ(c.exit(), 9002);
        EXPECT_EQ(StepUntil([] { return !Commands().empty(); }), c.steps);
        EXPECT_EQ(Commands(), std::vector<uint32_t>{32});
        EXPECT_EQ(g_CalState.measuring.load(), 0u);
    }
}

TEST_F(CalibrationTest, ModeWordOfAnyPhaseHoldsUntilTheResetEndsIt) {
    for (uint16_t mode : {0x11, 0x12, 0x14, 0x21, 0x47}) {
        g_CalState.mode = mode;
        EXPECT_TRUE(CalibrationModeActive()) << mode;
        EXPECT_EQ(CaliModeStart(), 9002);
        EXPECT_GE(StepUntil([] { return !CalibrationModeActive(); }), 0) << mode;
    }
}

TEST_F(CalibrationTest, StartAfterACountSetWhileIdleStillRuns) {
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        CaliVoltAvgSet(5);  // nothing runs: the procedure is left holding 9109
        CaliMode_Step();
        EXPECT_EQ(CaliVoltStart(), 9002);
        CaliMode_Step();
        EXPECT_GE(StepUntil(VoltWaits), 0);
        EXPECT_EQ(CaliVoltStart(), -1) << "a second start while one runs";
        CaliVoltStepSignal();
        EXPECT_GE(StepUntil([] { return g_CaliModeObj.msg.load() == 9002; }), 0);
    }
}

}  // namespace

// The timer thread only asks; the menu/control thread enters the state with the saved selection.
TEST_F(CalibrationTest, PanelEntriesWaitForTheMenuThread) {
    g_MenuState = 320;
    g_CalState.savedSelection = 4;
    ScreenRequest_SetTaker();  // this thread plays the menu/control thread
    std::thread timer([] { ScreenRequest_Ask(ScreenRequest::kCalibrationPage, 316, kCaliPageEnter); });
    timer.join();
    EXPECT_EQ(g_MenuState.load(), 320u);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_MenuState.load(), 316u);
    EXPECT_EQ(g_EditParam.workValue.load(), 4);
    EXPECT_EQ(ScreenRequest_RunPending(), 0u) << "a request is taken once";
    ScreenRequest_Ask(ScreenRequest::kCalibrationPage, 330, kCaliPageStateOnly);
    EXPECT_EQ(g_MenuState.load(), 316u) << "no calibration state";

    // A state-only request leaves the editor as it is, and replaces a page entry still waiting (which
    // would have loaded the point's editor and started its procedure).
    g_EditParam.workValue = 7;
    std::thread([] {
        ScreenRequest_Ask(ScreenRequest::kCalibrationPage, 317, kCaliPageEnter);
        ScreenRequest_Ask(ScreenRequest::kCalibrationPage, 320, kCaliPageStateOnly);
    }).join();
    EXPECT_EQ(g_MenuState.load(), 316u);
    EXPECT_EQ(ScreenRequest_RunPending(), 1u);
    EXPECT_EQ(g_MenuState.load(), 320u);
    EXPECT_EQ(g_EditParam.workValue.load(), 7);
}
