// The output settings synchronisation, through the register trace of the simulated power stage: the
// control task is stepped pass by pass (one pass = 2 ms of the menu/control thread).
#include "core/control/output_sync.h"

#include <gtest/gtest.h>

#include <bit>

#include "core/control/ctrl_task.h"
#include "core/control/output_request.h"
#include "core/params/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/system/ctrl_words.h"
#include "core/system/model_table.h"
#include "core/system/msg_ring.h"
#include "core/system/sys_status.h"
#include "ctrl_fixture.h"

using test::CtrlEnv;

namespace {

constexpr uint32_t kAcDcInt = 0, kAcInt = 1, kAcSync = 8;
constexpr uint32_t kTri = 18;
constexpr int kPassMs = 2;

class OutputSync : public ::testing::Test {
  protected:
    // Output mode, wiring and range before the instrument starts, as loaded settings would leave them.
    static void Configure(uint32_t mode, uint32_t wiring, uint32_t rangeCode) {
        g_OutputModeIdx = mode;
        g_PhaseMode = wiring;
        g_ParamStore.rangeCode[mode] = rangeCode;
    }
    // Starts the task and steps it until the system is ready; the number of passes it took.
    static int StartAndSettle() {
        int passes = 0;
        while (!(g_CtrlTaskObj.state == core::kCtrlRowRun && g_CtrlTaskObj.msg == core::kCtrlMsgPass) &&
               passes < 1000) {
            CtrlTask_Poll();
            ++passes;
        }
        while (!SysStatusTest(kSysReady) && passes < 2000) {
            CtrlTask_Poll();
            ++passes;
        }
        CtrlEnv::ClearTrace();
        return passes;
    }
    static std::vector<uint16_t> Regs(const std::vector<test::RegWrite>& w) {
        std::vector<uint16_t> out;
        for (const auto& x : w)
            out.push_back(x.reg);
        return out;
    }
    static uint32_t& Shadow(uint32_t unit, int word) { return g_OutputShadow[unit][word]; }

    CtrlEnv env_;
};

TEST_F(OutputSync, StartupRewritesEverythingAndBecomesReadyWellWithinItsBudget) {
    Configure(kAcDcInt, 0, 1);
    // The step that leaves the start-up wait runs the first pass of the run state: the full rewrite.
    std::vector<test::RegWrite> first;
    for (int pass = 0; pass < 1000 && g_CtrlTaskObj.state != core::kCtrlRowRun; ++pass) {
        CtrlEnv::ClearTrace();
        CtrlEnv::Poll(1);
        first = CtrlEnv::Writes();
    }
    // From the wiring register on, every output register of every phase, closed by the apply strobe.
    const auto regs = Regs(first);
    const auto start = std::find(regs.begin(), regs.end(), 2355);
    ASSERT_NE(start, regs.end());
    const auto strobe = std::find(start, regs.end(), 2340);
    ASSERT_NE(strobe, regs.end());
    for (uint16_t reg :
         {2384, 2385, 2386, 2387, 2388, 2389, 2414, 2396, 2390, 2337, 2375, 2376, 2381, 2382, 2383})
        EXPECT_NE(std::find(start, strobe, reg), strobe) << reg;
    EXPECT_EQ(g_FullRewriteReq.load(), 0u);
    EXPECT_EQ(g_PhaseModeChanged.load(), 1u);

    test::ResetOutputState();
    test::BuildDefaults(1);
    Configure(kAcDcInt, 0, 1);
    for (uint32_t p = 0; p < 3; ++p)
        paramPutValue(1, 64 + p, 1, p);  // ON phase angles enabled
    const int passes = StartAndSettle();
    // The settled phases' enables reach the stage in the option word.
    EXPECT_EQ(CtrlEnv::Stage().Stored(2348, 0) & (7u << core::kOptOnEnableL1), 7u << core::kOptOnEnableL1);
    EXPECT_LE(passes * kPassMs, 1500) << passes << " passes";
    EXPECT_FALSE(SysStatusTest(kSysResetDone));
    EXPECT_TRUE(OutputFlagTest(kOutFlagSettled));
}

TEST_F(OutputSync, OneChangedVoltageIsOneWriteAndOneStrobe) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    EXPECT_EQ(SetAcv(23000, 0), 23000);
    CtrlEnv::Poll(1);
    const auto w = CtrlEnv::Writes();
    const auto l1 = CtrlEnv::WritesTo(2384);
    ASSERT_EQ(l1.size(), 1u);
    EXPECT_DOUBLE_EQ(l1[0].value, 230.0);
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.back().reg, 2340);
    EXPECT_EQ(CtrlEnv::WritesTo(2340).size(), 1u);
    // Nothing is left to write: the next passes are quiet.
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(3);
    EXPECT_TRUE(CtrlEnv::Writes().empty());
}

TEST_F(OutputSync, ValuePostedPlusOneIsWrittenAgainAlthoughUnchanged) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    g_OutputShadow[0][core::kShwGain] += 1;
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2390).size(), 1u);

    CtrlEnv::ClearTrace();
    const int32_t freq = GetFrequency(0);
    g_OutputShadow[0][core::kShwFreq] = static_cast<uint32_t>(freq) + 1;
    CtrlEnv::Poll(1);
    const auto f = CtrlEnv::WritesTo(2414);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_DOUBLE_EQ(f[0].value, freq / 100.0);
    EXPECT_EQ(Shadow(0, core::kShwFreq), static_cast<uint32_t>(freq));
    // The duty for the frequency follows on the next pass.
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2461).size(), 1u);
}

TEST_F(OutputSync, TwoSettingsOfTheChainTakeTwoPasses) {
    Configure(kAcDcInt, 0, 1);
    StartAndSettle();
    SetAcv(10000, 0);
    SetDcv(2000, 0);
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2384).size(), 1u);
    EXPECT_TRUE(CtrlEnv::WritesTo(2387).empty());
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(1);
    EXPECT_TRUE(CtrlEnv::WritesTo(2384).empty());
    ASSERT_EQ(CtrlEnv::WritesTo(2387).size(), 1u);
    EXPECT_DOUBLE_EQ(CtrlEnv::WritesTo(2387)[0].value, 20.0);
    EXPECT_EQ(GetDcv(0), 2000);  // the first pass's spread over the waveforms kept the stored value
}

TEST_F(OutputSync, LineAcVoltageIsSplitOverThePhases) {
    const struct {
        uint32_t wiring;
        int32_t line;
        int32_t phase;
        int phases;
    } cases[] = {{2, 23000, 11500, 2}, {0, 38105, 22000, 3}};
    for (const auto& c : cases) {
        test::ResetOutputState();
        test::BuildDefaults(1);
        Configure(kAcInt, c.wiring, 1);
        StartAndSettle();
        paramPutValue(0, 50, c.line, 0);
        panel::DirtySet(kDirtyLineAcv);
        CtrlEnv::Poll(1);
        for (int p = 0; p < 3; ++p) {
            const auto w = CtrlEnv::WritesTo(static_cast<uint16_t>(2384 + p));
            if (p < c.phases) {
                ASSERT_EQ(w.size(), 1u) << c.wiring << " L" << p + 1;
                EXPECT_DOUBLE_EQ(w[0].value, c.phase / 100.0);
                EXPECT_EQ(GetAcv(p), c.phase);
            } else {
                EXPECT_TRUE(w.empty());
            }
        }
        EXPECT_FALSE(panel::DirtyTest(kDirtyLineAcv));
        EXPECT_EQ(Shadow(core::kLineShadow, core::kShwAcv), static_cast<uint32_t>(c.line));
    }
}

TEST_F(OutputSync, LineDcVoltageInSplitPhaseIsTwoHalvesOfOppositeSign) {
    Configure(kAcDcInt, 2, 1);
    SetPhaseBalanceMode(1);
    StartAndSettle();
    g_EditAllPhases = 1;
    paramPutValue(0, 57, 1001, 0);
    panel::DirtySet(kDirtyLineDcv);
    CtrlEnv::Poll(1);
    EXPECT_EQ(GetDcv(0), 500);
    EXPECT_EQ(GetDcv(1), -500);
    ASSERT_EQ(CtrlEnv::WritesTo(2388).size(), 1u);
    EXPECT_DOUBLE_EQ(CtrlEnv::WritesTo(2388)[0].value, -5.0);
}

TEST_F(OutputSync, SynchronisationSourceBelowTheWindowDropsTheFrequency) {
    Configure(kAcSync, 0, 1);
    for (uint32_t p = 0; p < 3; ++p)
        paramPutValue(0, 81, 3, p);  // the frequency comes from the synchronisation input
    CtrlEnv::Stage().SetReadFloat(2236, 0, 50.0f);
    StartAndSettle();
    EXPECT_EQ(Shadow(0, core::kShwFreq), 5000u);
    SetOutputOnOff(1);
    CtrlEnv::Poll(12);
    ASSERT_TRUE(OutputFlagTest(kOutFlagOutputOn));

    CtrlEnv::Stage().SetReadFloat(2236, 0, 5.0f);
    CtrlEnv::Poll(1);
    EXPECT_EQ(Shadow(0, core::kShwFreq), 0u);
    EXPECT_EQ(Shadow(0, core::kShwMeasFreq), 500u);
    EXPECT_TRUE(g_ParamFlags.load() & core::kFlagSyncMissing);
    EXPECT_TRUE(SysStatusTest(kSysSyncSourceMissing));
}

TEST_F(OutputSync, SplitPhaseRangeCodeIsSentAsTheStagesRange) {
    const struct {
        uint32_t wiring, code;
        uint32_t sent;
    } cases[] = {{1, 6, 2}, {1, 3, 1}, {0, 4, 2}, {2, 1, 1}};
    for (const auto& c : cases) {
        test::ResetOutputState();
        test::BuildDefaults(1);
        Configure(kAcInt, c.wiring, c.code);
        StartAndSettle();
        const auto w = CtrlEnv::Stage().Stored(2347, 0);
        EXPECT_EQ(w, c.sent) << c.wiring << " code " << c.code;
    }
}

TEST(SlewTable, ValuesByRevisionFamilyWiringAndParallelOperation) {
    const struct {
        int32_t selection;
        uint32_t revision, model, wiring;
        bool parallel;
        uint32_t value;
    } cases[] = {
        {0, 0, 2, 0, false, 300}, {1, 0, 2, 0, false, 80}, {2, 0, 1, 0, false, 50}, {0, 1, 2, 0, false, 300},
        {1, 1, 2, 0, false, 25},  {1, 1, 2, 1, false, 40}, {1, 1, 1, 0, true, 40},  {2, 1, 9, 0, false, 10},
        {1, 1, 5, 2, false, 25},  {1, 1, 0, 0, false, 77}, {3, 0, 2, 0, false, 77}, {-1, 1, 2, 0, false, 77},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::SlewValueFor(c.selection, c.revision, c.model, c.wiring, c.parallel, 77), c.value)
            << c.selection << " rev " << c.revision << " model " << c.model << " wiring " << c.wiring;
}

TEST_F(OutputSync, SlewIsWrittenForRevisionOneSixKvaUnits) {
    const struct {
        uint32_t wiring;
        uint32_t value;
    } cases[] = {{0, 25}, {1, 40}};
    for (const auto& c : cases) {
        test::ResetOutputState();
        CtrlEnv::Stage().SetVaClass(2);
        test::BuildDefaults(2);  // a single 6 kVA unit
        core::g_CtrlFwVersion = 1;
        SetSlewRate(1);
        Configure(kAcInt, c.wiring, c.wiring == 1 ? 3 : 1);
        StartAndSettle();
        EXPECT_EQ(GetSlewRate(), 1);
        EXPECT_EQ(CtrlEnv::Stage().Stored(2343, 0), c.value) << c.wiring;
    }
}

TEST_F(OutputSync, WaveformChangeOfAllPhasesNamesEveryLimitedPhaseOnce) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    g_EditAllPhases = 1;
    paramPutValue(0, 47, 23000, 0);
    MarkParamGroupChanged(1, 47);
    CtrlEnv::Poll(1);
    ASSERT_EQ(GetAcv(2), 23000);
    // A lower voltage limit on L1 and L3 caps what the new waveform may take there.
    for (uint32_t p : {0u, 2u}) {
        ParamRec v;
        paramAccessByUnit(0, 8, &v, kAcInt, 1, 0, 0, p);
        v.value = 20000;
        paramAccessByUnit(1, 8, &v, kAcInt, 1, 0, 0, p);
    }
    paramPutValue(0, 30, static_cast<int32_t>(kTri), 0);
    MarkParamGroupChanged(1, 30);
    g_MsgFreeText[0] = '\0';
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(1);
    EXPECT_STREQ(g_MsgFreeText,
                 " L1 L3 ACV out of range\ndue to wave modification\n(Setting Voltage Limited)");
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_EQ(GetAcv(0), 20000);
    EXPECT_EQ(GetAcv(1), 23000);
    EXPECT_EQ(GetAcv(2), 20000);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(GetWaveform(p), static_cast<int32_t>(kTri));
    ASSERT_EQ(CtrlEnv::WritesTo(2386).size(), 1u);
    EXPECT_DOUBLE_EQ(CtrlEnv::WritesTo(2386)[0].value, 200.0);
    EXPECT_EQ(g_OutputRefresh.load(), 2u);
    EXPECT_FALSE(panel::DirtyTest(kDirtyWave));
}

TEST_F(OutputSync, OneLineWaveformLimitNamesThatLine) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    paramPutValue(0, 43, 1, 0);  // line L2 selected
    CtrlEnv::Poll(1);
    ASSERT_EQ(SetAcv(23000, 1), 23000);
    CtrlEnv::Poll(3);
    ASSERT_EQ(CtrlEnv::Stage().Stored(2385, 0), std::bit_cast<uint32_t>(230.0f));
    ParamRec v;
    paramAccessByUnit(0, 8, &v, kAcInt, 1, 0, 0, 1);
    v.value = 20000;
    paramAccessByUnit(1, 8, &v, kAcInt, 1, 0, 0, 1);
    paramPutValue(0, 31, static_cast<int32_t>(kTri), 1);
    CtrlEnv::Poll(1);
    EXPECT_STREQ(g_MsgFreeText, "L2 ACV out of range\ndue to wave modification\n(Setting Voltage Limited)");
    EXPECT_EQ(GetAcv(1), 20000);
    EXPECT_EQ(CtrlEnv::Stage().Stored(2338, 0), kTri + 1);
}

TEST_F(OutputSync, LeftOverVoltageLimitMarkDoesNotHoldTheChain) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    panel::DirtySet(kDirtyVoltLimit);  // marked for all phases, then the edit mode was left
    SetAcv(12000, 0);
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::WritesTo(2384).size(), 1u);
    EXPECT_FALSE(panel::DirtyTest(kDirtyVoltLimit));
}

TEST_F(OutputSync, LeftOverFrequencyAndWaveformMarksDoNotKeepTheSystemBusy) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    // Marked for all phases, then the edit mode was left before the next pass.
    for (ParamDirtyFlag flag : {kDirtyFreq, kDirtyWave}) {
        SysStatusClear(kSysReady);
        panel::DirtySet(flag);
        CtrlEnv::Poll(4);
        EXPECT_FALSE(panel::DirtyTest(flag)) << flag;
        EXPECT_TRUE(SysStatusTest(kSysReady)) << flag;
        CtrlEnv::ClearTrace();
        CtrlEnv::Poll(4);
        EXPECT_TRUE(CtrlEnv::WritesTo(2340).empty()) << flag;
    }
}

TEST_F(OutputSync, WaveformChangedDuringARangeChangeSettlesInsteadOfStalling) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    SetVoltRange(0);
    SetWaveform(static_cast<int32_t>(kTri), 0);
    CtrlEnv::Poll(1);
    ASSERT_FALSE(OutputFlagTest(kOutFlagSettled));
    for (int pass = 0; pass < 40 && !OutputFlagTest(kOutFlagSettled); ++pass)
        CtrlEnv::Poll(1);
    EXPECT_TRUE(OutputFlagTest(kOutFlagSettled));
    EXPECT_EQ(CtrlEnv::Stage().Stored(2337, 0), kTri + 1);
    EXPECT_EQ(CtrlEnv::Stage().Stored(2347, 0), 0u);
}

TEST_F(OutputSync, EditAllPhasesAtStartStillBecomesReady) {
    Configure(kAcInt, 0, 1);
    g_EditAllPhases = 1;
    const int passes = StartAndSettle();
    EXPECT_TRUE(SysStatusTest(kSysReady));
    EXPECT_LE(passes * kPassMs, 1500);
    EXPECT_TRUE(OutputFlagTest(kOutFlagEditAllSkip));
}

TEST_F(OutputSync, AllPhaseEditOfTheAcVoltageReachesEveryPhaseOfTheWiring) {
    Configure(kAcInt, 2, 1);  // 1P3W: L1 and L2
    StartAndSettle();
    g_EditAllPhases = 1;
    paramPutValue(0, 47, 15000, 0);
    MarkParamGroupChanged(1, 47);
    CtrlEnv::Poll(1);
    EXPECT_EQ(GetAcv(1), 15000);
    EXPECT_EQ(CtrlEnv::WritesTo(2385).size(), 1u);
    EXPECT_TRUE(CtrlEnv::WritesTo(2386).empty());
    EXPECT_EQ(paramGetValue(50, 0, 0), 30000);  // the line value follows
    EXPECT_FALSE(panel::DirtyTest(kDirtyAcv));
}

TEST_F(OutputSync, OptionSettingsWriteTheOptionWordThenTheStrobe) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    SetOutputRelay(1);
    CtrlEnv::Poll(1);
    const auto w = CtrlEnv::Writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].reg, 2348);
    EXPECT_TRUE(w[0].raw & (1u << core::kOptOutputRelay));
    EXPECT_EQ(w[1].reg, 2340);
}

TEST_F(OutputSync, WiringChangeRewritesAndZeroesTheIdlePhases) {
    Configure(kAcInt, 0, 1);
    StartAndSettle();
    for (int p = 0; p < 3; ++p)
        SetAcv(10000, p);
    CtrlEnv::Poll(5);
    g_PhaseMode = 1;  // to 1P2W
    g_ParamStore.rangeCode[kAcInt] = 3;
    CtrlEnv::ClearTrace();
    CtrlEnv::Poll(1);
    EXPECT_EQ(CtrlEnv::Stage().Stored(2355, 0), 1u);
    EXPECT_DOUBLE_EQ(CtrlEnv::WritesTo(2384).back().value, 100.0);
    EXPECT_DOUBLE_EQ(CtrlEnv::WritesTo(2385).back().value, 0.0);
    EXPECT_DOUBLE_EQ(CtrlEnv::WritesTo(2386).back().value, 0.0);
    EXPECT_EQ(GetAcv(2), 0);
    EXPECT_EQ(g_SlewRecheckReq.load(), 1u);
}

}  // namespace
