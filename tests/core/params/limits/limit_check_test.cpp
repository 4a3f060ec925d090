// The limit checks of the settings: record clamps, frequency, voltage and peak limits, crest-factor
// ceilings, the full voltage check and the SEQ/SIM step limits.
#include <algorithm>
#include <array>
#include <thread>
#include <tuple>

#include "core/params/limits/limit_checks.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "tests/core/ctrl_fixture.h"

using test::FreqRec;
using test::SetVolt;
using test::VoltRec;

namespace {


TEST(ParamRecClampTest, LimitsStayWithinTheDefaultsInTheirOrder) {
    // {name, value, max, min, default max, default min, then value, max, min}
    const std::tuple<const char*, int32_t, int32_t, int32_t, int32_t, int32_t, std::array<int32_t, 3>>
        cases[] = {
            {"inside", 50, 80, 20, 100, 10, {50, 80, 20}},
            {"max above default", 50, 150, 20, 100, 10, {50, 100, 20}},
            {"min below default", 50, 80, 0, 100, 10, {50, 80, 10}},
            {"min above max takes max", 50, 40, 60, 100, 10, {50, 40, 40}},
            // Both limits below the default minimum: the minimum is raised first, the maximum follows it.
            {"both below default minimum", 50, 5, 3, 100, 10, {50, 10, 10}},
            {"both above default maximum", 50, 300, 200, 100, 10, {50, 100, 100}},
            {"value above default max", 101, 80, 20, 100, 10, {0, 80, 20}},
            {"value below default min", 9, 80, 20, 100, 10, {0, 80, 20}},
            // Only the defaults decide the value: one outside max/min but inside the defaults stays.
            {"value above max kept", 90, 80, 20, 100, 10, {90, 80, 20}},
        };
    for (const auto& [name, value, max, min, defaultMax, defaultMin, after] : cases) {
        ParamRec r{value, max, min, 0, 0, defaultMax, defaultMin, 0, 0, 0, 0, 0.0f, 0.0f, nullptr};
        ParamRecClamp(&r);
        EXPECT_EQ((std::array<int32_t, 3>{r.value, r.max, r.min}), after) << name;
    }
}

class LimitCheckTest : public ::testing::Test {
  protected:
    test::DefaultStore store;

    // One word of a frequency-class record.
    static void SetFreq(uint32_t id, uint32_t mode, uint32_t phase, int32_t value,
                        int32_t ParamRec::*field = &ParamRec::value) {
        ParamRec r = FreqRec(id, mode, phase);
        r.*field = value;
        test::PutFreqRec(id, mode, phase, r);
    }
};

TEST_F(LimitCheckTest, LoweringTheHighLimitBelowTheFrequencyLowersOnlyTheFieldMaximum) {
    const ParamRec before = FreqRec(12, kModeAcInt, 0), acDcBefore = FreqRec(12, kModeAcDcInt, 0);
    const int32_t limit = before.value - 1000;  // below the set frequency
    SetFreq(16, kModeAcInt, 0, limit);
    // Modes without a frequency of their own leave it alone.
    for (uint32_t mode : {2u, 3u, 4u, 7u, 8u})
        FreqLimitCheck(mode);
    EXPECT_EQ(FreqRec(12, kModeAcInt, 0).max, before.max);
    FreqLimitCheck(kModeAcInt);
    for (uint32_t mode : {kModeAcInt, kModeAcAdd}) {
        EXPECT_EQ(FreqRec(12, mode, 0).max, limit) << mode;
        EXPECT_EQ(FreqRec(12, mode, 0).value, before.value) << mode;  // the field editor holds the value
    }
    // The limits keep room for the set frequency; the AC+DC modes have limits of their own.
    EXPECT_EQ(FreqRec(16, kModeAcInt, 0).min, before.value);
    EXPECT_EQ(FreqRec(19, kModeAcInt, 0).max, before.value);
    EXPECT_EQ(FreqRec(12, kModeAcDcInt, 0).max, acDcBefore.max);
}

TEST_F(LimitCheckTest, VcaFrequencyIsHeldOnItsOwn) {
    const ParamRec before = FreqRec(12, kModeAcVca, 0), acBefore = FreqRec(12, kModeAcInt, 0);
    const int32_t hiMinBefore = FreqRec(16, kModeAcVca, 0).min;
    SetFreq(19, kModeAcVca, 0, before.value + 1000);
    FreqLimitCheck(kModeAcVca);
    EXPECT_EQ(FreqRec(12, kModeAcVca, 0).min, before.value + 1000);
    EXPECT_EQ(FreqRec(12, kModeAcVca, 0).value, before.value);
    EXPECT_EQ(FreqRec(16, kModeAcVca, 0).min, std::max(hiMinBefore, before.value));
    EXPECT_EQ(FreqRec(12, kModeAcInt, 0).min, acBefore.min);  // the AC pair is not part of a VCA check
}

// With its group marked, the selected phase's limit goes to every phase, so a raised limit stays raised.
TEST_F(LimitCheckTest, AllPhasesTakeTheBindingLimitAndCopyTheSelectedOne) {
    g_EditAllPhases = 1;
    const ParamRec l1Before = FreqRec(16, kModeAcInt, 0);
    SetFreq(16, kModeAcInt, 2, 4000);
    FreqLimitCheck(kModeAcInt);
    EXPECT_EQ(FreqRec(12, kModeAcInt, 0).max, 4000);
    EXPECT_EQ(FreqRec(16, kModeAcInt, 0).value, l1Before.value);
    EXPECT_EQ(FreqRec(16, kModeAcInt, 0).min, l1Before.min);

    using Get = ParamRec (*)(uint32_t phase);
    using Put = void (*)(uint32_t phase, ParamRec r);
    const std::tuple<uint32_t, Get, Put, void (*)()> cases[] = {
        {16, [](uint32_t p) { return FreqRec(16, kModeAcInt, p); },
         [](uint32_t p, ParamRec r) { test::PutFreqRec(16, kModeAcInt, p, r); },
         [] { FreqLimitCheck(kModeAcInt); }},
        {8, [](uint32_t p) { return VoltRec(8, 0, 1, 0, 0, p); },
         [](uint32_t p, ParamRec r) { test::PutVoltRec(8, 0, 1, 0, 0, p, r); }, [] { VoltLimitCheck(1); }},
        {10, [](uint32_t p) { return VoltRec(10, 0, 1, 0, 0, p); },
         [](uint32_t p, ParamRec r) { test::PutVoltRec(10, 0, 1, 0, 0, p, r); }, [] { VpkLimitCheck(1); }},
    };
    for (const auto& [id, get, put, check] : cases) {
        const int32_t raised = get(0).defaultMax;
        for (uint32_t p = 0; p < 3; ++p) {
            ParamRec r = get(p);
            r.value = p == 0 ? raised : raised - 500;
            r.def1 = static_cast<int32_t>(p) + 1;  // marks whose record it is
            put(p, r);
        }
        MarkParamGroupChanged(id);
        check();
        ClearParamGroupMarks();
        for (uint32_t p = 0; p < 3; ++p) {
            EXPECT_EQ(get(p).value, raised) << id << " L" << p + 1;
            EXPECT_EQ(get(p).def1, 1) << id << " L" << p + 1;
        }
    }
}

// The checks rewrite records while the panel or a remote command writes settings on another thread: every
// record write holds the store's lock (the ThreadSanitizer build reports one that does not), and a value in
// force within its limits is never put back to one a check read before.
TEST_F(LimitCheckTest, ChecksBesideAWriterOfTheSettings) {
    constexpr int kWrites = 2000;
    std::thread writer([] {
        for (int i = 0; i < kWrites; ++i)
            paramPutValue(47, 1000 + i % 100, 0);  // AC voltage, 10.00-10.99 V
    });
    for (int i = 0; i < 200; ++i) {
        for (uint32_t area : {0u, 1u}) {
            VoltLimitCheck(area);
            VpkLimitCheck(area);
        }
        FreqLimitCheck(kModeAcInt);
    }
    writer.join();
    EXPECT_EQ(test::ReadRecord(47, 0).value, 1000 + (kWrites - 1) % 100);
}

TEST_F(LimitCheckTest, VoltageLimitBoundsTheAcOnlyModesOfBothSets) {
    const int32_t acDcMax = VoltRec(47, kModeAcDcInt, 1, kWaveSin, 0, 0).max,
                  vppMax = VoltRec(47, kModeAcInt, 1, kWaveSin, 1, 0).max,
                  l2Max = VoltRec(47, kModeAcInt, 1, kWaveSin, 0, 1).max;
    SetVolt(8, 0, 1, 0, 0, 0, 20000);
    SetVolt(47, kModeAcInt, 1, kWaveTri, 0, 0, 12000);
    VoltLimitCheck(1);
    for (uint32_t mode : {kModeAcInt, kModeAcAdd, kModeAcSync})
        for (uint32_t w : {0u, kWaveSin, 255u})
            EXPECT_EQ(VoltRec(47, mode, 1, w, 0, 0).max, 20000) << mode << " " << w;
    EXPECT_EQ(VoltRec(47, kModeAcDcInt, 1, kWaveSin, 0, 0).max,
              acDcMax);                                                 // AC+DC is bounded by the peak limits
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveSin, 1, 0).max, vppMax);  // the Vpp set has its own limit
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveSin, 0, 1).max, l2Max);   // only the selected phase
    EXPECT_EQ(VoltRec(8, 0, 1, 0, 0, 0).min, 12000);  // the limit cannot be set below a voltage in force
    // A limit of 0 takes its default value.
    SetVolt(8, 0, 0, 0, 0, 0, 0);
    VoltLimitCheck(0);
    const ParamRec zeroed = VoltRec(8, 0, 0, 0, 0, 0);
    EXPECT_EQ(zeroed.value, zeroed.defaultValue);
    EXPECT_NE(zeroed.value, 0);
}

TEST_F(LimitCheckTest, PeakLimitsLeaveTheAcRoomTheDcVoltageAllows) {
    core::ParamSetWaveFactor(kWaveSin, 1.414f);
    SetVolt(10, 0, 1, 0, 0, 0, 2000);
    SetVolt(11, 0, 1, 0, 0, 0, -2000);
    SetVolt(51, kModeAcDcInt, 1, kWaveSin, 0, 0, 1000);
    VpkLimitCheck(1);
    EXPECT_EQ(VoltRec(47, kModeAcDcInt, 1, kWaveSin, 0, 0).max, 707);  // trunc(1000 / 1.414)
    EXPECT_EQ(VoltRec(51, kModeAcDcInt, 1, kWaveSin, 0, 0).max, 2000);
    EXPECT_EQ(VoltRec(51, kModeAcDcInt, 1, kWaveSin, 0, 0).min, -2000);
    // The Vpp set divides by 0.5: a DC voltage of 0 leaves 2 x 2000.
    EXPECT_EQ(VoltRec(47, kModeAcDcInt, 1, kWaveSin, 1, 0).max, 4000);
    // The DC-INT voltage is held within the peak limits themselves, each phase's within its own.
    EXPECT_EQ(VoltRec(51, kModeDcInt, 1, 0, 0, 0).max, 2000);
    EXPECT_EQ(VoltRec(51, kModeDcInt, 1, 0, 0, 0).min, -2000);
    EXPECT_EQ(VoltRec(51, kModeDcInt, 1, 0, 0, 1).max, VoltRec(10, 0, 1, 0, 0, 1).value);
    EXPECT_EQ(VoltRec(51, kModeDcInt, 1, 0, 0, 1).min, VoltRec(11, 0, 1, 0, 0, 1).value);
    EXPECT_EQ(VoltRec(47, kModeAcDcInt, 1, kWaveSin, 0, 1).max,
              std::min(VoltRec(47, kModeAcDcInt, 1, kWaveSin, 0, 1).defaultMax,
                       static_cast<int32_t>(VoltRec(10, 0, 1, 0, 0, 1).value / 1.414)));
    // A waveform without a peak factor has no AC room to compute and keeps its maximum.
    const int32_t acMax = VoltRec(47, kModeAcDcInt, 1, 3, 0, 0).max;
    core::ParamSetWaveFactor(3, 0.0f);
    SetVolt(51, kModeAcDcInt, 1, 3, 0, 0, 3000);  // outside the peak limit: no room at all
    VpkLimitCheck(1);
    EXPECT_EQ(VoltRec(47, kModeAcDcInt, 1, 3, 0, 0).max, acMax);
}

TEST_F(LimitCheckTest, PeakLimitsKeepRoomForTheLargestPeaksInForce) {
    core::ParamSetWaveFactor(kWaveSin, 1.5f);
    SetVolt(47, kModeAcDcInt, 1, kWaveSin, 0, 0, 2000);
    SetVolt(51, kModeAcDcInt, 1, kWaveSin, 0, 0, 1000);
    SetVolt(47, kModeAcDcInt, 1, kWaveSin, 0, 1, 2000);
    SetVolt(51, kModeAcDcInt, 1, kWaveSin, 0, 1, -10000);
    VpkLimitCheck(1);
    // Peaks 1000 +- 3000 (L1) and -10000 - 3000 (L2): a phase's peak limits may not pass inside its own.
    EXPECT_EQ(VoltRec(10, 0, 1, 0, 0, 0).min, 4000);
    EXPECT_EQ(VoltRec(11, 0, 1, 0, 0, 0).max, -2000);
    EXPECT_EQ(VoltRec(11, 0, 1, 0, 0, 1).max, -13000);
    // Editing all phases, the selected phase's limit goes to every phase of the wiring: it keeps clear of
    // L2's peaks in 3P4W, and of L1's alone in 1P2W.
    g_EditAllPhases = 1;
    for (const auto& [wiring, lo] : {std::pair{kWiring3P4W, -13000}, {kWiring1P2W, -2000}}) {
        g_PhaseMode = wiring;
        VpkLimitCheck(1);
        EXPECT_EQ(VoltRec(11, 0, 1, 0, 0, 0).max, lo) << wiring;
        EXPECT_EQ(VoltRec(11, 0, 1, 0, 0, 1).max, -13000) << wiring;
    }
    g_PhaseMode = kWiring3P4W;
    g_EditAllPhases = 0;
}

TEST_F(LimitCheckTest, CrestFactorLowersTheAcCeilingOfEachPhase) {
    const int32_t dcIntMax = VoltRec(47, 3, 1, 3, 0, 0).defaultMax;
    core::ParamSetWaveFactor(3, 2.0f);
    core::ParamSetWaveFactor(kWaveTri, 1.42f);
    SetVolt(10, 0, 1, 0, 0, 0, 4000, &ParamRec::defaultMax);
    const int32_t triLimit = VoltRec(47, kModeAcInt, 1, kWaveTri, 0, 0).max;
    SetVolt(8, 0, 1, 0, 0, 0, triLimit - 1000, &ParamRec::defaultMax);
    ArbAcvLimitUpdateAll();
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, 3, 0, 0).defaultMax, 2000);  // the peak limit over the crest factor
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, 3, 0, 0).max, 2000);
    // 1.42 is not above: the voltage limit's default maximum, and the maximum is left as it is.
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveTri, 0, 0).defaultMax, triLimit - 1000);
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveTri, 0, 0).max, triLimit);
    // Other phases keep their own peak limits.
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, 3, 0, 1).defaultMax, VoltRec(10, 0, 1, 0, 0, 1).defaultMax / 2);
    // DC-INT and the external AC+DC mode have no internal AC waveform.
    EXPECT_EQ(VoltRec(47, 3, 1, 3, 0, 0).defaultMax, dcIntMax);
}

// The Vpp set instead when the display uses it; an AC voltage above the limit of an AC-only mode is zeroed.
TEST_F(LimitCheckTest, FullCheckCarriesTheVoltageInForceOverEveryWaveform) {
    SetVolt(47, kModeAcInt, 1, kWaveSin, 0, 1, 23000);
    SetVolt(47, kModeAcInt, 1, kWaveSin, 0, 1, 11000, &ParamRec::def1);
    SetVolt(47, kModeAcInt, 1, 5, 0, 1, 100);
    SetVolt(8, 0, 1, 0, 0, 2, 20000);
    SetVolt(47, kModeAcInt, 1, kWaveSin, 0, 2, 25000);
    SetVolt(47, kModeAcDcInt, 1, kWaveSin, 0, 2, 25000);
    VoltSettingCheckAll(kModeAcInt, 1);
    VoltSettingCheckAll(kModeAcDcInt, 1);
    for (uint32_t w : {0u, 5u, kWaveTri, 255u}) {
        EXPECT_EQ(VoltRec(47, kModeAcInt, 1, w, 0, 1).value, 23000) << w;
        EXPECT_EQ(VoltRec(47, kModeAcInt, 1, w, 0, 1).def1, 11000) << w;
    }
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveSin, 0, 0).value, 0);  // other phases keep theirs
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveSin, 0, 2).value, 0);
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveSin, 0, 2).max, 20000);
    EXPECT_EQ(VoltRec(47, kModeAcDcInt, 1, kWaveSin, 0, 2).value, 25000);
    SetVolt(47, kModeAcInt, 1, kWaveSin, 0, 0, 23000);
    SetVolt(47, kModeAcInt, 1, 5, 0, 0, 100);
    VoltSettingCheckPhase(kModeAcInt, 1, 0);
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, 5, 0, 0).value, 100);
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, kWaveSin, 0, 0).value, 23000);

    paramPutValue(119, 1, 0);
    g_ParamStore.unit[0].waveform.value = kWaveTri;
    SetVolt(47, kModeAcInt, 1, kWaveTri, 1, 0, 30000);
    SetVolt(47, kModeAcInt, 1, kWaveTri, 0, 0, 500);
    VoltSettingCheckAll(kModeAcInt, 1);
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, 7, 1, 0).value, 30000);
    EXPECT_EQ(VoltRec(47, kModeAcInt, 1, 7, 0, 0).value, 0);  // the rms set is not carried
}

TEST_F(LimitCheckTest, StepVoltageLimits) {
    core::ParamSetWaveFactor(kWaveSin, 1.5f);
    // Waveforms are numbered from 1 in steps: 17 is SIN.
    // {name, kind, area, waveform, AC and DC voltage, the limit words}
    const std::tuple<const char*, uint32_t, uint32_t, uint32_t, int32_t, int32_t,
                     std::array<int32_t, kStepLimitWords>>
        cases[] = {
            {"AC+DC fits", 0, 1, 17, 10000, 5000, {30000, 0, 35000, -35000, 35000, 0, 50000, -50000, 0}},
            {"AC+DC at its maximum", 0, 1, 17, 30000, 5000, {30000, 0, 5000, -5000, 35000, 0, 50000, -50000, 0}},
            {"AC+DC one step above", 0, 1, 17, 30001, 5000, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"AC+DC peak over", 0, 1, 17, 30000, 10000, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"AC+DC negative AC", 0, 1, 17, INT32_MIN, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"AC+DC AC of -0.01 V", 0, 1, 17, -1, 5000, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"AC fits", 1, 0, 17, 17500, 0, {17500, 0, 0, 0, 17500, 0, 0, 0, 0}},
            {"AC over", 1, 0, 17, 17501, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"DC fits", 2, 1, 1, 0, -50000, {0, 0, 50000, -50000, 0, 0, 50000, -50000, 0}},
            {"DC under", 2, 1, 1, 0, -50001, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"bad kind", 3, 1, 17, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
            {"bad waveform", 1, 1, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        };
    for (const auto& [name, kind, area, wave, acv, dcv, expect] : cases) {
        std::array<int32_t, kStepLimitWords> out;
        SeqStepVoltLimits(out.data(), kind, area, wave, acv, dcv);
        EXPECT_EQ(out, expect) << name;
    }
}

// An AC+DC step is held to the peak limits, not to the room the voltages set now leave: a present 200 V
// AC voltage shrinks the records' DC limits but not the step's, a lower peak limit shrinks both.
TEST_F(LimitCheckTest, StepLimitsFollowThePeakLimitsNotTheVoltagesSet) {
    core::ParamSetWaveFactor(kWaveSin, 1.5f);
    std::array<int32_t, kStepLimitWords> before, out;
    SeqStepVoltLimits(before.data(), 0, 1, 17, 10000, 5000);
    SetVolt(kParamAcv, kModeAcDcInt, 1, kWaveSin, 0, 0, 20000);
    VpkLimitCheck(1);
    ASSERT_EQ(VoltRec(kParamDcv, kModeAcDcInt, 1, kWaveSin, 0, 0).max, 20000);  // 50000 - 1.5 x 20000
    SeqStepVoltLimits(out.data(), 0, 1, 17, 10000, 5000);
    EXPECT_EQ(out, before);
    SetVolt(kParamVpkMax, 0, 1, 0, 0, 0, 30000);
    SetVolt(kParamVpkMin, 0, 1, 0, 0, 0, -40000);
    SeqStepVoltLimits(out.data(), 0, 1, 17, 10000, 5000);
    EXPECT_EQ(out[kStepDcvMax], 15000);   // 30000 - 1.5 x 10000
    EXPECT_EQ(out[kStepDcvMin], -25000);  // -40000 + 15000
    EXPECT_EQ(out[kStepAcvMax], 16666);   // (30000 - 5000) / 1.5
}

}  // namespace
