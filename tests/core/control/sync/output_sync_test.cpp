// The output settings synchronisation, through the register trace of the simulated power stage: the
// control task is stepped pass by pass (one pass = 2 ms of the menu/control thread).
#include "core/control/sync/output_sync.h"

#include <array>
#include <bit>
#include <tuple>

#include "core/control/alarms/alarm_monitor.h"
#include "core/control/measure/measurement.h"
#include "core/control/preset_output.h"
#include "core/control/sync/output_pending.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "core/system/config/model_table.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/support/popup_passes.h"

using namespace test;

namespace {

constexpr int kReadyPasses = 750;  // 1.5 s of 2 ms passes

class OutputSync : public CtrlTest {
  protected:
    // Output mode, wiring and range before the instrument starts, as loaded settings would leave them;
    // then the task is started and stepped until the system is ready. The passes it took.
    static int Start(uint32_t mode, uint32_t wiring, uint32_t rangeCode, void (*before)() = nullptr) {
        g_OutputModeIdx = mode;
        g_PhaseMode = wiring;
        g_ParamStore.rangeCode[mode] = rangeCode;
        if (before) before();
        return RunUntilReady();
    }
    // The same on a freshly built default setting of model type 1.
    static int Restart(uint32_t mode, uint32_t wiring, uint32_t rangeCode, void (*before)() = nullptr) {
        Rebuild();
        return Start(mode, wiring, rangeCode, before);
    }
    // The meter's passes that bring the measured frequency into the measurement records.
    static void Measure() {
        for (int i = 0; i < 4; ++i)
            Meas_Service();
    }
    // Every phase's frequency from the synchronisation input.
    static void SyncFromTheInput() {
        for (uint32_t p = 0; p < 3; ++p)
            paramPutValue(81, 3, p);
    }
    static void LimitVoltage(uint32_t phase, int32_t limit) {
        ParamRec v;
        paramAccessByUnit(Access::kRead, 8, &v, {.mode = kModeAcInt, .area = 1, .unit = phase});
        v.value = limit;
        paramAccessByUnit(Access::kWrite, 8, &v, {.mode = kModeAcInt, .area = 1, .unit = phase});
    }
};

// The first pass rewrites every output register and strobes; ready within 1.5 s, also in edit-all mode.
TEST_F(OutputSync, StartupRewritesEverythingAndBecomesReadyWithinItsBudget) {
    g_ParamStore.rangeCode[kModeAcDcInt] = 1;
    std::vector<uint16_t> first;
    for (int pass = 0; pass < 1000 && g_CtrlTaskObj.state != core::kCtrlRowRun; ++pass) {
        ClearTrace();
        Poll(1);
        first = Registers();
    }
    const auto start = std::find(first.begin(), first.end(), 2355);
    const auto strobe = std::find(start, first.end(), 2340);
    ASSERT_NE(strobe, first.end());
    for (uint16_t reg :
         {2384, 2385, 2386, 2387, 2388, 2389, 2414, 2396, 2390, 2337, 2375, 2376, 2381, 2382, 2383})
        EXPECT_NE(std::find(start, strobe, reg), strobe) << reg;

    const int passes = Restart(kModeAcDcInt, 0, 1, [] {
        for (uint32_t p = 0; p < 3; ++p)
            paramPutState(64 + p, 1, p);  // ON phase angles enabled
    });
    EXPECT_EQ(Stage().Stored(2348, 0) & (7u << core::kOptOnEnableL1), 7u << core::kOptOnEnableL1);
    EXPECT_LE(passes, kReadyPasses);
    EXPECT_LE(Restart(kModeAcInt, 0, 1, [] { g_EditAllPhases = 1; }), kReadyPasses);
}

TEST_F(OutputSync, ConfigurationReachesTheStageAsItsRangeAndSlew) {
    const struct { uint32_t wiring, code, range; } ranges[] = {{1, 6, 2}, {1, 3, 1}, {0, 4, 2}, {2, 1, 1}};
    for (const auto& c : ranges) {
        Restart(kModeAcInt, c.wiring, c.code);
        EXPECT_EQ(Stage().Stored(2347, 0), c.range) << c.wiring << " code " << c.code;
    }
    for (uint32_t wiring : {0u, 1u}) {
        test::ResetOutputState();
        Stage().SetVaClass(2);
        test::BuildDefaults(2);  // a single 6 kVA unit
        core::g_CtrlFwVersion = 1;
        SetSlewRate(1);
        Start(kModeAcInt, wiring, wiring == 1 ? 3 : 1);
        EXPECT_EQ(Stage().Stored(2343, 0), wiring == 1 ? 40u : 25u) << wiring;
    }
    // A selection or a model the table does not know keeps the value last sent.
    EXPECT_EQ(core::SlewValueFor(3, 1, 2, 0, false, 77), 77u);
    EXPECT_EQ(core::SlewValueFor(1, 1, 0, 0, false, 77), 77u);
    EXPECT_EQ(core::SlewValueFor(1, 1, 1, 0, true, 77), 40u);  // parallel operation
    // Other hardware revisions: one value per selection, whatever the model.
    const uint32_t otherRevision[] = {300, 80, 50};
    for (int32_t selection = 0; selection < 3; ++selection)
        EXPECT_EQ(core::SlewValueFor(selection, 0, 1, 0, false, 77), otherRevision[selection]) << selection;
}

// The first pass's voltage spread keeps the stored DC value, not the one posted for the next pass.
TEST_F(OutputSync, ChangedSettingsOfTheChainAreWrittenOnePerPass) {
    Start(kModeAcDcInt, 0, 1);
    EXPECT_EQ(SetAcv(23000, 0), 23000);
    SetDcv(2000, 0);
    Poll(1);
    EXPECT_DOUBLE_EQ(OnlyWriteTo(2384).value, 230.0);
    EXPECT_EQ(Registers(), (std::vector<uint16_t>{2384, 2340}));
    ClearTrace();
    Poll(1);
    EXPECT_DOUBLE_EQ(OnlyWriteTo(2387).value, 20.0);
    EXPECT_EQ(GetDcv(0), 2000);
    ClearTrace();
    Poll(3);
    EXPECT_TRUE(Writes().empty());
    // A value posted as value + 1 is written again although unchanged; the duty follows the frequency.
    g_OutputShadow[0][core::kShwGain] += 1;
    Poll(1);
    EXPECT_EQ(WritesTo(2390).size(), 1u);
    g_OutputShadow[0][core::kShwFreq] = static_cast<uint32_t>(GetFrequency(0)) + 1;
    Poll(1);
    EXPECT_DOUBLE_EQ(OnlyWriteTo(2414).value, GetFrequency(0) / 100.0);
    Poll(1);
    EXPECT_EQ(WritesTo(2461).size(), 1u);
    // Option settings write the option word, then the strobe.
    SetOutputRelay(1);
    ClearTrace();
    Poll(1);
    EXPECT_EQ(Registers(), (std::vector<uint16_t>{2348, 2340}));
    EXPECT_TRUE(OnlyWriteTo(2348).raw & (1u << core::kOptOutputRelay));
}

// By the square root of three in 3P4W, in halves in 1P3W (of opposite sign for balanced DC).
TEST_F(OutputSync, LineValueIsSplitOverThePhasesOfTheWiring) {
    // {mode, wiring, line id, its group, line value, the phases' values}
    const std::tuple<uint32_t, uint32_t, uint32_t, ParamDirtyFlag, int32_t, std::array<int32_t, 3>> cases[] =
        {
            {kModeAcInt, 2, 50, kDirtyLineAcv, 23000, {11500, 11500, 0}},
            {kModeAcInt, 0, 50, kDirtyLineAcv, 38105, {22000, 22000, 22000}},
            {kModeAcDcInt, 2, 57, kDirtyLineDcv, 1001, {500, -500, 0}},
        };
    for (const auto& [mode, wiring, id, flag, line, phase] : cases) {
        const bool dc = id == 57;
        void (*balanced)() = [] { SetPhaseBalanceMode(1); };
        Restart(mode, wiring, 1, dc ? balanced : nullptr);
        g_EditAllPhases = dc ? 1 : 0;
        paramPutValue(id, line, 0);
        panel::DirtySet(flag);
        Poll(1);
        for (int p = 0; p < 3; ++p) {
            const auto w = WritesTo(static_cast<uint16_t>((dc ? 2387 : 2384) + p));
            EXPECT_EQ(w.size(), phase[p] != 0 ? 1u : 0u) << id << " L" << p + 1;
            if (!w.empty()) {
                EXPECT_DOUBLE_EQ(w[0].value, phase[p] / 100.0);
            }
        }
        EXPECT_FALSE(panel::DirtyTest(flag));
    }
}

TEST_F(OutputSync, SynchronisationSourceBelowTheWindowDropsTheFrequency) {
    Stage().SetReadFloat(2236, 0, 50.0f);
    Start(kModeAcSync, 0, 1, [] { SyncFromTheInput(), Measure(); });
    EXPECT_EQ(g_OutputShadow[0][core::kShwFreq], 5000u);
    SetOutputOnOff(1);
    Poll(12);
    ASSERT_TRUE(OutputFlagTest(kOutFlagOutputOn));
    Stage().SetReadFloat(2236, 0, 5.0f);
    Measure();
    Poll(1);
    EXPECT_EQ(g_OutputShadow[0][core::kShwFreq], 0u);
    EXPECT_TRUE(g_ParamFlags.load() & core::kFlagSyncMissing);
    EXPECT_TRUE(SysStatusTest(kSysSyncSourceMissing));
    // 10 Hz is the window's lowest frequency.
    Stage().SetReadFloat(2236, 0, 10.0f);
    Measure();
    Poll(1);
    EXPECT_EQ(g_OutputShadow[0][core::kShwFreq], 1000u);
    EXPECT_FALSE(g_ParamFlags.load() & core::kFlagSyncMissing);
}

// A set command's change is taken up by the pass that writes it, whether the chain, the frequency step
// beside it or the task's own settings step takes it, and not before, nor before what the pass rewrote in
// answer (the frequency's square-wave duty) or left unseen (the rest of the settings step's list) is taken
// up a pass later; changes made later, which keep the task writing on every pass, do not hold it back.
TEST_F(OutputSync, ChangeIsTakenUpByThePassThatWritesIt) {
    Start(kModeAcInt, 0, 1);
    const struct {
        void (*change)();
        uint16_t reg;
        int passes;
    } changes[] = {
        {[] { SetAcv(10000, 0); }, 2384, 1},
        {[] { SetFrequency(6000); }, 2414, 2},
        {[] { SetMonitorSource1Item(1); }, 2448, 2},
    };
    for (const auto& c : changes) {
        c.change();
        const uint64_t ticket = core::NoteSettingsChange();
        ClearTrace();
        int passes = 0;
        for (; passes < 10 && !core::SettingsChangeTaken(ticket); ++passes)
            Poll(1);
        EXPECT_EQ(passes, c.passes) << c.reg;
        EXPECT_FALSE(WritesTo(c.reg).empty()) << c.reg;
    }
    SetAcv(10100, 1);
    const uint64_t first = core::NoteSettingsChange();
    for (int pass = 0; pass < 4; ++pass) {
        SetCurrLimit(500 + pass % 2, 2);
        const uint64_t later = core::NoteSettingsChange();
        Poll(1);
        // The first pass writes the AC voltage, the chain's earlier link, and leaves the limit to the next.
        EXPECT_EQ(core::SettingsChangeTaken(first), pass > 0) << "pass " << pass;
        EXPECT_EQ(core::SettingsChangeTaken(later), pass > 0) << "pass " << pass;
    }
}

// A newly chosen synchronisation signal is awaited until the meter reads it, or for its bound when it
// gives no reading; staying on a signal already read awaits nothing.
TEST_F(OutputSync, NewSynchronisationSignalIsAwaitedUntilItsFirstReading) {
    Stage().SetReadFloat(2236, 0, 50.0f);
    Start(kModeAcSync, 0, 1, Measure);  // the L1 line: no reading with the output off
    plat::SetTimeScale(1.0);            // the bound in real time, so that a slow pass cannot outlast it
    plat::SleepMs(core::kSyncReadingWaitMs);
    Poll(1);
    EXPECT_FALSE(core::SyncReadingAwaited()) << "a signal that gives no reading is not awaited past the bound";
    SyncFromTheInput();
    Poll(1);
    EXPECT_TRUE(core::SyncReadingAwaited());
    Measure();
    Poll(1);
    EXPECT_FALSE(core::SyncReadingAwaited());
    EXPECT_FALSE(g_ParamFlags.load() & core::kFlagSyncMissing);
    Poll(1);
    EXPECT_FALSE(core::SyncReadingAwaited());
}

// The sync error is held until closed, and a held popup keeps every later message off the screen: it
// goes once the meter reads the signal, or once the output leaves the synchronised modes. Another held
// popup stays.
TEST_F(OutputSync, SyncErrorPopupGoesWhenTheSignalIsReadOrTheModeIsLeft) {
    const auto refused = [] {
        EXPECT_EQ(SetOutputOnOff(1), -1);
        core::AlarmNotices(0);
        testsupport::PopupPasses();
        char text[64];
        MsgPopup_Text(text, sizeof text);
        EXPECT_EQ(std::string(text), "External Sync Frequency \nError");
        return MsgPopup_IsPersistent() == 1;
    };
    const auto shownAfterPasses = [] {
        Poll(100);  // a mode change holds the task off twice for 10 passes
        core::AlarmNotices(0);
        testsupport::PopupPasses();
        return MsgPopup_IsPersistent() == 1;
    };
    Start(kModeAcSync, 0, 1, Measure);  // the L1 line: no reading with the output off
    Stage().SetReadFloat(2236, 0, 50.0f);
    SyncFromTheInput();  // not read yet
    Poll(1);
    ASSERT_TRUE(refused());
    EXPECT_TRUE(shownAfterPasses()) << "gone before the signal was read";
    Measure();
    EXPECT_FALSE(shownAfterPasses()) << "stays after the signal was read";

    Stage().SetReadFloat(2236, 0, 0.0f);  // the signal gone
    Measure();
    Poll(1);
    ASSERT_TRUE(refused());
    EXPECT_TRUE(shownAfterPasses());
    SetOutputMode(kModeAcInt);
    EXPECT_FALSE(shownAfterPasses()) << "stays after the mode was left";

    HoldPopup("Held");
    EXPECT_TRUE(shownAfterPasses()) << "another held popup was closed";
    MsgPopup_Close();
    testsupport::PopupPasses();
}

// 1P2W edits one line, so its settling pass compares the synchronisation source: with the output off a
// missing source raises no alarm, also after a wiring change into a synchronised mode; an output-on does.
TEST_F(OutputSync, MissingSynchronisationSourceAlarmsOnlyForTheOutputOn) {
    Start(kModeAcSync, 1, 3);
    EXPECT_TRUE(g_ParamFlags.load() & core::kFlagSyncMissing);
    EXPECT_FALSE(SysStatusTest(kSysSyncSourceMissing));
    SysStatusClear(kSysSyncSourceMissing);  // as the alarm monitor does once it has shown it
    g_PhaseMode = 0;
    Poll(40);
    g_PhaseMode = 1;
    Poll(40);
    ASSERT_TRUE(OutputFlagTest(kOutFlagSettled));
    EXPECT_FALSE(SysStatusTest(kSysSyncSourceMissing));
    EXPECT_EQ(SetOutputOnOff(1), -1) << "a refused request is reported so";
    Poll(12);
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn));
    EXPECT_TRUE(SysStatusTest(kSysSyncSourceMissing));
}

TEST_F(OutputSync, WaveformChangeOfAllPhasesNamesEveryLimitedPhaseOnce) {
    Start(kModeAcInt, 0, 1);
    g_EditAllPhases = 1;
    paramPutValue(47, 23000, 0);
    MarkParamGroupChanged(47);
    Poll(1);
    LimitVoltage(0, 20000);
    LimitVoltage(2, 20000);
    paramPutValue(30, static_cast<int32_t>(kWaveTri), 0);
    MarkParamGroupChanged(30);
    ClearTrace();
    Poll(1);
    EXPECT_STREQ(g_MsgFreeText,
                 " L1 L3 ACV out of range\ndue to wave modification\n(Setting Voltage Limited)");
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_EQ(GetAcv(1), 23000);
    EXPECT_EQ(GetWaveform(2), static_cast<int32_t>(kWaveTri));
    EXPECT_DOUBLE_EQ(OnlyWriteTo(2386).value, 200.0);
    EXPECT_FALSE(panel::DirtyTest(kDirtyWave));
}

TEST_F(OutputSync, OneLineWaveformLimitNamesThatLine) {
    Start(kModeAcInt, 0, 1);
    paramPutValue(43, 1, 0);  // line L2 selected
    Poll(1);
    ASSERT_EQ(SetAcv(23000, 1), 23000);
    Poll(3);
    ASSERT_EQ(Stage().Stored(2385, 0), std::bit_cast<uint32_t>(230.0f));
    LimitVoltage(1, 20000);
    paramPutValue(31, static_cast<int32_t>(kWaveTri), 1);
    Poll(1);
    EXPECT_STREQ(g_MsgFreeText, "L2 ACV out of range\ndue to wave modification\n(Setting Voltage Limited)");
    EXPECT_EQ(GetAcv(1), 20000);
    EXPECT_EQ(Stage().Stored(2338, 0), kWaveTri + 1);
}

// Marks made for all phases, with the edit mode left before the next pass.
TEST_F(OutputSync, LeftOverAllPhaseMarksDoNotHoldTheChain) {
    Start(kModeAcInt, 0, 1);
    int32_t volts = 12000;
    for (ParamDirtyFlag flag : {kDirtyVoltLimit, kDirtyFreq, kDirtyWave}) {
        SysStatusClear(kSysReady);
        panel::DirtySet(flag);
        SetAcv(volts += 100, 0);
        ClearTrace();
        Poll(4);
        EXPECT_EQ(WritesTo(2384).size(), 1u) << flag;
        EXPECT_FALSE(panel::DirtyTest(flag)) << flag;
        EXPECT_TRUE(SysStatusTest(kSysReady)) << flag;
        ClearTrace();
        Poll(4);
        EXPECT_TRUE(WritesTo(2340).empty()) << flag;
    }
}

TEST_F(OutputSync, WaveformChangedDuringARangeChangeSettlesInsteadOfStalling) {
    Start(kModeAcInt, 0, 1);
    SetVoltRange(0);
    SetWaveform(static_cast<int32_t>(kWaveTri), 0);
    Poll(1);
    ASSERT_FALSE(OutputFlagTest(kOutFlagSettled));
    for (int pass = 0; pass < 40 && !OutputFlagTest(kOutFlagSettled); ++pass)
        Poll(1);
    EXPECT_TRUE(OutputFlagTest(kOutFlagSettled));
    EXPECT_EQ(Stage().Stored(2337, 0), kWaveTri + 1);
    EXPECT_EQ(Stage().Stored(2347, 0), 0u);
}

TEST_F(OutputSync, AllPhaseEditOfTheAcVoltageReachesEveryPhaseOfTheWiring) {
    Start(kModeAcInt, 2, 1);  // 1P3W: L1 and L2
    g_EditAllPhases = 1;
    paramPutValue(47, 15000, 0);
    MarkParamGroupChanged(47);
    Poll(1);
    EXPECT_EQ(WritesTo(2385).size(), 1u);
    EXPECT_TRUE(WritesTo(2386).empty());
}

TEST_F(OutputSync, EditAllModeAndRangeRewritesAreStrobed) {
    Start(kModeAcInt, 0, 1, [] { g_EditAllPhases = 1; });
    const std::pair<uint16_t, void (*)()> cases[] = {{2336, [] { SetOutputMode(kModeAcDcInt); }},
                                                     {2347, [] { SetVoltRange(0); }}};
    for (const auto& [reg, change] : cases) {
        ClearTrace();
        change();
        Poll(100);
        const auto regs = Registers();
        const auto write = std::find(regs.begin(), regs.end(), reg);
        ASSERT_NE(write, regs.end()) << reg;
        EXPECT_NE(std::find(write, regs.end(), 2340), regs.end()) << reg;
    }
    // DC-INT plays no AC voltage.
    SetAcv(10000, 0);
    Poll(100);
    ClearTrace();
    SetOutputMode(kModeDcInt);
    Poll(100);
    ASSERT_FALSE(WritesTo(2384).empty());
    EXPECT_DOUBLE_EQ(WritesTo(2384).back().value, 0.0);
}

// Remote sensing ends once the output mode no longer allows it.
TEST_F(OutputSync, RemoteSensingEndsWithTheModeThatBlocksIt) {
    Start(kModeAcInt, 0, 1);
    SetRemoteSense(1);
    Poll(2);
    ASSERT_EQ(GetRemoteSense(), 1);
    SetOutputMode(kModeAcDcInt);
    Poll(2);
    EXPECT_EQ(GetRemoteSense(), 0);
}

// Split-phase wiring works on L1 in the AC modes; the other modes take the line selected.
TEST_F(OutputSync, SplitPhaseWiringFollowsTheSelectedLineOnlyOutsideTheAcModes) {
    const std::pair<uint32_t, uint32_t> cases[] = {{kModeAcInt, 0}, {kModeAcSync, 0}, {kModeDcInt, 1}};
    for (const auto& [mode, line] : cases) {
        Restart(mode, kWiring1P3W, 1);
        paramPutValue(kParamMeasItem1 + 5, 1, 0);  // L2 selected
        Poll(1);
        EXPECT_EQ((g_OutputFlags.load() >> kOutFlagSelLine0) & 3u, line) << mode;
    }
}

TEST_F(OutputSync, WiringChangeRewritesAndZeroesTheIdlePhases) {
    Start(kModeAcInt, 0, 1);
    for (int p = 0; p < 3; ++p)
        SetAcv(10000, p);
    Poll(5);
    g_PhaseMode = 1;  // to 1P2W
    g_ParamStore.rangeCode[kModeAcInt] = 3;
    ClearTrace();
    Poll(1);
    EXPECT_EQ(Stage().Stored(2355, 0), 1u);
    EXPECT_DOUBLE_EQ(WritesTo(2384).back().value, 100.0);
    EXPECT_DOUBLE_EQ(WritesTo(2385).back().value, 0.0);
    EXPECT_DOUBLE_EQ(WritesTo(2386).back().value, 0.0);
    EXPECT_EQ(GetAcv(2), 0);
    EXPECT_EQ(g_SlewRecheckReq.load(), 1u);
}

// Balance rebuilds the phases with a start limit of 10.50 A, above the 4.5 kVA model's 7.88 A.
TEST_F(OutputSync, BalancedPhasesAllHoldTheRangesRmsCurrentLimit) {
    Restart(kModeAcInt, 0, 1, [] {
        for (int p = 0; p < 3; ++p)
            Stage().SetLoad(p, 10.0f);
    });
    SetPhaseBalanceMode(1);
    Poll(50);
    for (int p = 0; p < 3; ++p)
        SetAcv(23000, p);
    Poll(50);
    SetOutputOnOff(1);
    Poll(20);
    ASSERT_TRUE(Stage().OutputOn());
    for (uint32_t p = 0; p < 3; ++p) {
        SCOPED_TRACE(testing::Message() << "L" << p + 1);
        EXPECT_EQ(paramGetValue(kParamCurrLimit2 + p, p), 788);
        EXPECT_FLOAT_EQ(std::bit_cast<float>(Stage().Applied(2396 + p)), 7.88f);
        EXPECT_NEAR(BusReg_ReadFloat(regmap::kIrms.at(p)), 7.88f, 0.01f);
    }
}

// 1P3W is one split phase: its two lines play opposite, so at 100 V a phase L1-L2 measures 200 V, after
// every path that writes the angles, whatever the store keeps for 3P4W (120 and 240 degrees).
TEST_F(OutputSync, SplitPhaseLinesPlayOppositeAfterEveryAngleWrite) {
    const std::pair<const char*, void (*)()> paths[] = {
        {"start-up rewrite", [] { Restart(kModeAcInt, 2, 1); }},
        {"wiring change",
         [] {
             Restart(kModeAcInt, 0, 1);
             g_PhaseMode = 2;
             Poll(5);
         }},
        {"preset recall",
         [] {
             Restart(kModeAcInt, 2, 1);
             ASSERT_EQ(core::PresetRunForOutput(1, 0), 0);  // saved in 1P3W, then recalled
             ASSERT_EQ(core::PresetRunForOutput(0, 0), 0);
             Poll(5);
         }},
        {"output mode change",
         [] {
             Restart(kModeAcInt, 2, 1);
             SetOutputMode(kModeAcDcInt);
             Poll(100);
         }},
    };
    for (const auto& [what, path] : paths) {
        SCOPED_TRACE(what);
        path();
        g_EditAllPhases = 1;
        paramPutValue(47, 10000, 0);
        MarkParamGroupChanged(47);
        Poll(20);
        g_EditAllPhases = 0;
        SetOutputOnOff(1);
        Poll(20);
        ASSERT_TRUE(Stage().OutputOn());
        EXPECT_EQ(std::bit_cast<float>(Stage().Applied(regmap::kPhaseAngleL2)), 180.0f);
        EXPECT_NEAR(BusReg_ReadFloat(regmap::kVrms.at(3)), 200.0f, 0.1f) << "L1-L2";
        SetOutputOnOff(0);
        Poll(5);
    }
}

}  // namespace
