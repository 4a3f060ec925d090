// SEQ run control and the runner thread's state object, on the simulated power stage's sequencer.
#include "engine/run/seqsim_run.h"

#include "core/control/ctrl_task_state.h"
#include "core/regbus/reg_read.h"
#include "engine/run/seqsim_runner.h"
#include "platform/host/clock.h"
#include "platform/stage/reg_map.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

class SeqRun : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::SetTimeScale(1.0);  // the simulated sequencer runs the steps in instrument time
        engine::SeqSimRunnerReset();
        SeqSimResetEngine(kEngineSeq);
        Tick(3);  // prepare, reset, ready
        ASSERT_EQ(SeqSimRunStateIsStop(), 1);
    }
    void TearDown() override { OutputFlagsReset(); }
    static SeqStepRecord& Step(int s) { return g_SeqSimBlock[0].seqTable[0][s]; }
    // Steps 0-4 of `tenthsMs` each, step 4 ending the program; downloaded.
    static void Program(uint32_t tenthsMs) {
        for (int s = 0; s < 5; ++s)
            Step(s).time = tenthsMs;
        Step(4).flags |= kTermEnd << kSeqTermShift;
    }
    static void Download() {
        SeqDownloadAll();
        ASSERT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    }
    static void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            SeqSimRunControl();
            plat::SleepMs(2);
        }
    }
    // Ticks until pred holds, at most 3 s.
    template <typename Pred>
    static bool TickUntil(Pred pred) {
        for (int i = 0; i < 1500 && !pred(); ++i)
            Tick();
        return pred();
    }
    static void OutputFlagsReset() { core::OutputFlagsReset(); }
    test::SeqSimEnv env_;
};

TEST_F(SeqRun, RefusedWithTheOutputOffOrAnInvalidTableThenRunsToItsEnd) {
    Program(300);
    Download();
    test::ClearTrace();
    EXPECT_EQ(SeqSimRunStopToggle(), -1);
    EXPECT_EQ(test::PopupText(), "Invalid with Output OFF, \nTurn ON the Output First");
    OutputFlagSet(kOutFlagOutputOn);
    const uint32_t acv = Step(2).acv;
    Step(2).acv = 999999;
    EXPECT_EQ(SeqSimRunStopToggle(), -1);
    EXPECT_EQ(SeqSimIsRunning(), 0);
    EXPECT_TRUE(test::WritesTo(regmap::kSeqSimCmd).empty());
    Step(2).acv = acv;
    ASSERT_EQ(SeqSimRunStopToggle(), 0);
    uint32_t last = 0;
    bool ordered = true;
    ASSERT_TRUE(TickUntil([&] {
        const uint32_t step = SeqSimGetCurStep();
        ordered &= step >= last;
        last = step;
        return SeqSimIsRunning() == 0;
    }));
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last, 4u);
    EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, 1u);
}

// RUN checks the table the run plays: in SIM the set of the present range (the 200V set in the 200V range,
// the 100V set in the 100V range); a spoilt set of the other range does not stop it.
TEST_F(SeqRun, SimRunChecksTheSetOfItsOwnRange) {
    struct Row {
        uint32_t userRange;  // 0 100V, 1 200V
        int setInUse;        // 0 the 200V set, 1 the 100V set
    };
    for (const Row row : {Row{0, 1}, Row{1, 0}}) {
        for (int spoilt = 0; spoilt < kSimSets; ++spoilt) {
            SCOPED_TRACE(testing::Message() << "range " << row.userRange << ", set " << spoilt << " spoilt");
            SetVoltRange(RangeUserToCode(row.userRange));
            ASSERT_EQ(GetVoltRange(), static_cast<int32_t>(row.userRange));
            test::EnterSim();
            SeqSimResetEngine(kEngineSim);
            Tick(3);
            EXPECT_EQ(g_SeqSimErrors.simInvalid.load(), 0u) << "every set valid when prepared";
            OutputFlagSet(kOutFlagOutputOn);
            SimStepRecord& r = g_SimStepTable[spoilt][0][kSimNormal1];
            const SimStepRecord keep = r;
            r.time = 0;
            const bool inUse = spoilt == row.setInUse;
            EXPECT_EQ(SeqSimRunStopToggle(), inUse ? -1 : 0);
            EXPECT_EQ(SeqSimIsRunning(), inUse ? 0 : 1);
            if (!inUse) SeqSimRunStopToggle();
            r = keep;
        }
    }
}

// The run monitor reads the record of the step being run; STOP ends the run on step 0.
TEST_F(SeqRun, MonitorReadsTheRunStepAndStopReturnsToStepZero) {
    Program(99999999);
    Step(0).time = 300;
    Step(1).acv = 1234;
    Step(1).dcv = -567;
    Step(1).fset = 7000;
    Download();
    OutputFlagSet(kOutFlagOutputOn);
    ASSERT_EQ(SeqSimRunStopToggle(), 0);
    ASSERT_TRUE(TickUntil([] { return SeqSimGetCurStep() == 1; }));
    EXPECT_EQ(SeqRunGetAcv(), 1234);
    EXPECT_EQ(SeqRunGetDcv(), -567);
    EXPECT_EQ(SeqRunGetFset(), 7000);
    EXPECT_EQ(SeqRunGetWave(), static_cast<int32_t>(Step(1).wave));
    ASSERT_EQ(SeqSimRunStopToggle(), 0);
    EXPECT_EQ(SeqSimGetCurStep(), 0u);
    EXPECT_TRUE(TickUntil([] { return SeqSimIsRunning() == 0; }));
    EXPECT_EQ(SeqSimGetCurStep(), 0u);
}

// A stop request (also one made as the function is left), and the output found off by any other path
// (also while held), end the run: the sequencer stops and the run stays ended.
TEST_F(SeqRun, TheRunEndsWithItsOutput) {
    enum Way { kStopRequest, kOutputOff, kOutputOffHeld, kLeft };
    for (const Way way : {kStopRequest, kOutputOff, kOutputOffHeld, kLeft}) {
        SetUp();
        Program(99999999);
        Download();
        OutputFlagSet(kOutFlagOutputOn);
        ASSERT_EQ(SeqSimRunStopToggle(), 0);
        Tick(2);
        if (way == kOutputOffHeld) SeqSimTogglePause();
        ASSERT_EQ(SeqSimIsRunning(), 1);
        test::ClearTrace();
        g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.store(0);
        if (way == kLeft) SeqSimSetMode(0);
        way == kStopRequest || way == kLeft ? SeqSimRequestStop() : OutputFlagClear(kOutFlagOutputOn);
        Tick(10);
        EXPECT_EQ(SeqSimIsRunning(), 0) << way;
        EXPECT_EQ(BusReg_GetRunState(), 0) << way;
        EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, 2u) << way;
        EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load(), uint32_t{core::kCtrlMsgOutputOff}) << way;
        EXPECT_EQ(SeqSimRunStateIsStop(), way == kLeft ? 0 : 1) << way;  // left: back to prepare
        OutputFlagSet(kOutFlagOutputOn);
    }
}

// HOLD on step 0, then a branch trigger: taken only when enabled with a target inside the table.
TEST_F(SeqRun, BranchWhileHeld) {
    struct Row {
        int branch;
        bool enabled;
        uint32_t liveTarget;  // the target the runner finds in the record
        uint32_t step;
        bool stillPending;
    } rows[] = {{1, true, 3, 3, false}, {1, false, 3, 0, true}, {1, true, 5000, 0, true},
                {2, true, 2, 2, false}, {2, false, 2, 0, true}, {2, true, 5000, 0, true}};
    for (const Row& row : rows) {
        SetUp();
        Program(99999999);
        const uint32_t enable = row.branch == 1 ? kSeqEnBranch1 : kSeqEnBranch2;
        const uint32_t other = row.branch == 1 ? kSeqEnBranch2 : kSeqEnBranch1;
        Step(0).flags = (row.enabled ? (Step(0).flags | enable) : (Step(0).flags & ~enable)) | other;
        Step(0).branch1 = row.branch == 1 ? 3 : 4;
        Step(0).branch2 = row.branch == 2 ? 2 : 4;
        Download();
        OutputFlagSet(kOutFlagOutputOn);
        ASSERT_EQ(SeqSimRunStopToggle(), 0);
        Tick(2);
        SeqSimTogglePause();
        EXPECT_EQ(SeqSimIsPaused(), 1);
        EXPECT_EQ(BusReg_GetRunState(), 3);
        (row.branch == 1 ? Step(0).branch1 : Step(0).branch2) = row.liveTarget;
        test::ClearTrace();
        SeqSimTriggerBranch(row.branch);
        EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, row.branch == 1 ? 8u : 16u);
        Tick();
        const uint32_t pending = row.branch == 1 ? kRunFlagBranch1 : kRunFlagBranch2;
        EXPECT_EQ(SeqSimGetCurStep(), row.step) << row.branch << " " << row.enabled << " " << row.liveTarget;
        EXPECT_EQ((g_SeqSimBlock[0].flags.load() & pending) != 0, row.stillPending) << row.branch;
        EXPECT_EQ(SeqSimRunStateIsStop(), row.stillPending ? 0 : 1);
        SeqSimRunStopToggle();
        Step(0).branch1 = 3;
        Step(0).branch2 = 0;
    }
}

TEST_F(SeqRun, JumpCounterFollowsTheStageOnJumpSteps) {
    Step(3).flags |= kSeqEnJumpto;
    Step(3).jumpTo = 1;
    test::Stage().SetRead(regmap::kRunState, 0, 2);
    test::Stage().SetRead(regmap::kRepeatCount, 0, 7);
    g_SeqSimBlock[0].jumpCounter.store(0);
    test::Stage().SetRead(regmap::kRunStep, 0, 2);
    SeqSimRunPoll();
    EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), 0u) << "step 2 has no jump";
    test::Stage().SetRead(regmap::kRunStep, 0, 3);
    SeqSimRunPoll();
    EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), 7u);
    test::Stage().SetRead(regmap::kRepeatCount, 0, 6);
    SeqSimRunPoll();
    EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), 6u);
    test::Stage().SetRead(regmap::kRunStep, 0, 4);
    test::Stage().SetRead(regmap::kRepeatCount, 0, 5);
    SeqSimRunPoll();
    EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), 6u) << "kept off the jump step";
    test::Stage().SetRead(regmap::kRunState, 0, 0);
    test::Stage().SetRead(regmap::kRunStep, 0, 3);
    SeqSimRunPoll();
    EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), 6u) << "not while idle";
}

TEST_F(SeqRun, RunTimeAndStepRegisters) {
    struct Row {
        uint32_t time, hours, minutes, seconds;
    } rows[] = {{372100000, 1, 2, 1}, {5990000, 0, 0, 59}, {6000000, 0, 1, 0}};
    for (const Row& row : rows) {
        test::Stage().SetRead(regmap::kRunTime, 0, row.time);
        SeqSimUpdateElapsed();
        EXPECT_EQ(SeqSimGetRunHours(), row.hours) << row.time;
        EXPECT_EQ(SeqSimGetRunMinutes(), row.minutes) << row.time;
        EXPECT_EQ(SeqSimGetRunSeconds(), row.seconds) << row.time;
    }
    test::Stage().SetRead(regmap::kRunState, 0, 2);
    for (const auto& [reg, step] : {std::pair{999u, 999u}, std::pair{5000u, 999u}, std::pair{1000u, 999u}}) {
        test::Stage().SetRead(regmap::kRunStep, 0, reg);
        SeqSimRunPoll();
        EXPECT_EQ(SeqSimGetCurStep(), step) << reg;
    }
}

// 50 ticks of activity start the run control; it is left one tick after the active bit clears.
TEST_F(SeqRun, RunnerNeedsActivityFor100Ms) {
    auto pass = [](int n) {
        for (int i = 0; i < n; ++i)
            SeqSimThread_Pass();
    };
    engine::SeqSimRunnerReset();
    SeqSimResetEngine(kEngineSeq);
    OutputFlagSet(kOutFlagSeqSimActive);
    pass(49);
    OutputFlagClear(kOutFlagSeqSimActive);
    pass(100);
    EXPECT_EQ(g_SeqSimRunnerObj.state.load(), 1u);
    EXPECT_EQ(engine::SeqSimRunnerActivity(), 0u);
    EXPECT_EQ(SeqSimRunStateIsStop(), 0) << "the run control never ran";
    OutputFlagSet(kOutFlagSeqSimActive);
    pass(54);
    EXPECT_EQ(g_SeqSimRunnerObj.state.load(), 2u);
    EXPECT_EQ(SeqSimRunStateIsStop(), 1);
    OutputFlagClear(kOutFlagSeqSimActive);
    pass(3);
    EXPECT_EQ(g_SeqSimRunnerObj.state.load(), 1u);
    EXPECT_EQ(engine::SeqSimRunnerLastMode(), 1u);
}

}  // namespace
