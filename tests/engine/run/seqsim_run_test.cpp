// SEQ run control and the runner thread's state object, on the simulated power stage's sequencer.
#include "engine/run/seqsim_run.h"

#include "core/control/ctrl_task_state.h"
#include "core/control/hooks/screen_request.h"
#include "core/regbus/reg_read.h"
#include "core/system/messaging/msg_ring.h"
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

// The counter follows the stage's repeat count only on a jump step while running.
TEST_F(SeqRun, JumpCounterFollowsTheStageOnJumpSteps) {
    Step(3).flags |= kSeqEnJumpto;
    Step(3).jumpTo = 1;
    g_SeqSimBlock[0].jumpCounter.store(0);
    const struct {
        uint32_t runState, step, repeat, counter;
    } rows[] = {{2, 2, 7, 0}, {2, 3, 7, 7}, {2, 3, 6, 6}, {2, 4, 5, 6}, {0, 3, 5, 6}};
    for (const auto& row : rows) {
        test::Stage().SetRead(regmap::kRunState, 0, row.runState);
        test::Stage().SetRead(regmap::kRunStep, 0, row.step);
        test::Stage().SetRead(regmap::kRepeatCount, 0, row.repeat);
        SeqSimRunPoll();
        EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), row.counter)
            << "state " << row.runState << ", step " << row.step << ", count " << row.repeat;
    }
}

// The step register is taken only inside the table.
TEST_F(SeqRun, RunStepRegisterInsideTheTable) {
    test::Stage().SetRead(regmap::kRunState, 0, 2);
    for (const auto& [reg, step] : {std::pair{999u, 999u}, std::pair{5000u, 999u}, std::pair{1000u, 999u}}) {
        test::Stage().SetRead(regmap::kRunStep, 0, reg);
        SeqSimRunPoll();
        EXPECT_EQ(SeqSimGetCurStep(), step) << reg;
    }
}

// RUN notes the step it was pressed on and starts at step 0; HOLD and resume while running; STOP.
TEST_F(SeqRun, RunHoldResumeAndStopCommands) {
    auto state = [] { return (g_SeqSimBlock[0].runWord.load() >> 9) & 0xFFFFu; };
    Program(99999999);
    Download();
    OutputFlagSet(kOutFlagOutputOn);
    SeqSetCurStep(12);
    test::ClearTrace();
    ASSERT_EQ(SeqSimRunStopToggle(), 0);
    EXPECT_EQ(g_SeqSimBlock[0].stepBeforeRun, 12u);
    EXPECT_EQ(SeqSimGetCurStep(), 0u);
    EXPECT_EQ(SeqSimIsRunning(), 1);
    EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, 1u);
    EXPECT_EQ(g_SeqSimBlock[0].runStep.load(), &Step(0));
    SeqSetCurStep(9);
    SeqSimSetCurStep(2);
    EXPECT_EQ(SeqSimGetCurStep(), 0u) << "no step selection while running";
    // HOLD: command 4, the step the stage is on, paused.
    test::Stage().SetRead(regmap::kRunStep, 0, 3);
    test::ClearTrace();
    SeqSimTogglePause();
    EXPECT_EQ(state(), uint32_t{kRunPause});
    EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, 4u);
    EXPECT_EQ(SeqSimGetCurStep(), 3u);
    EXPECT_EQ(SeqSimIsPaused(), 1);
    EXPECT_EQ(g_SeqSimBlock[0].runStep.load(), &Step(3));
    // Resume: command 1, ready.
    test::ClearTrace();
    SeqSimTogglePause();
    EXPECT_EQ(state(), uint32_t{kRunReady});
    EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, 1u);
    EXPECT_EQ(SeqSimIsPaused(), 0);
    // STOP while held: command 2, ready, not paused, step 0.
    SeqSimTogglePause();
    test::ClearTrace();
    ASSERT_EQ(SeqSimRunStopToggle(), 0);
    EXPECT_EQ(state(), uint32_t{kRunReady});
    EXPECT_EQ(test::OnlyWriteTo(regmap::kSeqSimCmd).raw, 2u);
    EXPECT_EQ(SeqSimIsPaused(), 0);
    EXPECT_EQ(SeqSimGetCurStep(), 0u);
    // HOLD without a run sends nothing and holds nothing.
    g_SeqSimBlock[0].flags = 0;
    test::ClearTrace();
    SeqSimTogglePause();
    EXPECT_TRUE(test::WritesTo(regmap::kSeqSimCmd).empty());
    EXPECT_EQ(SeqSimIsPaused(), 0);
    EXPECT_EQ(state(), uint32_t{kRunReady});
}

// Entering SEQ or SIM is refused with the output on and in the AUTO range, each with its two-line popup;
// an entry clears the recall and save dialog bits and runs the entry of the mode taken.
TEST_F(SeqRun, ModeEntryRefusalsAndEntries) {
    static int seqEntries, simEntries;
    seqEntries = simEntries = 0;
    ScreenRequest_SetRunners({.seqEnter = [] { ++seqEntries; }, .simEnter = [] { ++simEntries; }});
    ScreenRequest_SetTaker();  // the test thread plays the menu/control thread: the entry runs at once
    SeqSimSetMode(0);
    EXPECT_EQ(SeqSimEnterMode(3), -1);
    OutputFlagSet(kOutFlagOutputOn);
    g_MsgPopupLines = 0;
    SeqSimEnterMode(1);
    EXPECT_EQ(test::PopupText(), "Invalid with Output ON, \nTurn OFF the Output First");
    EXPECT_EQ(g_MsgPopupLines.load(), 2u);
    OutputFlagClear(kOutFlagOutputOn);
    const int32_t range = GetVoltRange();
    SetVoltRange(RangeUserToCode(2));
    g_MsgPopupLines = 0;
    SeqSimEnterMode(2);
    EXPECT_EQ(test::PopupText(), "Invalid For Auto Range");
    EXPECT_EQ(g_MsgPopupLines.load(), 2u);
    EXPECT_EQ(SeqSimGetMode(), 0u);
    EXPECT_EQ(seqEntries + simEntries, 0);
    SetVoltRange(RangeUserToCode(static_cast<uint32_t>(range)));
    for (const uint32_t mode : {1u, 2u}) {
        g_SeqSimBlock[0].panelFlags = kSeqPanelRecallOpen | kSeqPanelSaveOpen | kSeqPanelAcvSelected;
        EXPECT_EQ(SeqSimEnterMode(mode), 0);
        EXPECT_EQ(SeqSimGetMode(), mode);
        EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load(), uint8_t{kSeqPanelAcvSelected}) << mode;
        EXPECT_EQ(seqEntries, 1) << mode;
        EXPECT_EQ(simEntries, mode == 2 ? 1 : 0) << mode;
    }
    ScreenRequest_SetRunners({});
    // RUN with the output off: its popup is two lines too.
    SeqSimSetMode(1);
    g_MsgPopupLines = 0;
    EXPECT_EQ(SeqSimRunStopToggle(), -1);
    EXPECT_EQ(g_MsgPopupLines.load(), 2u);
}

// SEQ is taken in the three internal output modes, SIM in AC+DC-INT only, off always; another mode word is
// refused. The memory slots are kept per engine kind.
TEST_F(SeqRun, ModeWordAndSlotsByKind) {
    const uint32_t mode0 = GetOutputMode();
    for (uint32_t out = 0; out < 5; ++out) {
        SetOutputMode(out);
        for (const uint32_t mode : {1u, 2u, 0u}) {
            SeqSimSetMode(0);
            const bool taken = mode == 0 || (mode == 1 && out < 3) || (mode == 2 && out == 0);
            EXPECT_EQ(SeqSimSetMode(mode), taken ? static_cast<int32_t>(mode) : 0) << out << " " << mode;
            EXPECT_EQ(SeqSimGetMode(), taken ? mode : 0u) << out << " " << mode;
            EXPECT_EQ(SeqIsActiveMode(), taken && mode == 1 ? 1 : 0);
            EXPECT_EQ(SimIsActiveMode(), taken && mode == 2 ? 1 : 0);
        }
    }
    SetOutputMode(mode0);
    SeqSimSetMode(1);
    EXPECT_EQ(SeqSimSetMode(3), -1);
    EXPECT_EQ(SeqSimGetMode(), 1u);
    SeqSimResetEngine(kEngineSeq);
    EXPECT_EQ(SeqSimSetSaveSlot(3), uint32_t{kEngineSeq});
    EXPECT_EQ(SeqSimSetRecallSlot(4), uint32_t{kEngineSeq});
    SeqSimResetEngine(kEngineSim);
    EXPECT_EQ(SeqSimGetSaveSlot(), 0u);
    EXPECT_EQ(SeqSimGetRecallSlot(), 0u);
    SeqSimSetSaveSlot(7);
    SeqSimSetRecallSlot(8);
    EXPECT_EQ(SeqSimGetSaveSlot(), 7u);
    EXPECT_EQ(SeqSimGetRecallSlot(), 8u);
    SeqSimResetEngine(kEngineSeq);
    EXPECT_EQ(SeqSimGetSaveSlot(), 3u);
    EXPECT_EQ(SeqSimGetRecallSlot(), 4u);
    SeqSimResetEngine(0);
    EXPECT_EQ(SeqSimGetSaveSlot() + SeqSimGetRecallSlot(), 0u);
}

// Entering a mode saves the present output kind (an internal one; a change marks the kind changed), the
// range (100V or 200V; AUTO leaves it) and the ACV unit with the SEQ and the SIM data.
TEST_F(SeqRun, ModeEntrySavesTheOutputConfiguration) {
    const uint32_t mode0 = GetOutputMode();
    const int32_t range0 = GetVoltRange();
    const struct {
        uint32_t out, userRange, unit;
        uint32_t kind, range;
        bool changed;
    } rows[] = {{1, 0, 1, 1, 0, true}, {1, 1, 0, 1, 1, false}, {2, 2, 1, 2, 1, true},
                {0, 0, 0, 0, 0, true}, {3, 1, 1, 0, 1, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "output " << row.out << ", range " << row.userRange);
        SetOutputMode(row.out);
        SetVoltRange(RangeUserToCode(row.userRange));
        SetAcvUnit(row.unit);
        g_SeqSimBlock[0].kindChanged = 0;
        SeqSimSetMode(0);
        EXPECT_EQ(g_SeqSimBlock[0].seqSaved.kind, row.kind);
        EXPECT_EQ(g_SeqSimBlock[0].seqSaved.range, row.range);
        EXPECT_EQ(g_SeqSimBlock[0].simSaved.range, row.range);
        EXPECT_EQ(g_SeqSimBlock[0].seqSaved.acvUnit, row.unit);
        EXPECT_EQ(g_SeqSimBlock[0].simSaved.acvUnit, row.unit);
        EXPECT_EQ(g_SeqSimBlock[0].kindChanged.load(), row.changed ? 1u : 0u);
    }
    SetAcvUnit(0);
    SetOutputMode(mode0);
    SetVoltRange(RangeUserToCode(static_cast<uint32_t>(range0)));
    // A preparation is pending while the run state is prepare, then until the download (SEQ) or while a
    // SIM preparation is asked for; never outside SEQ and SIM.
    SeqSimSetMode(0);
    EXPECT_FALSE(SeqSimPreparationPending());
    for (const uint32_t mode : {1u, 2u}) {
        SeqSimSetMode(mode);
        SeqSimResetEngine(mode);
        EXPECT_TRUE(SeqSimPreparationPending()) << mode;
        Tick(2);
        SeqPrepStage = kSeqPrepIdle;
        SimPrepRequest = 0;
        EXPECT_FALSE(SeqSimPreparationPending()) << mode;
        (mode == 1 ? SeqPrepStage : SimPrepRequest) = mode == 1 ? kSeqPrepDownload : 1u;
        EXPECT_TRUE(SeqSimPreparationPending()) << mode;
        (mode == 1 ? SimPrepRequest : SeqPrepStage) = mode == 1 ? 1u : kSeqPrepDownload;
        SeqPrepStage = mode == 1 ? uint32_t{kSeqPrepIdle} : uint32_t{kSeqPrepDownload};
        SimPrepRequest = mode == 1 ? 1u : 0u;
        EXPECT_FALSE(SeqSimPreparationPending()) << "the other mode's preparation, " << mode;
        SeqPrepStage = kSeqPrepIdle;
        SimPrepRequest = 0;
    }
}

// The prepare pass marks a kind change only when the wiring saved with the data differs from the present
// one, and saves the present wiring with the data.
TEST_F(SeqRun, PrepareMarksAWiringChange) {
    const uint32_t wiring0 = g_PhaseMode;
    for (uint32_t saved = 0; saved < 3; ++saved) {
        for (uint32_t now = 0; now < 3; ++now) {
            SCOPED_TRACE(testing::Message() << "saved " << saved << ", now " << now);
            g_PhaseMode = now;
            g_SeqSimBlock[0].seqSaved.wiring = saved;
            g_SeqSimBlock[0].simSaved.wiring = saved;
            g_SeqSimBlock[0].kindChanged = 0;
            SeqSimResetEngine(kEngineSeq);
            Tick();
            EXPECT_EQ(g_SeqSimBlock[0].kindChanged.load(), saved != now ? 1u : 0u);
            EXPECT_EQ(g_SeqSimBlock[0].seqSaved.wiring, now);
            EXPECT_EQ(g_SeqSimBlock[0].simSaved.wiring, saved) << "SEQ leaves the SIM data alone";
        }
    }
    g_PhaseMode = wiring0;
}

// The run time register counts 10 us: the seconds carry into minutes from 60 s on, the minutes into hours
// from 60 min on.
TEST_F(SeqRun, ElapsedTimeCarries) {
    const struct {
        uint32_t time, hours, minutes, seconds;
    } rows[] = {{0, 0, 0, 0},           {99999, 0, 0, 0},          {5999999, 0, 0, 59},
                {6000000, 0, 1, 0},     {359999999, 0, 59, 59},    {360000000, 1, 0, 0},
                {372100000, 1, 2, 1},   {4294967295u, 11, 55, 49}};
    for (const auto& row : rows) {
        test::Stage().SetRead(regmap::kRunTime, 0, row.time);
        SeqSimUpdateElapsed();
        EXPECT_EQ(SeqSimGetRunHours(), row.hours) << row.time;
        EXPECT_EQ(SeqSimGetRunMinutes(), row.minutes) << row.time;
        EXPECT_EQ(SeqSimGetRunSeconds(), row.seconds) << row.time;
    }
}

// A SIM run: the stage's state 0-6 is taken, 7 is not; the repeat counter follows the stage only in
// "Normal 2" with its repeat enabled.
TEST_F(SeqRun, SimRunStepsAndRepeatCounter) {
    test::EnterSim();
    SeqSimResetEngine(kEngineSim);
    Tick(3);
    test::Stage().SetRead(regmap::kRunState, 0, 2);
    for (const auto& [reg, state] : {std::pair{6u, 6u}, std::pair{7u, 6u}, std::pair{0u, 0u}, std::pair{5u, 5u}}) {
        test::Stage().SetRead(regmap::kRunStep, 0, reg);
        SeqSimRunPoll();
        EXPECT_EQ(SeqSimGetCurStep(), state) << reg;
    }
    EXPECT_EQ(g_SeqSimBlock[0].runStep.load(), nullptr) << "a SIM run has no SEQ record";
    const struct {
        uint32_t state;
        bool enabled;
        uint32_t counter;
    } rows[] = {{kSimNormal2, true, 7}, {kSimNormal2, false, 0}, {kSimNormal1, true, 0}, {kSimAbnormal, true, 0}};
    test::Stage().SetRead(regmap::kRepeatCount, 0, 7);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.state << " " << row.enabled);
        for (int set = 0; set < kSimSets; ++set) {
            uint32_t& flags = g_SimStepTable[set][0][kSimNormal2].flags;
            flags = row.enabled ? flags | kSimEnRepeat : flags & ~kSimEnRepeat;
            g_SimStepTable[set][0][kSimNormal1].flags |= kSimEnRepeat;
            g_SimStepTable[set][0][kSimAbnormal].flags |= kSimEnRepeat;
        }
        g_SeqSimBlock[0].jumpCounter = 0;
        test::Stage().SetRead(regmap::kRunStep, 0, row.state);
        SeqSimRunPoll();
        EXPECT_EQ(g_SeqSimBlock[0].jumpCounter.load(), row.counter);
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
