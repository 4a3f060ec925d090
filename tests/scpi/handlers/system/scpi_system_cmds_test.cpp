// The SYSTem configuration and maintenance handlers and the calibration commands where a controller on a
// fresh root cannot show them over the socket: the phase change's remote pause, a parallel slave, the
// calibration words on the stage, and the command logs read and cleared while their channels write.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "app/layer_hooks.h"
#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/phase_cfg.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/service_flags.h"
#include "core/system/config/model_table.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/run/seqsim_run.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"
#include "screens/menu/cal/cali_pages.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using namespace scpi;
// The calibration command register; the SEQ/SIM command register.
constexpr uint16_t kCaliCmdReg = 2354, kSeqSimCmdReg = 2351;

class SystemHandlers : public test::CtrlTest {
  protected:
    void SetUp() override {
        core::ServiceFlagsReset();
        g_PhaseCfgChanging.store(0);
    }
    void TearDown() override {
        core::ServiceFlagsReset();
        ScreenRequest_SetRunners({});
    }
    scpitest::FakeChannel ch{kChanLan};
};

// The refusals of the phase change: a non-integer, a page other than the output screen, a wiring that
// does not exist; the same wiring changes nothing; the pause flag stays down on each.
TEST_F(SystemHandlers, PhaseChangeRefusals) {
    g_MenuState.store(1);
    g_PageId.store(1);
    EXPECT_EQ(ch.Call<double>(CmdSystConfPhas, false, kItemReal, 1.5), "|51");
    EXPECT_EQ(ch.Call(CmdSystConfPhas, false, kItemInt, 3), "|53");
    EXPECT_EQ(ch.Call(CmdSystConfPhas, false, kItemInt, -1), "|53");
    EXPECT_EQ(ch.Call(CmdSystConfPhas, false, kItemInt, 0), "|0");
    g_PageId.store(94);
    EXPECT_EQ(ch.Call(CmdSystConfPhas, false, kItemInt, 1), "|52");
    EXPECT_EQ(GetPhaseMode(), 0u);
    EXPECT_EQ(g_PhaseCfgChanging.load(), 0u);
    EXPECT_EQ(ch.Call(CmdSystConfPhas, true), "3P4W|0");
}

// With the output screen shown the whole change runs with the channels paused: the flag is up while the
// settings are saved (held here at the store's lock) and down once the new wiring is in force.
TEST_F(SystemHandlers, PhaseChangeRunsPausedOnTheOutputScreen) {
    g_MenuState.store(1);
    g_PageId.store(1);
    std::unique_lock<std::mutex> store(core::g_ParamLock);
    std::string result;
    std::thread change([&] { result = ch.Call(CmdSystConfPhas, false, kItemInt, 1); });
    bool paused = false;
    for (int i = 0; i < 5000 && !paused; ++i) {
        paused = g_PhaseCfgChanging.load() == 1;
        if (!paused) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    store.unlock();
    change.join();
    EXPECT_TRUE(paused);
    EXPECT_EQ(result, "|0");
    EXPECT_EQ(g_PhaseCfgChanging.load(), 0u);
    EXPECT_EQ(GetPhaseMode(), 1u);
    EXPECT_EQ(ch.Call(CmdSystConfPhas, true), "1P2W|0");
}

// A slave refuses the master's settings, even their queries, until 6392 toggles the service override on;
// a second 6392 toggles it off. Other numbers are no password.
TEST_F(SystemHandlers, ServiceOverrideLiftsAndRestoresTheSlaveRefusal) {
    SetParallelPosition(0);
    EXPECT_EQ(ch.Call(CmdSystConfExt, true), "|112");
    EXPECT_EQ(ch.Call(CmdSystPkhTime, true), "|112");
    EXPECT_EQ(ch.Call(CmdSystPass, false, kItemInt, 6392), "|0");
    EXPECT_EQ(ch.Call(CmdSystConfExt, true), "+0|0");
    EXPECT_EQ(ch.Call(CmdSystConfExt, false, kItemInt, -1), "|53");
    EXPECT_EQ(ch.Call(CmdSystPass, false, kItemInt, 6392), "|0");
    EXPECT_EQ(ch.Call(CmdSystConfExt, true), "|112");
    EXPECT_EQ(ch.Call(CmdSystPass, false, kItemInt, 1234), "|51");
    EXPECT_EQ(ch.Call(CmdSystPass, false, kItemInt, 9371), "|0");
    EXPECT_TRUE(SysStatusTest(kSysUnlocked));
}

class CalHandlers : public SystemHandlers {
  protected:
    void SetUp() override {
        SystemHandlers::SetUp();
        ScreenRequestRunners hooks{};
        hooks.calibrationPage = CaliPage_Enter;
        ScreenRequest_SetRunners(hooks);
        CaliMode_Step();
        CaliMode_Step();
        test::ClearTrace();
    }
};

// Without the password's access nothing is written; with it EXIT leaves the voltage calibration (which
// CAL:CONF:MODE VOLT entered: the calibration mode tests) with the abort command.
TEST_F(CalHandlers, VoltageCalibrationWordsAndExit) {
    EXPECT_EQ(ch.Call(CmdCalVolt, false, kItemChoice, 0), "|44");
    EXPECT_TRUE(test::Writes().empty());
    SysStatusSet(kSysCaliAccess);
    ASSERT_EQ(ch.Call(CmdCalConfMode, false, kItemChoice, 0), "|0");
    test::ClearTrace();
    EXPECT_EQ(ch.Call(CmdCalVolt, false, kItemChoice, 0), "|0");
    ASSERT_FALSE(test::WritesTo(kCaliCmdReg).empty());
    EXPECT_EQ(test::WritesTo(kCaliCmdReg).front().raw, 0x0020u);
    EXPECT_EQ(g_MenuState.load(), 316u);
    EXPECT_EQ(ch.Call(CmdCalConfMode, false, kItemInt, 9), "|112");
}

// A reading is taken in thousandths: one whose product leaves 32 bits is refused before anything else;
// at the first voltage point (-250 V, -280 V to -220 V) a reading outside the point's limits is refused.
TEST_F(CalHandlers, ReadingsInThousandthsAgainstThePointLimits) {
    SysStatusSet(kSysCaliAccess);
    g_MenuState.store(316);  // no point page: only the conversion can refuse
    g_EditBuf.enteredInt = 7;
    EXPECT_EQ(ch.Call<double>(CmdCalVoltAvg, false, kItemReal, 1e12), "|53");
    EXPECT_EQ(ch.Call(CmdCalVoltAvg, false, kItemInt, 2147484), "|53");
    EXPECT_EQ(g_EditBuf.enteredInt, 7);
    g_MenuState.store(317);
    EXPECT_EQ(ch.Call(CmdCalVoltAvg, false, kItemInt, -200), "|53");
    EXPECT_EQ(g_EditBuf.enteredInt, -200000);
    EXPECT_EQ(ch.Call<double>(CmdCalVoltAvg, false, kItemReal, -250.5), "|0");
    EXPECT_EQ(g_EditBuf.enteredInt, -250500);
}

// The calibration's password given on the SEQUENCE page, running or not, leaves SEQ wholly before the
// calibration list shows: the run stopped on the stage, the active bit and the mode word cleared, so that
// after the calibration SYST:CONF SEQ enters again. A mode word left standing without the active bit (as a
// reset leaves it) is no SEQ function: SYST:CONF SEQ enters instead of answering that it is in.
class CalFromSeqSim : public ::testing::Test {
  protected:
    void SetUp() override {
        WireLayerHooks();
        g_ModelId.store(1);
        SeqSimSetMode(kSeqSimOff);
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        SysStatusClear(kSysCaliAccess);
        g_MenuState.store(0);
    }
    test::SeqSimEnv env;
    scpitest::MenuEnv menu;
    scpitest::FakeChannel ch{kChanLan};
};

TEST_F(CalFromSeqSim, ThePasswordLeavesSequenceWhollyAndItEntersAgainAfterwards) {
    for (const bool running : {false, true}) {
        SCOPED_TRACE(running);
        SysStatusClear(kSysCaliAccess);
        ASSERT_EQ(ch.Run("SYST:CONF SEQ"), "|");
        ASSERT_EQ(ch.Run("SYST:CONF?"), "SEQ|");
        if (running) {
            OutputFlagSet(kOutFlagOutputOn);
            ASSERT_EQ(SeqSimRunStopToggle(), 0);
            ASSERT_EQ(SeqSimIsRunning(), 1);
        }
        test::ClearTrace();
        EXPECT_EQ(ch.Run("SYST:PASS 8719"), "|");
        for (int tick = 0; tick < 3; ++tick)
            SeqSimRunControl();  // the runner's ticks
        EXPECT_EQ(g_MenuState.load(), static_cast<uint32_t>(kMenuCalibration));
        EXPECT_EQ(SeqSimGetMode(), static_cast<uint32_t>(kSeqSimOff));
        EXPECT_FALSE(SeqSimIsActive());
        EXPECT_EQ(SeqSimIsRunning(), 0);
        EXPECT_EQ(test::WritesTo(kSeqSimCmdReg).empty(), !running) << "the stage's sequencer told to stop";
        OutputFlagClear(kOutFlagOutputOn);
        g_MenuState.store(1);  // the calibration left
        EXPECT_EQ(ch.Run("SYST:CONF?"), "CONT|");
        EXPECT_EQ(ch.Run("SYST:CONF SEQ"), "|");
        EXPECT_EQ(ch.Run("SYST:CONF?"), "SEQ|");
        EXPECT_EQ(ch.Run("SYST:CONF CONT"), "|");
    }
    SeqSimSetMode(kSeqSimSeq);  // the mode word standing without the function
    ASSERT_FALSE(SeqSimIsActive());
    EXPECT_EQ(ch.Run("SYST:CONF SEQ"), "|");
    EXPECT_EQ(ch.Run("SYST:CONF?"), "SEQ|");
    EXPECT_TRUE(SeqSimIsActive());
}

// The clear command empties other channels' logs while their threads write, and the log query reads
// them meanwhile: each log's lock keeps the two apart.
TEST(CommandLog, DumpNewestFirstAndClearWhileWriting) {
    ScpiInterface ifc{};
    char out[kScpiLogDumpSize];
    LogDump(&ifc, out, sizeof out);
    EXPECT_STREQ(out, "No Command Record Data\n");
    for (const char* line : {"VOLT 1", "FREQ 50"}) {
        for (const char* c = line; *c != '\0'; ++c)
            LogAppend(&ifc, static_cast<uint8_t>(*c));
        LogCloseLine(&ifc);
        LogNewLine(&ifc);
    }
    LogDump(&ifc, out, sizeof out);
    EXPECT_STREQ(out, "FREQ 50\\n\r\nVOLT 1\\n\r\n");

    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop.load()) {
            LogAppend(&ifc, 'X');
            LogCloseLine(&ifc);
            LogNewLine(&ifc);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        LogDump(&ifc, out, sizeof out);
        LogClear(&ifc);
    }
    stop.store(true);
    writer.join();
}

}  // namespace
