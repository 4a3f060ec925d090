// The SEQ/SIM run control and the step selection of the remote SEQ editing, on the SEQ/SIM engine and the
// simulated power stage: what reaches the stage's sequencer, and the run-time edit permission.
#include <gtest/gtest.h>

#include <string>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/system/state/output_flags.h"
#include "engine/run/seqsim_run.h"
#include "engine/run/seqsim_runner.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using namespace scpi;
using Handler = int (*)(ScpiInterface*);
constexpr uint16_t kSeqSimCmdReg = 2351;
constexpr const char* kSystem = "|112";
constexpr const char* kRange = "|53";
enum : int32_t { kStop = 0, kStart = 1, kHold = 2 };

int32_t g_changedStep = -1;

class SeqRemoteControl : public ::testing::Test {
  protected:
    void SetUp() override {
        OutputFlagSet(kOutFlagOutputOn);
        g_changedStep = -1;
        ScreenRequestRunners hooks{};
        hooks.seqStepChanged = [](int32_t step) { g_changedStep = step; };
        ScreenRequest_SetRunners(hooks);
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        core::OutputFlagsReset();
    }
    std::string Call(Handler handler, uint8_t type, int32_t value) { return ch.Call(handler, false, type, value); }
    static std::vector<test::RegWrite> Commands() { return test::WritesTo(kSeqSimCmdReg); }
    test::SeqSimEnv env_;
    scpitest::FakeChannel ch{kChanLan};
};

// Without an active SEQ/SIM function STARt and HOLD would drive the stage's sequencer in normal operation:
// refused and nothing sent; STOP has nothing to stop; a number is not an action.
TEST_F(SeqRemoteControl, StartAndHoldNeedAnActiveFunction) {
    struct Case {
        Handler handler;
        uint8_t type;
        int32_t action;
        const char* result;
    } cases[] = {{CmdTrigSeqSelExec, kItemChoice, kStart, kSystem}, {CmdTrigSeqSelExec, kItemChoice, kHold, kSystem},
                 {CmdTrigSimSelExec, kItemChoice, kStart, kSystem}, {CmdTrigSimSelExec, kItemChoice, kHold, kSystem},
                 {CmdTrigSeqSelExec, kItemChoice, kStop, "|0"},     {CmdTrigSeqSelExec, kItemInt, kStart, kSystem}};
    for (const Case& c : cases) {
        test::ClearTrace();
        EXPECT_EQ(Call(c.handler, c.type, c.action), c.result) << c.action;
        EXPECT_TRUE(Commands().empty()) << c.action;
        EXPECT_EQ(SeqSimIsRunning(), 0);
    }
    OutputFlagSet(kOutFlagSeqSimActive);
    test::ClearTrace();
    EXPECT_EQ(Call(CmdTrigSeqSelExec, kItemChoice, kStart), "|0");
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].raw & 0xFF, 1u) << "the run command";
    EXPECT_EQ(Call(CmdTrigSeqSelExec, kItemChoice, kStop), "|0");
    EXPECT_EQ(Commands().back().raw & 0xFF, 2u) << "the stop command";
    g_SeqSimBlock[0].flags = 0;
}

// A second HOLD leaves a SEQ run held but resumes a SIM run; STARt resumes a held run of either.
TEST_F(SeqRemoteControl, HoldTwiceHoldsSequenceButTogglesSimulation) {
    OutputFlagSet(kOutFlagSeqSimActive);
    struct Case {
        Handler handler;
        int32_t first, second;
        int paused;
        uint32_t lastCommand;
    } cases[] = {{CmdTrigSeqSelExec, kHold, kHold, 1, 4}, {CmdTrigSimSelExec, kHold, kHold, 0, 1},
                 {CmdTrigSeqSelExec, kHold, kStart, 0, 1}, {CmdTrigSimSelExec, kHold, kStart, 0, 1}};
    for (const Case& c : cases) {
        g_SeqSimBlock[0].flags = kRunFlagRunning;
        test::ClearTrace();
        EXPECT_EQ(Call(c.handler, kItemChoice, c.first), "|0");
        EXPECT_EQ(SeqSimIsPaused(), 1);
        EXPECT_EQ(Call(c.handler, kItemChoice, c.second), "|0");
        EXPECT_EQ(SeqSimIsPaused(), c.paused) << c.second;
        ASSERT_FALSE(Commands().empty());
        EXPECT_EQ(Commands().back().raw & 0xFF, c.lastCommand) << c.second;
    }
    g_SeqSimBlock[0].flags = 0;
}

// A three-step program (step 2 ends it) of the default steps, downloaded and run on the stage's sequencer
// by the runner's ticks: STARt, HOLD, HOLD, STARt, STOP as SEQ:COND? sees them; while it runs only step 0
// may be chosen for editing.
TEST_F(SeqRemoteControl, RunSceneAsTheConditionSeesIt) {
    plat::SetTimeScale(1.0);
    engine::SeqSimRunnerReset();
    SeqSimResetEngine(kEngineSeq);
    for (int s = 0; s < 3; ++s)
        g_SeqSimBlock[0].seqTable[0][s].time = 1000000;  // 100 s
    g_SeqSimBlock[0].seqTable[0][2].flags |= kTermEnd << kSeqTermShift;
    SeqDownloadAll();
    OutputFlagSet(kOutFlagSeqSimActive);
    auto condition = [&] { return ch.Call(CmdSeqCond, true, kItemOmitted, 0); };
    auto tickUntil = [&](const std::string& want) {
        for (int i = 0; i < 1500 && condition() != want; ++i) {
            SeqSimRunControl();
            plat::SleepMs(2);
        }
        return condition();
    };
    ASSERT_EQ(tickUntil("+0|0"), "+0|0");
    struct Step {
        Handler handler;
        int32_t value;
        const char* result;
        const char* condition;
    } steps[] = {{CmdTrigSeqSelExec, kStart, "|0", "+1|0"}, {CmdTrigSeqSelExec, kHold, "|0", "+2|0"},
                 {CmdTrigSeqSelExec, kHold, "|0", "+2|0"},  {CmdTrigSeqSelExec, kStart, "|0", "+1|0"},
                 {CmdSeqStep, 2, kSystem, "+1|0"},          {CmdSeqStep, 0, "|0", "+1|0"},
                 {CmdTrigSeqSelExec, kStop, "|0", "+0|0"}};
    for (const Step& st : steps) {
        EXPECT_EQ(Call(st.handler, st.handler == CmdSeqStep ? kItemInt : kItemChoice, st.value), st.result)
            << st.value;
        EXPECT_EQ(tickUntil(st.condition), st.condition) << st.value;
    }
    EXPECT_EQ(g_SeqSimScreen.remoteStep0.load(), 1u) << "granted by SEQ:STEP 0 while running";
}

// Idle, a step is selected and the panel told; running, only step 0 may be chosen, and choosing it grants
// the edit of step 0; every valid choice first withdraws that grant. Negatives are out of range too.
TEST_F(SeqRemoteControl, StepSelectionAndTheRunTimeEditWord) {
    struct Case {
        bool running;
        int32_t step;
        const char* result;
        uint32_t grant;
        int32_t current, hooked;
    } cases[] = {{false, 7, "|0", 0, 7, 7},     {false, -1, kRange, 1, 7, -1},  {false, 1000, kRange, 1, 7, -1},
                 {true, 2, kSystem, 0, 7, -1},  {true, 0, "|0", 1, 7, -1},      {false, 0, "|0", 0, 0, 0}};
    for (const Case& c : cases) {
        g_SeqSimBlock[0].flags = c.running ? kRunFlagRunning : 0;
        g_SeqSimScreen.remoteStep0 = 1;
        g_changedStep = -1;
        EXPECT_EQ(Call(CmdSeqStep, kItemInt, c.step), c.result) << c.step;
        EXPECT_EQ(g_SeqSimScreen.remoteStep0.load(), c.grant) << c.step;
        EXPECT_EQ(SeqGetCurStep(), c.current) << c.step;
        EXPECT_EQ(g_changedStep, c.hooked) << c.step;
    }
    g_SeqSimBlock[0].flags = 0;
    // "SEQ:STEP?;..." reaches the query with its optional parameter omitted: the current step, as alone.
    EXPECT_EQ(ch.Run("SEQ:STEP?;*OPC?"), "+0;1|");
    g_SeqSimRemoteSel[0] = 1;
    EXPECT_EQ(Call(CmdSeqInstSel, kItemInt, -1), kRange);
    EXPECT_EQ(g_SeqSimRemoteSel[0].load(), 1u);
    EXPECT_EQ(Call(CmdSeqInstSel, kItemChoice, 0), "|0");
    EXPECT_EQ(g_SeqSimRemoteSel[0].load(), 0u);
}

// Step 0 has no step end, jump or branch targets: a CPAR that asks for one on step 0 is refused with the
// field's number and changes nothing. Its accepted write checks only what it sent: on a stage the entry's
// download has not reached yet, step 0's jump count register still differs from the step's record.
TEST(SeqRemoteEdit, CommonWriteOnStepZeroRefusesWhatStepZeroLacks) {
    test::SeqSimEnv env;
    scpitest::MenuEnv menu;
    scpitest::FakeChannel ch{kChanLan};
    static int mismatches;
    mismatches = 0;
    SeqSimSetCheckHooks({.seq = [](int mismatch) { mismatches += mismatch; }});
    const std::string rangeAt = "-222,\"Data out of range;";
    struct Case {
        const char* fields;  // parameters 6-14
        const char* error;
    } cases[] = {{"END,0,0,0,0,0,0,0,0,0", "06"},  {"HOLD,0,0,0,0,0,0,0,0,0", "06"},
                 {"CONT,5,0,0,0,0,0,0,0,0", "07"}, {"CONT,0,ON,0,0,0,0,0,0,0", "08"},
                 {"CONT,0,0,7,0,0,0,0,0,0", "09"}, {"CONT,0,0,0,0,4,0,0,0,0", "11"},
                 {"CONT,0,0,0,0,0,0,9,0,0", "13"}};
    const std::string before = ch.Run("SEQ:STEP 0;CPAR?");
    for (const Case& c : cases) {
        EXPECT_EQ(ch.Run(std::string("SEQ:CPAR 3,0,OFF,0,OFF,") + c.fields), "|" + rangeAt + c.error + "\"")
            << c.fields;
        EXPECT_EQ(ch.Run("SEQ:CPAR?"), before) << c.fields;
    }
    // What a script read it can write back: step 0 reports its stored jump count.
    EXPECT_EQ(ch.Run("SEQ:CPAR " + before.substr(0, before.size() - 1) + ";CPAR?"), before);
    EXPECT_EQ(ch.Run("SEQ:CPAR 3,0,OFF,0,OFF,CONT,0,0,0,1,0,ON,0,0,0;CPAR?"),
              "+3.0000,+0.0,+0,+0.0,+0,CONT,+0,+0,+1,+1,+0,+1,+0,+0,+0|");
    EXPECT_EQ(mismatches, 0) << "no read-back of a register the write did not send";
    // A later step takes them all.
    EXPECT_EQ(ch.Run("SEQ:STEP 4;CPAR 3,0,OFF,0,OFF,END,5,ON,7,0,8,0,9,0,0;CPAR?"),
              "+3.0000,+0.0,+0,+0.0,+0,END,+5,+1,+7,+0,+8,+0,+9,+0,+0|");
}

// A refused step write changes nothing: every value is checked before the first is written, so the step
// keeps its waveform and voltages when a later value (the ACV over the new waveform's ceiling, the
// frequency, the duty, the DCV, an angle) is the one refused; in Vpp as in Vrms. The same for the common
// values: a refused ON or OFF phase or jump count leaves the time and the targets as they were.
TEST(SeqRemoteEdit, ARefusedWriteLeavesTheStepAsItWas) {
    test::SeqSimEnv env;
    scpitest::MenuEnv menu;
    scpitest::FakeChannel ch{kChanLan};
    const std::string rangeAt = "|-222,\"Data out of range;";
    struct Case {
        int32_t unit;  // 0 Vrms, 1 Vpp
        const char* step;
        const char* refused;
        const char* error;
    } cases[] = {
        {0, "NSP 120,CONST,0,CONST,60,CONST,SIN,50,0", "NSP 150,CONST,0,CONST,70,CONST,TRI,50,0", "01"},
        {0, "NSP 120,CONST,0,CONST,60,CONST,SIN,50,0", "NSP 100,CONST,0,CONST,99999,CONST,TRI,50,0", "05"},
        {0, "NSP 120,CONST,0,CONST,60,CONST,SIN,50,0", "NSP 100,CONST,0,CONST,70,CONST,SQU,0,0", "08"},
        {0, "NSP 120,CONST,0,CONST,60,CONST,SIN,50,0", "NSP 100,CONST,900,CONST,70,CONST,TRI,50,0", "03"},
        {0, "SPAR 120,CONST,0,CONST,60,CONST,SIN,0", "SPAR 100,SWEEP,0,CONST,99999,CONST,TRI,0", "05"},
        {1, "NSP 200,CONST,0,CONST,60,CONST,TRI,50,0", "NSP 100,CONST,0,CONST,99999,CONST,SIN,50,0", "05"},
        {1, "NSP 200,CONST,0,CONST,60,CONST,TRI,50,0", "NSP 100,CONST,0,CONST,70,CONST,SIN,0,0", "08"},
        {0, "CPAR 2,10,ON,20,ON,CONT,5,ON,3,1,6,ON,7,ON,0", "CPAR 4,400,ON,20,ON,END,8,ON,4,2,9,ON,9,ON,0",
         "02"},
        {0, "CPAR 2,10,ON,20,ON,CONT,5,ON,3,1,6,ON,7,ON,0", "CPAR 4,30,OFF,400,ON,END,8,ON,4,2,9,ON,9,ON,0",
         "04"},
        {0, "CPAR 2,10,ON,20,ON,CONT,5,ON,3,1,6,ON,7,ON,0",
         "CPAR 4,30,OFF,40,OFF,END,8,OFF,10000,2,9,ON,9,ON,0", "09"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused);
        SetAcvUnit(c.unit);
        const std::string query = c.step[0] == 'C' ? "SEQ:CPAR?" : "SEQ:NSP?";
        ASSERT_EQ(ch.Run(std::string("SEQ:STEP 3;") + c.step), "|");
        const std::string before = ch.Run(query);
        EXPECT_EQ(ch.Run(std::string("SEQ:") + c.refused), rangeAt + c.error + "\"");
        EXPECT_EQ(ch.Run(query), before);
    }
    SetAcvUnit(0);
    // L2's angle is refused after its voltages and frequency would have been written.
    ASSERT_EQ(ch.Run("SEQ:INST:SEL L2;:SEQ:NSP 120,CONST,0,CONST,60,CONST,SIN,50,120"), "|");
    const std::string before = ch.Run("SEQ:NSP?");
    EXPECT_EQ(ch.Run("SEQ:NSP 100,CONST,10,CONST,70,CONST,TRI,40,400"), "|-222,\"Data out of range\"");
    EXPECT_EQ(ch.Run("SEQ:NSP?"), before);
}

// A SEQ memory recalled remotely is the program as stored: the changes-pending mark goes; a recall that
// fails leaves the program, and its mark, as they were.
TEST(SeqMemRemote, ARecallClearsTheChangesPendingMark) {
    test::SeqSimEnv env;
    scpitest::FakeChannel ch{kChanLan};
    ASSERT_GT(SeqMem_Save(3), 0);
    SeqSimSetDirty();
    EXPECT_EQ(ch.Call(CmdDataSeqRec, false, kItemInt, 5), "|" + std::to_string(kScpiErrExecution));
    EXPECT_NE(SeqSimIsDirty(), 0) << "no SEQ5 to recall";
    EXPECT_EQ(ch.Call(CmdDataSeqRec, false, kItemInt, 3), "|0");
    EXPECT_EQ(SeqSimIsDirty(), 0);
}

}  // namespace
