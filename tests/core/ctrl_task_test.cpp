// The control task, through the register trace of the simulated power stage.
#include "core/control/ctrl_task.h"

#include <gtest/gtest.h>

#include <bit>

#include "core/control/alarm_state.h"
#include "core/control/calibration.h"
#include "core/control/output_request.h"
#include "core/control/output_sync.h"
#include "core/params/arb_mem.h"
#include "core/params/param_access.h"
#include "core/params/param_store.h"
#include "core/regbus/regbus.h"
#include "core/system/ctrl_words.h"
#include "core/system/fw_update_state.h"
#include "core/system/model_table.h"
#include "core/system/msg_ring.h"
#include "core/system/parallel_link.h"
#include "core/system/stage_status.h"
#include "core/system/sys_status.h"
#include "ctrl_fixture.h"

using test::CtrlEnv;

namespace {

class CtrlTask : public ::testing::Test {
  protected:
    CtrlEnv env_;

    // The task running, with the settings of the factory default written (one per pass).
    static void Running() {
        ASSERT_TRUE(CtrlEnv::RunUntilRunning());
        CtrlEnv::Poll(30);
        CtrlEnv::ClearTrace();
    }
    static uint32_t Shadow(int word) { return g_OutputShadow[0][word]; }
};

TEST_F(CtrlTask, StartupWaitRunsWithoutAPowerOnAction) {
    ASSERT_EQ(paramGetValue(105, 0, 0), 0);
    g_OutputShadow[0][core::kShwHoldOff] = 5;
    CtrlEnv::Poll(201);  // the message that starts the wait, then 200 passes of it
    EXPECT_EQ(g_CtrlTaskObj.state.load(), core::kCtrlRowWait);
    EXPECT_EQ(core::g_StartupProgress & 2u, 0u);
    CtrlEnv::Poll(1);
    EXPECT_EQ(core::g_StartupProgress & 2u, 2u);
    EXPECT_EQ(Shadow(core::kShwHoldOff), 0u);
    EXPECT_EQ(PowerOnOutputPending(), 0u);
    CtrlEnv::Poll(1);
    EXPECT_EQ(g_CtrlTaskObj.state.load(), core::kCtrlRowRun);
    EXPECT_EQ(g_CtrlTaskObj.msg.load(), core::kCtrlMsgPass);
    // The output settings are rewritten and settle within a few dozen passes; then the system is ready.
    for (int pass = 0; pass < 100 && !SysStatusTest(kSysReady); ++pass)
        CtrlEnv::Poll(1);
    EXPECT_TRUE(SysStatusTest(kSysReady));
    EXPECT_TRUE(CtrlEnv::WritesTo(2346).empty());
}

TEST_F(CtrlTask, PowerOnActionSwitchesTheOutputOnHundredPassesLater) {
    paramPutValue(0, 105, 1, 0);
    ASSERT_TRUE(CtrlEnv::RunUntilRunning());
    EXPECT_EQ(PowerOnOutputPending(), 1u);  // keys wait meanwhile
    CtrlEnv::Poll(99);
    EXPECT_TRUE(CtrlEnv::WritesTo(2346).empty());
    CtrlEnv::Poll(2);  // the countdown runs out and requests output on; the next step carries it out
    ASSERT_EQ(CtrlEnv::WritesTo(2346).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2346)[0].raw, 1u);
    EXPECT_EQ(PowerOnOutputPending(), 0u);
}

TEST_F(CtrlTask, PowerOnSimulationOutsideAcDcIntFails) {
    paramPutValue(0, 105, 3, 0);
    SetOutputMode(1);  // AC-INT
    ASSERT_TRUE(CtrlEnv::RunUntilRunning());
    CtrlEnv::Poll(130);  // the countdown stands still during the hold-off of the mode and range rewrites
    EXPECT_STREQ(g_MsgFreeText, "Power ON Fail");
    EXPECT_TRUE(CtrlEnv::WritesTo(2346).empty());
}

TEST_F(CtrlTask, CalibrationModeRunsNothing) {
    Running();
    g_CalState.mode = 1;
    PeakClearRequest();
    SetOutputOnOff(1);  // refused with its message
    EXPECT_STREQ(g_MsgFreeText, "Invalid with Output ON/OFF\n In Calibration Mode");
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(CtrlTask_Poll(), -1);
    EXPECT_TRUE(CtrlEnv::Writes().empty());
    g_CalState.mode = 0;
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2344).size(), 1u);  // what waited is done once the mode is left
}

TEST_F(CtrlTask, PeakHoldClearMaskByItem) {
    Running();
    const int32_t masks[] = {255, 0x11, 0x22, 0x44, 0x88};
    for (int32_t item = 0; item <= 5; ++item) {
        paramPutValue(0, 103, item, 0);  // 5 lies beyond the record's limits: only the store can hold it
        PeakClearRequest();
        CtrlEnv::ClearTrace();
        CtrlEnv::Poll(1);
        EXPECT_EQ(Shadow(core::kShwPeakClear), 0u);
        auto w = CtrlEnv::WritesTo(2344);
        if (item <= 4) {
            ASSERT_EQ(w.size(), 1u) << item;
            EXPECT_EQ(w[0].raw, static_cast<uint32_t>(masks[item]));
        } else {
            EXPECT_TRUE(w.empty());
        }
    }
}

TEST_F(CtrlTask, TriggerWidthIsSentTimesTenAndComparedDividedByTen) {
    Running();
    ASSERT_EQ(SetTriggerWidth(5), 5);
    CtrlEnv::Poll(1);
    auto w = CtrlEnv::WritesTo(2372);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].raw, 50u);
    EXPECT_EQ(Shadow(core::kShwTrigWidth), 50u);
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(3);
    EXPECT_TRUE(CtrlEnv::WritesTo(2372).empty());

    SetTriggerWidth(5);  // the same value, posted again: written again
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2372).size(), 1u);
}

TEST_F(CtrlTask, TwoChangedSettingsAreWrittenOnePerPass) {
    Running();
    SetMonitorSource1Item(4);
    SetTriggerSource(2);
    paramPutValue(0, 206, 55, 0);
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2448).size(), 1u);
    EXPECT_TRUE(CtrlEnv::WritesTo(2374).empty());
    CtrlEnv::Poll(1);
    ASSERT_EQ(CtrlEnv::WritesTo(2374).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2374)[0].raw, 2u);
    EXPECT_TRUE(CtrlEnv::WritesTo(2460).empty());
    CtrlEnv::Poll(1);
    ASSERT_EQ(CtrlEnv::WritesTo(2460).size(), 1u);
    EXPECT_FLOAT_EQ(CtrlEnv::WritesTo(2460)[0].value, 5.5f);
}

TEST_F(CtrlTask, OutputOnAndOffReachTheStage) {
    Running();
    EXPECT_EQ(SetOutputOnOff(1), 1);
    CtrlEnv::Poll(1);
    auto w = CtrlEnv::WritesTo(2346);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].raw, 1u);
    EXPECT_TRUE(CtrlEnv::Stage().OutputOn());
    EXPECT_TRUE(OutputFlagTest(kOutFlagOutputOn));
    EXPECT_EQ(Shadow(core::kShwHoldOff), 10u);

    // The hold-off: a pending setting waits ten passes.
    PeakClearRequest();
    CtrlEnv::Poll(10);
    EXPECT_TRUE(CtrlEnv::WritesTo(2344).empty());
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2344).size(), 1u);

    CtrlEnv::ClearTrace();
    OutputToggle();
    CtrlEnv::Poll(1);
    ASSERT_EQ(CtrlEnv::WritesTo(2346).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2346)[0].raw, 0u);
    EXPECT_FALSE(CtrlEnv::Stage().OutputOn());
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn));
}

TEST_F(CtrlTask, RequestPostedWhileAnotherIsCarriedOutIsNotLost) {
    Running();
    StepRow* row = &g_CtrlTaskObj.rows[core::kCtrlRowRun];
    // The task has taken an on request; before it is done an off request arrives from another thread.
    g_CtrlTaskObj.msg = core::kCtrlMsgOutputOn;
    row->msg = 0;
    EXPECT_EQ(SetOutputOnOff(0), 0);
    core::CtrlTaskOutputOn(row);
    EXPECT_TRUE(CtrlEnv::Stage().OutputOn());
    EXPECT_EQ(row->msg.load(), core::kCtrlMsgOutputOff);
    CtrlEnv::Poll(1);
    EXPECT_FALSE(CtrlEnv::Stage().OutputOn());
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn));
    // The same for an on request arriving while an off request is carried out.
    g_CtrlTaskObj.msg = core::kCtrlMsgOutputOff;
    row->msg = 0;
    EXPECT_EQ(SetOutputOnOff(1), 1);
    core::CtrlTaskOutputOff(row);
    EXPECT_EQ(row->msg.load(), core::kCtrlMsgOutputOn);
    CtrlEnv::Poll(1);
    EXPECT_TRUE(CtrlEnv::Stage().OutputOn());
    // With nothing else posted the task goes back to its periodic pass.
    EXPECT_EQ(row->msg.load(), core::kCtrlMsgPass);
}

TEST_F(CtrlTask, OutputOnIsRefusedWhileAnythingIsWrong) {
    struct Case {
        const char* what;
        void (*set)();
    };
    const Case cases[] = {
        {"boot status 0",
         [] {
             CtrlEnv::Stage().SetBootStatus(0);  // register 2080 as the start-up self-test reads it
             g_PowerStageBootStatus = BusReg_GetBootStatus();
         }},
        {"alarm latched", [] { SysStatusSet(kSysAlarmLatched); }},
        {"second alarm word", [] { g_AlarmState.system = 1u << 9; }},
        {"phase fault", [] { g_PhaseFault = 1; }},
        {"module mismatch", [] { g_ModuleErrMask = 4; }},
        {"firmware mismatch", [] { g_FwErrMask = 1; }},
        {"slave alarm", [] { g_ParallelLink.slaveAlarm[2] = 1; }},
        {"slave fault", [] { g_ParallelLink.slaveFault = 1; }},
        {"parallel enabled, link down", [] { paramPutValue(0, 213, 1, 0); }},
        {"parallel enable not 0 or 1", [] { paramPutValue(0, 213, 2, 0); }},
        {"parallel mismatch", [] { SysStatusSet(kSysParallelMismatch); }},
        {"synchronisation missing",
         [] {
             g_ParamFlags = core::kFlagSyncMissing;
             OutputFlagSet(kOutFlagOutputOn);  // a request with the output off would end at once
         }},
    };
    Running();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ResetOutputState();
        test::BuildDefaults(1);
        CtrlEnv::Stage().SetBootStatus(1);
        g_PowerStageBootStatus = BusReg_GetBootStatus();
        ASSERT_TRUE(CtrlEnv::RunUntilRunning());
        c.set();
        CtrlEnv::ClearTrace();
        SetOutputOnOff(1);
        CtrlEnv::Poll(2);
        for (const auto& w : CtrlEnv::WritesTo(2346))
            EXPECT_NE(w.raw, 1u);
        EXPECT_FALSE(CtrlEnv::Stage().OutputOn());
    }
    EXPECT_TRUE(SysStatusTest(kSysSyncSourceMissing));
}

TEST_F(CtrlTask, AlarmDropsTheOnRequestButNeverTheOff) {
    Running();
    SetOutputOnOff(1);
    CtrlEnv::Poll(1);
    ASSERT_TRUE(CtrlEnv::Stage().OutputOn());
    CtrlEnv::Poll(10);
    CtrlEnv::ClearTrace();

    g_AlarmState.summary = 1u << 2;  // over rms current
    SetOutputOnOff(1);
    EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load(), 0u);  // nothing posted
    SetOutputOnOff(0);
    CtrlEnv::Poll(1);
    ASSERT_EQ(CtrlEnv::WritesTo(2346).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2346)[0].raw, 0u);
    EXPECT_FALSE(CtrlEnv::Stage().OutputOn());

    g_AlarmState.summary = 0;
    g_ParallelActive = 1;
    paramPutValue(0, 213, 1, 0);  // parallel enabled and the link active: allowed
    SetOutputOnOff(1);
    CtrlEnv::Poll(1);
    EXPECT_TRUE(CtrlEnv::Stage().OutputOn());
}

TEST_F(CtrlTask, ParallelProblemsAreShownOnAnOnRequest) {
    Running();
    SysStatusSet(kSysParallelLinkFault);
    g_ParallelLink.errorNumber = 8;
    SetOutputOnOff(1);
    CtrlEnv::Poll(1);
    EXPECT_STREQ(g_MsgFreeText, "Parallel Communication \nError(8)");
    EXPECT_TRUE(CtrlEnv::WritesTo(2346).empty());
}

TEST_F(CtrlTask, PollMirrorsTheOutputStatusOfTheStage) {
    Running();
    SetOutputOnOff(1);
    CtrlEnv::Poll(1);
    ASSERT_TRUE(OutputFlagTest(kOutFlagOutputOn));
    CtrlEnv::Stage().TripOutput();  // the stage's protection
    CtrlEnv::Poll(1);
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn));
    EXPECT_EQ(core::g_OutputStatusMirror & 1u, 0u);
}

TEST_F(CtrlTask, RequestThatFindsTheTaskNotRunningLeavesTheStartupWaitAlone) {
    ::testing::internal::CaptureStderr();
    // Waits its ten seconds of instrument time for the run row, then gives up and says so.
    EXPECT_EQ(SetOutputOnOff(1), -1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("output on request dropped"), std::string::npos);
    EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowWait].msg.load(), 0u);
    ASSERT_TRUE(CtrlEnv::RunUntilRunning());
    CtrlEnv::Poll(5);
    EXPECT_TRUE(CtrlEnv::WritesTo(2346).empty());
}

TEST_F(CtrlTask, AcVoltageUnitChangeSwitchesTheOutputOff) {
    Running();
    SetOutputOnOff(1);
    CtrlEnv::Poll(11);
    CtrlEnv::ClearTrace();
    SetAcvUnit(1);
    CtrlEnv::Poll(1);
    auto w = CtrlEnv::Writes();
    // Output off, the unit, then each phase's voltages taken again for the new unit, each with its strobe.
    ASSERT_EQ(w.size(), 11u);
    EXPECT_EQ(w[0].reg, 2346);
    EXPECT_EQ(w[0].raw, 0u);
    EXPECT_EQ(w[1].reg, 2341);
    EXPECT_EQ(w[1].raw, 1u);
    for (uint16_t p = 0; p < 3; ++p) {
        EXPECT_EQ(w[2 + 3 * p].reg, 2384 + p);
        EXPECT_EQ(w[3 + 3 * p].reg, 2387 + p);
        EXPECT_EQ(w[4 + 3 * p].reg, 2340);
    }
    EXPECT_EQ(Shadow(core::kShwAcvUnit), 1u);
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn));
}

TEST_F(CtrlTask, SequenceEntrySwitchesRemoteSensingOff) {
    Running();
    SetOutputOnOff(1);
    CtrlEnv::Poll(11);
    g_OutputShadow[0][core::kShwRemoteSense] = 1;  // remote sensing as applied
    g_OutputOptionWord = (1u << core::kOptRemoteSense) | (1u << core::kOptOutputRelay);
    OutputFlagSet(kOutFlagSeqSimActive);
    SeqSimEnterRequest();
    g_SyncFirstPassDone = 1;
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(1);
    auto w = CtrlEnv::Writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].reg, 2346);
    EXPECT_EQ(w[0].raw, 0u);
    EXPECT_EQ(w[1].reg, 2348);  // the option word
    EXPECT_EQ(w[1].raw, 1u << core::kOptOutputRelay);
    EXPECT_EQ(Shadow(core::kShwSeqSimEntry), 0u);
    EXPECT_EQ(core::g_SeqSimOutputReset, 0u);
    EXPECT_EQ(g_SyncFirstPassDone, 0u);
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(3);
    EXPECT_TRUE(CtrlEnv::Writes().empty());
}

// An ARB saved while it is the output waveform: the save switches the output off and marks the table;
// the task waits 30 passes, downloads it, then writes the factor table with the strobe, and switches
// the output on again.
TEST_F(CtrlTask, WaveformTableSavedWhileOnOutputIsDownloadedAfterItsDelay) {
    Running();
    SetOutputOnOff(1);
    CtrlEnv::Poll(11);
    for (int i = 0; i < kArbSamples; ++i)
        g_ArbMem[3][i] = static_cast<int16_t>(i * 7 - 9000);
    CtrlEnv::ClearTrace();

    SetOutputOnOff(0);
    g_ArbChanged.pendingTable = 4;  // slot 3 (ARB4)
    g_ArbChanged.flags = core::kArbWriteFactorTable | core::kArbStartDelay | core::kArbOutputOnAfter;

    int downloadPass = -1, delayStart = -1, floatPass = -1, onPass = -1;
    for (int pass = 0; pass < 80; ++pass) {
        const size_t before = CtrlEnv::Writes().size();
        CtrlEnv::Poll(1);
        if (delayStart < 0 && Shadow(core::kShwArbDelay) == 30) delayStart = pass;
        const auto w = CtrlEnv::Writes();
        for (size_t i = before; i < w.size(); ++i) {
            if (w[i].reg == 259 && downloadPass < 0) downloadPass = pass;
            if (w[i].reg == 104 && floatPass < 0) floatPass = pass;
            if (w[i].reg == 2346 && w[i].raw == 1) onPass = pass;
        }
    }
    ASSERT_GE(delayStart, 0);
    EXPECT_EQ(downloadPass - delayStart, 31);
    EXPECT_EQ(floatPass, downloadPass + 1);
    EXPECT_EQ(onPass, floatPass + 1);

    // In order: output off, the table, each phase's voltages taken again for it (each with a strobe), its
    // update word, the factor table, the strobe, output on.
    std::vector<uint16_t> order;
    for (const auto& w : CtrlEnv::Writes())
        if (order.empty() || order.back() != w.reg) order.push_back(w.reg);
    EXPECT_EQ(order, (std::vector<uint16_t>{2346, 259, 2384, 2387, 2340, 2385, 2388, 2340, 2386, 2389, 2340,
                                            2446, 104, 2340, 2346}));
    EXPECT_EQ(CtrlEnv::WritesTo(259).size(), static_cast<size_t>(kArbSamples));
    EXPECT_EQ(static_cast<int32_t>(CtrlEnv::Stage().Stored(259, 100)), 100 * 7 - 9000);
    EXPECT_EQ(CtrlEnv::WritesTo(104).size(), 256u);
    EXPECT_EQ(std::bit_cast<float>(CtrlEnv::Stage().Stored(104, 17)), GetWaveCrestFactor(16));
    EXPECT_TRUE(CtrlEnv::Stage().OutputOn());
    EXPECT_EQ(g_ArbChanged.flags.load(), 0u);
    EXPECT_EQ(g_ArbChanged.pendingTable.load(), 0u);
}

TEST_F(CtrlTask, BusyWordFollowsTheSystemState) {
    Running();
    SysStatusSet(kSysScreenCopyPending);
    CtrlEnv::Poll(1);
    ASSERT_EQ(CtrlEnv::WritesTo(2472).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2472)[0].raw, 1u);
    CtrlEnv::Poll(2);
    EXPECT_EQ(CtrlEnv::WritesTo(2472).size(), 1u);
    SysStatusClear(kSysScreenCopyPending);
    CtrlEnv::Poll(1);
    ASSERT_EQ(CtrlEnv::WritesTo(2472).size(), 2u);
    EXPECT_EQ(CtrlEnv::WritesTo(2472)[1].raw, 0u);

    // While the bus is held nothing else is written.
    g_BusHold = 1;
    PeakClearRequest();
    CtrlEnv::Poll(3);
    g_BusHold = 0;
    EXPECT_TRUE(CtrlEnv::WritesTo(2344).empty());
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2344).size(), 1u);
}

TEST_F(CtrlTask, ParallelRoleIsAppliedOnceTheUpdateCheckIsDone) {
    Running();
    paramPutValue(0, 209, 1, 0);  // master
    CtrlEnv::Poll(2);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 0u);  // the start-up update check has not run yet

    c2000Checked = 2;
    CtrlEnv::Poll(1);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 2u);
    EXPECT_EQ(g_ParallelSlaveFlags & 8u, 8u);  // the slave role is ended for the master's

    paramPutValue(0, 213, 1, 0);
    CtrlEnv::Poll(1);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 3u);
    g_ParallelActive = 1;
    SysStatusSet(kSysParallelMismatch);
    CtrlEnv::ClearTrace();
    paramPutValue(0, 213, 0, 0);
    CtrlEnv::Poll(1);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 2u);
    ASSERT_EQ(CtrlEnv::WritesTo(2480).size(), 1u);
    EXPECT_EQ(CtrlEnv::WritesTo(2480)[0].raw, 0u);
    EXPECT_EQ(g_ParallelActive.load(), 0u);
    EXPECT_FALSE(SysStatusTest(kSysParallelMismatch));
}

TEST(CtrlEdge, FiresOnceForHighTwiceThenLowTwice) {
    test::ResetOutputState();
    struct Case {
        const char* inputs;  // one character per pass: 1 high, 0 low
        const char* fires;
    };
    const Case cases[] = {
        {"110000", "000100"},                              // high two passes, then low two: one pulse
        {"100000", "000000"},                              // a single high pass is no pulse
        {"11110000", "00000100"}, {"1101100", "0000001"},  // a short low gap before the end
        {"11011000", "00000010"},
    };
    for (int channel = 0; channel < 3; ++channel) {
        const uint32_t bit = channel == 0 ? 2 : channel == 1 ? 6 : 7;
        for (const Case& c : cases) {
            std::string fired;
            for (const char* p = c.inputs; *p; ++p)
                fired += core::CtrlEdgeDetect(channel, *p == '1' ? 1u << bit : 0u) ? '1' : '0';
            EXPECT_EQ(fired, c.fires) << c.inputs << " channel " << channel;
            for (int i = 0; i < 4; ++i)
                core::CtrlEdgeDetect(channel, 0);  // settle
        }
    }
    EXPECT_EQ(core::CtrlEdgeDetect(3, ~0u), 0u);
    test::ResetOutputState();
}

}  // namespace
