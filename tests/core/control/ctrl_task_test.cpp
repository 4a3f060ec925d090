// The control task, through the register trace of the simulated power stage.
#include <bit>
#include <tuple>

#include "core/control/alarms/alarm_state.h"
#include "core/control/calibration/calibration.h"
#include "core/params/waves/arb_mem.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/fw_update_state.h"
#include "core/system/state/stage_status.h"
#include "tests/core/ctrl_fixture.h"

using namespace test;

namespace {

class CtrlTask : public CtrlTest {
  protected:
    // The task running with the settings of the factory default written (one per pass), with the output on
    // and its hold-off over when asked.
    static void Running(bool on = false) {
        ASSERT_TRUE(RunUntilRunning());
        Poll(30);
        if (on) SetOutputOnOff(1), Poll(11);
        ASSERT_EQ(Stage().OutputOn(), on);
        ClearTrace();
    }
};

TEST_F(CtrlTask, StartupWaitRunsWithoutAPowerOnAction) {
    ASSERT_EQ(paramGetValue(105, 0), 0);
    Poll(201);  // the message that starts the wait, then 200 passes of it
    EXPECT_EQ(g_CtrlTaskObj.state.load(), core::kCtrlRowWait);
    Poll(2);
    EXPECT_EQ(g_CtrlTaskObj.state.load(), core::kCtrlRowRun);
    EXPECT_LT(RunUntilReady(), 100);
    EXPECT_FALSE(Stage().OutputOn());
}

// The power-on action switches the output on 100 passes after the wait; a SEQ or SIM action outside
// AC+DC-INT fails.
TEST_F(CtrlTask, PowerOnAction) {
    paramPutValue(105, 1, 0);
    ASSERT_TRUE(RunUntilRunning());
    Poll(99);
    EXPECT_TRUE(WritesTo(2346).empty());
    Poll(2);  // the countdown runs out and requests output on; the next step carries it out
    EXPECT_EQ(OnlyWriteTo(2346).raw, 1u);
    EXPECT_EQ(PowerOnOutputPending(), 0u);

    Rebuild();
    paramPutValue(105, 3, 0);
    SetOutputMode(1);  // AC-INT
    ASSERT_TRUE(RunUntilRunning());
    ClearTrace();
    Poll(130);  // the countdown stands still during the hold-off of the mode and range rewrites
    EXPECT_STREQ(g_MsgFreeText, "Power ON Fail");
    EXPECT_TRUE(WritesTo(2346).empty());
}

// What waited while a calibration ran or the bus was held is done once both are over.
TEST_F(CtrlTask, CalibrationModeOrAHeldBusWriteNothing) {
    Running(true);
    g_CalState.mode = 1;
    PeakClearRequest();
    EXPECT_EQ(SetOutputOnOff(0), -1);  // refused, and reported so
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(CtrlTask_Poll(), -1);
    g_CalState.mode = 0;
    g_BusHold = 1;
    Poll(3);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(OutputFlagTest(kOutFlagOutputOn));
    EXPECT_EQ(core::g_OutputStatusMirror & 1u, 1u);
    g_BusHold = 0;
    Poll(1);
    EXPECT_EQ(WritesTo(2344).size(), 1u);
}

TEST_F(CtrlTask, ChangedSettingReachesItsRegisterOnce) {
    constexpr uint32_t kNone = ~0u;
    const auto f = [](float v) { return std::bit_cast<uint32_t>(v); };
    // {parameter, value, register, raw}: the peak-hold clear items (5 clears nothing), then the impedance.
    const std::tuple<uint32_t, int32_t, uint16_t, uint32_t> stored[] = {
        {103, 0, 2344, 255},      {103, 1, 2344, 0x11},     {103, 2, 2344, 0x22},
        {103, 3, 2344, 0x44},     {103, 4, 2344, 0x88},     {103, 5, 2344, kNone},
        {196, 15, 2455, f(1.5f)}, {198, 25, 2457, f(2.5f)}, {200, 35, 2459, f(3.5f)},
        {202, 45, 2456, f(4.5f)}, {204, 65, 2458, f(6.5f)}, {206, 55, 2460, f(5.5f)},
    };
    const std::tuple<const char*, void (*)(), uint16_t, uint32_t> cases[] = {
        {"trigger width x10", [] { SetTriggerWidth(5); }, 2372, 50},
        {"trigger width posted again", [] { SetTriggerWidth(5); }, 2372, 50},
        {"trigger source", [] { SetTriggerSource(2); }, 2374, 2},
        {"monitor source 1 (source 2 kept)", [] { SetMonitorSource1Item(4); }, 2448, 3 | 1u << 3},
        {"peak hold time x10000", [] { SetPeakHoldTime(2); }, 2411, 20000},
        // The busy word follows the system state.
        {"screen copy", [] { SysStatusSet(kSysScreenCopyPending); }, 2472, 1},
        {"screen copy done", [] { SysStatusClear(kSysScreenCopyPending); }, 2472, 0},
    };
    const auto reaches = [](const std::string& what, uint16_t reg, uint32_t raw) {
        ClearTrace();
        Poll(4);
        EXPECT_EQ(WritesTo(reg).size(), raw == kNone ? 0u : 1u) << what;
        if (raw == kNone) return;
        ASSERT_FALSE(WritesTo(reg).empty()) << what;
        EXPECT_EQ(WritesTo(reg).back().raw, raw) << what;
    };
    Running();
    for (const auto& [id, v, reg, raw] : stored) {
        paramPutValue(id, v, 0);
        if (id == 103) PeakClearRequest();
        reaches("parameter " + std::to_string(id) + " = " + std::to_string(v), reg, raw);
    }
    for (const auto& [what, set, reg, raw] : cases)
        set(), reaches(what, reg, raw);
}

// A pending setting waits the ten passes of the hold-off after a switch; a trip is mirrored.
TEST_F(CtrlTask, OutputOnAndOffReachTheStage) {
    Running();
    EXPECT_EQ(SetOutputOnOff(1), 1);
    PeakClearRequest();
    Poll(1);
    EXPECT_EQ(OnlyWriteTo(2346).raw, 1u);
    Poll(10);
    EXPECT_TRUE(WritesTo(2344).empty());
    Poll(1);
    EXPECT_EQ(WritesTo(2344).size(), 1u);

    OutputToggle();
    Poll(1);
    EXPECT_EQ(WritesTo(2346).back().raw, 0u);
    EXPECT_FALSE(Stage().OutputOn());
    Poll(11);
    SetOutputOnOff(1);
    Poll(1);
    Stage().TripOutput();
    Poll(1);
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn));
    EXPECT_EQ(core::g_OutputStatusMirror & 1u, 0u);
}

TEST_F(CtrlTask, RequestPostedWhileAnotherIsCarriedOutIsNotLost) {
    Running();
    StepRow* row = &g_CtrlTaskObj.rows[core::kCtrlRowRun];
    // The task has taken an on request; before it is done an off request arrives from another thread.
    g_CtrlTaskObj.msg = core::kCtrlMsgOutputOn;
    row->msg = 0;
    EXPECT_EQ(SetOutputOnOff(0), 0);
    core::CtrlTaskOutputOn(row);
    EXPECT_TRUE(Stage().OutputOn());
    EXPECT_EQ(row->msg.load(), core::kCtrlMsgOutputOff);
    Poll(1);
    EXPECT_FALSE(Stage().OutputOn());
    // The same for an on request arriving while an off request is carried out.
    g_CtrlTaskObj.msg = core::kCtrlMsgOutputOff;
    row->msg = 0;
    EXPECT_EQ(SetOutputOnOff(1), 1);
    core::CtrlTaskOutputOff(row);
    EXPECT_EQ(row->msg.load(), core::kCtrlMsgOutputOn);
    Poll(1);
    EXPECT_TRUE(Stage().OutputOn());
    // With nothing else posted the task goes back to its periodic pass.
    EXPECT_EQ(row->msg.load(), core::kCtrlMsgPass);
}

// Parallel operation with its link up is the one case that may switch on.
TEST_F(CtrlTask, OutputOnIsRefusedWhileAnythingIsWrong) {
    const std::pair<const char*, void (*)()> cases[] = {
        {"power stage not booted", [] { g_PowerStageBootStatus = 0; }},
        {"alarm", [] { g_AlarmState.summary = 1u << 2; }},
        {"alarm latched", [] { SysStatusSet(kSysAlarmLatched); }},
        {"second alarm word", [] { g_AlarmState.system = 1u << 9; }},
        {"phase fault", [] { g_PhaseFault = 1; }},
        {"module mismatch", [] { g_ModuleErrMask = 4; }},
        {"firmware mismatch", [] { g_FwErrMask = 1; }},
        {"slave alarm", [] { g_AlarmState.slave[2].phase[1] = 1; }},
        {"slave fault", [] { g_ParallelLink.slaveFault = 1; }},
        {"parallel enabled, link down", [] { paramPutValue(213, 1, 0); }},
        {"parallel enable not 0 or 1", [] { paramPutValue(213, 2, 0); }},
        {"parallel mismatch", [] { SysStatusSet(kSysParallelMismatch); }},
        {"parallel link fault", [] { SysStatusSet(kSysParallelLinkFault); }},
        // With the output off a request would end at once.
        {"synchronisation missing",
         [] { g_ParamFlags = core::kFlagSyncMissing, OutputFlagSet(kOutFlagOutputOn); }},
        {"parallel enabled, link up", [] { paramPutValue(213, 1, 0), g_ParallelActive = 1; }},
    };
    for (const auto& [what, set] : cases) {
        SCOPED_TRACE(what);
        Rebuild();
        g_PowerStageBootStatus = 1;
        ASSERT_TRUE(RunUntilRunning());
        set();
        SetOutputOnOff(1);
        Poll(2);
        EXPECT_EQ(Stage().OutputOn(), std::string(what) == "parallel enabled, link up");
    }
}

// A request made during the start-up wait leaves the wait's own message alone.
TEST_F(CtrlTask, RequestBeforeTheTaskRunsIsCarriedOutWhenItDoes) {
    Poll(3);  // in the start-up wait
    ASSERT_EQ(g_CtrlTaskObj.state.load(), core::kCtrlRowWait);
    const uint32_t waitMsg = g_CtrlTaskObj.rows[core::kCtrlRowWait].msg.load();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SetOutputOnOff(1), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowWait].msg.load(), waitMsg);
    for (int pass = 0; pass < 1000 && g_CtrlTaskObj.state.load() != core::kCtrlRowRun; ++pass)
        Poll(1);
    ASSERT_EQ(g_CtrlTaskObj.state.load(), core::kCtrlRowRun);
    Poll(2);
    EXPECT_EQ(OnlyWriteTo(2346).raw, 1u);
    EXPECT_TRUE(Stage().OutputOn());
    Poll(11);
    EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load(), 0u);
    EXPECT_EQ(g_CtrlTaskObj.msg.load(), core::kCtrlMsgPass);
}

TEST_F(CtrlTask, AcVoltageUnitChangeSwitchesTheOutputOff) {
    Running(true);
    SetAcvUnit(1);
    Poll(1);
    // Output off, the unit, then each phase's voltages taken again for the new unit, each with its strobe.
    EXPECT_EQ(Registers(),
              (std::vector<uint16_t>{2346, 2341, 2384, 2387, 2340, 2385, 2388, 2340, 2386, 2389, 2340}));
    EXPECT_EQ(WritesTo(2341)[0].raw, 1u);
    EXPECT_FALSE(Stage().OutputOn());
}

TEST_F(CtrlTask, SequenceEntrySwitchesRemoteSensingOffOnce) {
    Running(true);
    g_OutputShadow[0][core::kShwRemoteSense] = 1;  // remote sensing as applied
    g_OutputOptionWord = (1u << core::kOptRemoteSense) | (1u << core::kOptOutputRelay);
    OutputFlagSet(kOutFlagSeqSimActive);
    SeqSimEnterRequest();
    Poll(1);
    EXPECT_EQ(Registers(), (std::vector<uint16_t>{2346, 2348}));
    EXPECT_EQ(WritesTo(2348)[0].raw, 1u << core::kOptOutputRelay);
    ClearTrace();
    Poll(3);
    EXPECT_TRUE(Writes().empty());
}

// A remote-sensing setting posted before the task ran with the value in force (the start-up re-send of
// every setting) leaves the output on.
TEST_F(CtrlTask, RemoteSensingPostedAgainLeavesTheOutputOn) {
    SetRemoteSense(GetRemoteSense());
    Poll(3);  // in the start-up wait
    EXPECT_EQ(SetOutputOnOff(1), 1);
    ASSERT_TRUE(RunUntilRunning());
    Poll(100);  // well past the hold-off and every posted setting
    for (const RegWrite& w : WritesTo(2346))
        EXPECT_EQ(w.raw, 1u);
    EXPECT_TRUE(Stage().OutputOn());
    EXPECT_TRUE(OutputFlagTest(kOutFlagOutputOn));
}

TEST_F(CtrlTask, RemoteSensingSwitchedWithTheOutputOnSwitchesItOff) {
    SetOutputMode(1);  // AC-INT with SIN: sensing allowed
    Running(true);
    ASSERT_EQ(SetRemoteSense(1), 1);
    Poll(1);
    EXPECT_EQ(Registers(), (std::vector<uint16_t>{2346, 2348, 2340}));
    EXPECT_EQ(WritesTo(2346)[0].raw, 0u);
    EXPECT_NE(WritesTo(2348)[0].raw & (1u << core::kOptRemoteSense), 0u);
    EXPECT_FALSE(Stage().OutputOn());

    SetOutputOnOff(1);
    Poll(12);
    ASSERT_TRUE(Stage().OutputOn());
    ClearTrace();
    SetRemoteSense(1);  // the value in force, posted again: written, the output stays on
    Poll(3);
    EXPECT_TRUE(WritesTo(2346).empty());
    EXPECT_EQ(WritesTo(2348).size(), 1u);
    EXPECT_TRUE(Stage().OutputOn());
    SetRemoteSense(0);
    Poll(1);
    EXPECT_EQ(OnlyWriteTo(2346).raw, 0u);
    EXPECT_EQ(WritesTo(2348).back().raw & (1u << core::kOptRemoteSense), 0u);
    EXPECT_FALSE(Stage().OutputOn());
}

// An ARB saved while it is the output waveform: 30 passes' delay, download, factor table, output on.
TEST_F(CtrlTask, WaveformTableSavedWhileOnOutputIsDownloadedAfterItsDelay) {
    Running(true);
    for (int i = 0; i < kArbSamples; ++i)
        g_ArbMem[3][i] = static_cast<int16_t>(i * 7 - 9000);
    SetOutputOnOff(0);
    g_ArbChanged.pendingTable = 4;  // slot 3 (ARB4)
    g_ArbChanged.flags = core::kArbWriteFactorTable | core::kArbStartDelay | core::kArbOutputOnAfter;
    int delayStart = -1, downloadPass = -1;
    for (int pass = 0; pass < 80; ++pass) {
        Poll(1);
        if (delayStart < 0 && g_OutputShadow[0][core::kShwArbDelay] == 30) delayStart = pass;
        if (downloadPass < 0 && !WritesTo(259).empty()) downloadPass = pass;
    }
    EXPECT_EQ(downloadPass - delayStart, 31);
    // In order: output off, the table, each phase's voltages taken again for it (each with a strobe), its
    // update word, the factor table, the strobe, output on.
    EXPECT_EQ(Registers(), (std::vector<uint16_t>{2346, 259, 2384, 2387, 2340, 2385, 2388, 2340, 2386, 2389,
                                                  2340, 2446, 104, 2340, 2346}));
    EXPECT_EQ(WritesTo(259).size(), static_cast<size_t>(kArbSamples));
    EXPECT_EQ(static_cast<int32_t>(Stage().Stored(259, 100)), 100 * 7 - 9000);
    EXPECT_EQ(std::bit_cast<float>(Stage().Stored(104, 17)), GetWaveCrestFactor(16));
    EXPECT_TRUE(Stage().OutputOn());
}

TEST_F(CtrlTask, ParallelRoleIsAppliedOnceTheUpdateCheckIsDone) {
    Running();
    paramPutValue(209, 1, 0);  // master
    Poll(2);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 0u);  // the start-up update check has not run yet
    c2000Checked = 2;
    Poll(1);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 2u);
    EXPECT_EQ(g_ParallelSlaveFlags & 8u, 8u);  // the slave role is ended for the master's
    paramPutValue(213, 1, 0);
    Poll(1);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 3u);
    g_ParallelActive = 1;
    SysStatusSet(kSysParallelMismatch);
    ClearTrace();
    paramPutValue(213, 0, 0);
    Poll(1);
    EXPECT_EQ(g_ParallelLink.ctrl.load(), 2u);
    EXPECT_EQ(OnlyWriteTo(2480).raw, 0u);
    EXPECT_EQ(g_ParallelActive.load(), 0u);
    EXPECT_FALSE(SysStatusTest(kSysParallelMismatch));
}

TEST(CtrlEdge, FiresOnceForHighTwiceThenLowTwice) {
    // One character per pass: 1 high, 0 low.
    const std::pair<const char*, const char*> cases[] = {
        {"110000", "000100"}, {"100000", "000000"}, {"11110000", "00000100"}, {"1101100", "0000001"}};
    for (int channel = 0; channel < 3; ++channel) {
        const uint32_t bit = channel == 0 ? 2 : channel == 1 ? 6 : 7;
        for (const auto& [inputs, fires] : cases) {
            std::string fired;
            for (const char* p = inputs; *p; ++p)
                fired += core::CtrlEdgeDetect(channel, *p == '1' ? 1u << bit : 0u) ? '1' : '0';
            EXPECT_EQ(fired, fires) << inputs << " channel " << channel;
            for (int i = 0; i < 4; ++i)
                core::CtrlEdgeDetect(channel, 0);  // settle
        }
    }
    EXPECT_EQ(core::CtrlEdgeDetect(3, ~0u), 0u);
}

}  // namespace
