// The guards of the [SOURce:] handlers that a controller on a fresh root cannot reach over the socket
// (other wirings, a parallel slave, the output on) and the waveform's effect on the balanced view, on a
// capturing fake channel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/acv_unit_convert.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/stage/reg_map.h"
#include "platform/stage/wave_numbers.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/channel_test_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/default_store.h"

namespace {

using namespace scpi;

class SourceHandlers : public ::testing::Test {
  protected:
    test::DefaultStore store;
    scpitest::FakeChannel ch{kChanLan};
};

// The guards of a slave whose output is on, and with parallel operation active (the wirings' and a slave's
// own: the guard table of the output commands).
TEST_F(SourceHandlers, GuardsOfWiringSlaveAndOutput) {
    SetParallelPosition(1);
    OutputFlagSet(kOutFlagOutputOn);
    g_ParallelActive.store(1);
    EXPECT_EQ(ch.Call(CmdSourChoice<kCmdSourCurrLimPeakMode>, false, kItemInt, 1), "|112");
    EXPECT_EQ(ch.Call(CmdSourChoice<kCmdSourVoltResp>, false, kItemInt, 0), "|112");  // the output is on
    OutputFlagClear(kOutFlagOutputOn);
    EXPECT_EQ(ch.Call(CmdSourChoice<kCmdSourVoltResp>, false, kItemChoice, 2), "|53");  // locked: no FAST
    g_ParallelActive.store(0);
    EXPECT_EQ(ch.Call(CmdSourChoice<kCmdSourVoltResp>, false, kItemChoice, 2), "|0");
    EXPECT_EQ(GetSlewRate(), 2);
}

// In Balance the LINE view goes with a sine: a waveform that is not SIN puts the view back to PHASE,
// whatever value the panel's edit copy holds.
TEST_F(SourceHandlers, WaveformDecidesTheBalancedView) {
    SetPhaseBalanceMode(1);
    EXPECT_EQ(ch.Call(CmdSourChoice<kCmdSourPhasBal>, false, kItemChoice, 1), "|0");
    EXPECT_EQ(GetPhaseLineView(), 1);
    g_EditParam.workValue = 17;  // an edit of another setting
    EXPECT_EQ(ch.Call(CmdSourFunc, false, kItemChoice, 16), "|0");
    EXPECT_EQ(GetPhaseLineView(), 1);
    g_EditParam.workValue = 16;
    EXPECT_EQ(ch.Call(CmdSourFunc, false, kItemChoice, 17), "|0");
    EXPECT_EQ(GetWaveformSel(), 17);
    EXPECT_EQ(GetPhaseLineView(), 0);
    EXPECT_EQ(ch.Call(CmdSourChoice<kCmdSourPhasBal>, true), "|41");  // no meaning off a sine
}

// With edit all phases the waveform goes to every phase.
TEST_F(SourceHandlers, WaveformOfEveryPhaseWithEditAll) {
    g_EditAllPhases.store(1);
    EXPECT_EQ(ch.Call(CmdSourFunc, false, kItemChoice, 17), "|0");
    g_EditAllPhases.store(0);
    for (int phase = 0; phase < 3; ++phase)
        EXPECT_EQ(GetWaveform(phase), 17) << phase;
}

// MODE sets the mode, shows the advanced output screen and requests the reconfiguration; neither MODE nor
// the range is changed while SEQ/SIM is active.
TEST_F(SourceHandlers, ModeReconfiguresAndShowsTheAdvancedScreen) {
    static int shown;
    shown = 0;
    ScreenRequestRunners hooks{};
    hooks.advanceScreen = [] { ++shown; };
    ScreenRequest_SetRunners(hooks);
    core::SysStatusReset();
    EXPECT_EQ(ch.Call(CmdSourMode, false, kItemChoice, 2), "|0");
    EXPECT_EQ(GetOutputMode(), 2u);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ((g_SysStatus.load() >> kSysReconfigLow) & 3u, 1u);
    OutputFlagSet(kOutFlagSeqSimActive);
    EXPECT_EQ(ch.Call(CmdSourMode, false, kItemInt, 1), "|41");
    EXPECT_EQ(ch.Call(CmdSourVoltRang, false, kItemInt, 100), "|41");
    OutputFlagClear(kOutFlagSeqSimActive);
    EXPECT_EQ(GetOutputMode(), 2u);
    EXPECT_EQ(shown, 1);
    core::SysStatusReset();
    ScreenRequest_SetRunners({});
}

// LINE:VOLTage and LINE:VOLTage:OFFSet in Balance: the line record's limits follow the phases (x 2 in 1P3W;
// the 3P4W limits and refusals: tests/system/scpi_source_test), a value within them goes to every phase.
TEST_F(SourceHandlers, LineValuesAreWrittenBackToThePhases) {
    constexpr auto kLine = CmdSourGeneric<kCmdSourLineVoltLevImmAmpl>;
    constexpr auto kLineDc = CmdSourGeneric<kCmdSourLineVoltLevImmOffs>;
    SetOutputMode(0);  // ACDC-INT
    SetVoltRange(RangeUserToCode(0));  // 100 V: 175 V per phase
    SetPhaseMode(0);
    SetPhaseBalanceMode(1);
    EXPECT_EQ(ch.Call(kLine, false, kItemReal, 173.2), "|0");
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(GetAcv(p), 10000) << p;  // 173.2 / sqrt(3), to 0.01 V
    EXPECT_EQ(ch.Call(kLine, false, kItemChoice, kChoiceMax), "|0");
    EXPECT_EQ(GetAcv(1), 17500);

    // 1P3W: the line spans L1 and L2, each half of it; the DC line value is the two halves of opposite sign.
    SetPhaseMode(2);
    EXPECT_EQ(ch.Call(kLine, true, kItemChoice, kChoiceMax), "+350.0000|0");
    EXPECT_EQ(ch.Call(kLine, false, kItemReal, 200.0), "|0");
    EXPECT_EQ(GetAcv(0), 10000);
    EXPECT_EQ(GetAcv(1), 10000);
    EXPECT_EQ(ch.Call(kLineDc, false, kItemReal, 20.0), "|0");
    EXPECT_EQ(GetDcv(0), 1000);
    EXPECT_EQ(GetDcv(1), -1000);
    EXPECT_EQ(ch.Call(kLineDc, true), "+20.0000|0");
    EXPECT_EQ(ch.Call(kLineDc, false, kItemReal, 1e6), "|53");
    EXPECT_EQ(GetDcv(0), 1000);

    // Unbalance has no line value.
    SetPhaseBalanceMode(0);
    EXPECT_EQ(ch.Call(kLine, false, kItemReal, 100.0), "|41");
}

// In Vpp units MAXimum is the highest value a set takes: the lower of the record's maximum (500 Vpp in the
// 100 V range) and the waveform's ceiling, 2 x 175 V x its crest factor; the line voltage's is the phase's
// x sqrt(3). Neither moves while the panel edits the line voltage.
TEST_F(SourceHandlers, VppMaximumIsTheHighestValueASetTakes) {
    constexpr auto kVolt = CmdSourVolt;
    constexpr auto kLine = CmdSourGeneric<kCmdSourLineVoltLevImmAmpl>;
    SetOutputMode(1);  // AC-INT
    SetVoltRange(RangeUserToCode(0));
    SetPhaseMode(0);
    SetPhaseBalanceMode(1);
    SetAcvUnit(1);
    for (int p = 0; p < 3; ++p)
        SetWaveform(18, p);  // TRI
    const uint32_t home = g_MenuState.load();
    const struct {
        float crest;
        uint32_t state;
        const char *phaseMax, *lineMax;
        int32_t phaseValue;  // 0.01 Vpp, after either MAXimum
        const char* set450;  // a set of 450 Vpp
    } rows[] = {
        {1.732f, home, "+500.0000", "+866.0300", 50000, "|0"},  // ceilings 606.20 and 1049.97 Vpp
        {1.2f, home, "+420.0000", "+727.4600", 42000, "|53"},
        {1.2f, kParamAcvLine, "+420.0000", "+727.4600", 42000, "|53"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.crest << " state " << r.state);
        core::ParamSetWaveFactor(18, r.crest);
        g_MenuState.store(r.state);
        EXPECT_EQ(ch.Call(kVolt, false, kItemReal, 450.0), r.set450);
        EXPECT_EQ(ch.Call(kVolt, true, kItemChoice, kChoiceMax), std::string(r.phaseMax) + "|0");
        EXPECT_EQ(ch.Call(kVolt, false, kItemChoice, kChoiceMax), "|0");
        EXPECT_EQ(GetAcv(0), r.phaseValue);
        EXPECT_EQ(ch.Call(kLine, true, kItemChoice, kChoiceMax), std::string(r.lineMax) + "|0");
        SetAcv(0, 2);
        EXPECT_EQ(ch.Call(kLine, false, kItemChoice, kChoiceMax), "|0");
        EXPECT_EQ(GetAcv(2), r.phaseValue);
    }
    g_MenuState.store(home);
}

// A numeric setting goes to the line the panel selected, and its MAXimum is that line's; with edit-all it
// goes to every phase and the AC voltage's MAXimum is the lowest of the three, L1's included.
TEST_F(SourceHandlers, NumericSettingOfTheSelectedLineOrEveryPhase) {
    const int32_t maxima[3] = {20000, 30000, 25000};
    for (uint32_t p = 0; p < 3; ++p) {
        ParamRec r{};
        paramGetRecord(kParamAcv, &r, p);
        r.value = 1000;
        r.max = maxima[p];
        paramPutRecord(kParamAcv, &r, p);
    }
    test::SelectLine(1);
    EXPECT_EQ(ch.Call(CmdSourVolt, true, kItemChoice, kChoiceMax), "+300.0000|0");
    EXPECT_EQ(ch.Call(CmdSourVolt, false, kItemReal, 260.0), "|0");
    EXPECT_EQ(ch.Call(CmdSourVolt, true), "+260.0000|0");
    EXPECT_EQ(GetAcv(0), 1000);
    EXPECT_EQ(GetAcv(1), 26000);
    EXPECT_EQ(GetAcv(2), 1000);

    g_EditAllPhases.store(1);
    EXPECT_EQ(ch.Call(CmdSourVolt, true, kItemChoice, kChoiceMax), "+200.0000|0");
    EXPECT_EQ(ch.Call(CmdSourVolt, false, kItemReal, 210.0), "|53");
    EXPECT_EQ(ch.Call(CmdSourVolt, false, kItemChoice, kChoiceMax), "|0");
    EXPECT_EQ(GetAcv(0), 20000);
    EXPECT_EQ(GetAcv(1), 20000);
    EXPECT_EQ(GetAcv(2), 20000);
    g_EditAllPhases.store(0);
    test::SelectLine(0);
}

using SourceOverTheParser = scpitest::ChannelTest;

// The start angle and its state, the L2 and L3 angles and the sync phase over the parser, the angles in
// tenths of a degree: the selector as L12/L13 or a number, a real rounded to a tenth, MAXimum and the
// limits; in Balance the angles are 120 and 240 and take no set. {program message, reply|errors}.
TEST_F(SourceOverTheParser, StartAnglesAndSyncPhase) {
    using scpitest::kRange, scpitest::kParameter, scpitest::kExecution;
    scpitest::ExpectRuns(ch, {
        {"PHAS:STAR 90;STAR?", "+90.0000|"}, {"PHAS:STAR:STAT FIX;STAT?", "FIXED|"},
        {"PHAS:STAR:STAT -1", "|" + kRange}, {"PHAS:STAR:STAT FREE;:PHAS:STAR 0", "|"},
        {"PHAS:PHAS? L12;PHAS? L13", "+120.0;+240.0|"}, {"PHAS:PHAS L12,100.25;PHAS? L12", "+100.3|"},
        {"PHAS:PHAS 5,100", "|" + kRange}, {"PHAS:PHAS? 5", "|" + kParameter}, {"PHAS:PHAS L13,1e12", "|" + kRange},
        {"PHAS:PHAS? L12;PHAS? L13", "+100.3;+240.0|"}, {"PHAS:SYNC?", "0.0|"}, {"PHAS:SYNC 90.5;SYNC?", "90.5|"},
        {"PHAS:SYNC 1e12", "|" + kRange}, {"PHAS:SYNC 0;:PHAS:MODE BAL;MODE?", "Balance|"},
        {"PHAS:PHAS? L13,MAX", "+240.0|"}, {"PHAS:PHAS L12,100", "|" + kExecution},
        {"PHAS:MODE UNB;:PHAS:PHAS L12,120;PHAS? L12", "+120.0|"},
    });
}

// The output range by name or code: 100 V, 200 V or AUTO (code 2), nothing past it; an external mode
// keeps its range fixed. {program message, reply|errors}.
TEST_F(SourceOverTheParser, OutputRangeByNameOrCode) {
    using scpitest::kRange, scpitest::kExecution;
    scpitest::ExpectRuns(ch, {
        {"MODE ACDC-INT;:VOLT:RANG R100;RANG?", "100|"}, {"VOLT:RANG 2;RANG?", "AUTO|"},
        {"VOLT:RANG 150", "|" + kRange}, {"VOLT:RANG -1", "|" + kRange}, {"VOLT:RANG R100;RANG?", "100|"},
        {"MODE AC-EXT;:VOLT:RANG AUTO", "|" + kExecution},
    });
}

// Each phase's AC and DC voltage ceilings follow its own Vpk+ and Vpk- limits: another phase's limit
// written, even at the value it holds, leaves them as they were. ACDC-INT, 100 V range, DC 0: the AC
// voltage's ceiling is Vpk+ / 1.414. {program message, reply|errors}.
TEST_F(SourceOverTheParser, EachPhaseKeepsTheCeilingsOfItsOwnLimits) {
    using scpitest::kRange;
    scpitest::ExpectRuns(ch, {
        {"MODE ACDC-INT;:VOLT:RANG R100;:INST:SEL L2;:VOLT 0;:VOLT:OFFS 0", "|"},
        {"VOLT:LIM:HIGH 100;LOW -120;:VOLT 80", "|" + kRange},
        {"INST:SEL L1;:VOLT:LIM:HIGH 250;LOW -250", "|"},
        {"INST:SEL L2;:VOLT 80", "|" + kRange},
        {"VOLT:OFFS 101", "|" + kRange},
        {"VOLT:OFFS -121", "|" + kRange},
        {"VOLT 70;:VOLT?;:VOLT:OFFS?;:VOLT:LIM:HIGH?;LOW?", "+70.0000;+0.0000;+100.0000;-120.0000|"},
        {"INST:SEL L1;:VOLT 80;:VOLT:OFFS 30;:VOLT?;:VOLT:OFFS?", "+80.0000;+30.0000|"},
        // 70 Vrms peaks at 99 V: the DC voltage keeps within -21 .. +1 V.
        {"INST:SEL L3;:VOLT:LIM:HIGH 140;:INST:SEL L2;:VOLT 71;:VOLT:OFFS -22", "|" + kRange + " | " + kRange},
        {"VOLT:OFFS -21;:VOLT:OFFS?", "-21.0000|"},
    });
}

// Program messages run as the channel hands its sets to the menu/control thread (RunTaken).
class SourceTakenByTheTask : public ::testing::Test {
  protected:
    test::CtrlEnv env;
    scpitest::MenuEnv menu;
    scpitest::FakeChannel ch{kChanLan};
    SourceTakenByTheTask() { ch.HandOverBetweenPasses(); }
};

// With the AC voltage in Vpp, a voltage set before a waveform change in the same message goes with the
// change: the waveforms shown in Vpp share one voltage, the sine and the square theirs in Vrms. The stage
// plays it on L1.
TEST_F(SourceTakenByTheTask, VppVoltageSetBeforeAWaveformChangeIsInForce) {
    constexpr uint32_t kArb17 = kWaveTri + 1;
    core::ParamSetWaveFactor(kWaveSin, 1.414f);
    core::ParamSetWaveFactor(kWaveSqu, 1.0f);
    core::ParamSetWaveFactor(kWaveTri, 1.732f);
    core::ParamSetWaveFactor(kArb17, 1.5f);
    // The mode and the unit are the store's own: through the channel each waits for the task's pauses.
    // A set command's completion waits for the task on the clock: sped up less, so that a sanitizer's slower
    // passes do not run out its time.
    SetOutputMode(kModeAcInt);
    plat::SetTimeScale(10.0);
    (void)AcvUnitConvertAll(1);
    (void)SetAcvUnit(1);  // Vpp
    for (const auto& [message, expect] : std::initializer_list<std::pair<const char*, std::string>>{
             {"FUNC TRI;:VOLT 130", "|"},
             {"FUNC ARB17;:VOLT 110;:FUNC TRI", "|"},
             {"FUNC?;:VOLT?", "TRI;+110.0000|"},
             {"FUNC ARB17;:FUNC?;:VOLT?", "ARB17;+110.0000|"},
             {"FUNC SIN;:VOLT 50;:FUNC SQU;:FUNC?;:VOLT?", "SQU;+50.0000|"},
             {"FUNC TRI;:FUNC?;:VOLT?", "TRI;+110.0000|"}})
        EXPECT_EQ(ch.RunTaken(message), expect) << message;
    const auto acv = test::WritesTo(static_cast<uint16_t>(regmap::kAcv.at(0)));
    ASSERT_FALSE(acv.empty());
    EXPECT_DOUBLE_EQ(acv.back().value, 110.0);
}

class SourceOnStage : public test::CtrlTest {
  protected:
    scpitest::FakeChannel ch{kChanLan};
};

// START is the ON angle and STOP the OFF angle: 90 degrees set with START reaches the stage in L1's ON-angle
// register, and STOP, its register included, keeps what it held.
TEST_F(SourceOnStage, StartSetsTheOnAngleAndLeavesStop) {
    constexpr auto kStart = CmdSourGeneric<kCmdSourPhasStarImm>;
    constexpr auto kStop = CmdSourGeneric<kCmdSourPhasStopImm>;
    ASSERT_TRUE(test::RunUntilRunning());
    test::Poll(30);
    EXPECT_EQ(ch.Call(kStop, true), "+0.0000|0");
    EXPECT_EQ(ch.Call(kStart, false, kItemReal, 90.0), "|0");
    test::Poll(5);
    EXPECT_EQ(ch.Call(kStart, true), "+90.0000|0");
    EXPECT_EQ(ch.Call(kStop, true), "+0.0000|0");
    const auto on = test::WritesTo(static_cast<uint16_t>(regmap::kOnPhase.at(0)));
    ASSERT_FALSE(on.empty());
    EXPECT_DOUBLE_EQ(on.back().value, 90.0);  // degrees, as the stage takes them
    for (const test::RegWrite& w : test::WritesTo(static_cast<uint16_t>(regmap::kOffPhase.at(0))))
        EXPECT_EQ(w.value, 0.0);
}

}  // namespace
