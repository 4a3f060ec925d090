#include <gtest/gtest.h>

#include <algorithm>

#include "core/output_flags.h"
#include "core/param_access.h"
#include "core/param_store.h"
#include "panel/param_dirty.h"
#include "screens/output/limit_checks.h"
#include "tests/support/default_store.h"

using test::FreqRec;
using test::PutFreqRec;
using test::PutVoltRec;
using test::VoltRec;

namespace {

constexpr uint32_t kAcDcInt = 0, kAcInt = 1, kDcInt = 2, kAcAdd = 6, kAcSync = 8, kVca = 9;
constexpr uint32_t kSin = 16, kTri = 18;

struct ClampCase {
    const char* name;
    ParamRec in;  // value, max, min, decimals, digits, defaultMax, defaultMin
    int32_t value, max, min;
};

ParamRec Rec(int32_t value, int32_t max, int32_t min, int32_t defMax, int32_t defMin) {
    ParamRec r{};
    r.value = value;
    r.max = max;
    r.min = min;
    r.defaultMax = defMax;
    r.defaultMin = defMin;
    return r;
}

TEST(ParamRecClampTest, LimitsStayWithinTheDefaultsInTheirOrder) {
    const ClampCase cases[] = {
        {"inside", Rec(50, 80, 20, 100, 10), 50, 80, 20},
        {"max above default", Rec(50, 150, 20, 100, 10), 50, 100, 20},
        {"min below default", Rec(50, 80, 0, 100, 10), 50, 80, 10},
        {"min above max takes max", Rec(50, 40, 60, 100, 10), 50, 40, 40},
        // Both limits below the default minimum: the minimum is raised first, the maximum follows it.
        {"both below default minimum", Rec(50, 5, 3, 100, 10), 50, 10, 10},
        {"both above default maximum", Rec(50, 300, 200, 100, 10), 50, 100, 100},
        {"value above default max", Rec(101, 80, 20, 100, 10), 0, 80, 20},
        {"value below default min", Rec(9, 80, 20, 100, 10), 0, 80, 20},
        // Only the defaults decide the value: one outside max/min but inside the defaults stays.
        {"value above max kept", Rec(90, 80, 20, 100, 10), 90, 80, 20},
        {"negative limits", Rec(-600, -100, -500, -100, -500), 0, -100, -500},
    };
    for (const ClampCase& c : cases) {
        ParamRec r = c.in;
        ParamRecClamp(&r);
        EXPECT_EQ(r.value, c.value) << c.name;
        EXPECT_EQ(r.max, c.max) << c.name;
        EXPECT_EQ(r.min, c.min) << c.name;
        EXPECT_LE(r.max, r.defaultMax) << c.name;
        EXPECT_LE(r.min, r.max) << c.name;
    }
}

class LimitCheckTest : public ::testing::Test {
  protected:
    test::DefaultStore store;

    static void SelectLine(uint32_t line) {
        g_OutputFlags = (g_OutputFlags.load() & ~(3u << 26)) | (line << 26);
    }
    static void SetVolt(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set,
                        uint32_t phase, int32_t value) {
        ParamRec r = VoltRec(id, mode, area, wave, set, phase);
        r.value = value;
        PutVoltRec(id, mode, area, wave, set, phase, r);
    }
};

TEST_F(LimitCheckTest, LoweringTheHighLimitBelowTheFrequencyLowersOnlyTheFieldMaximum) {
    const ParamRec before = FreqRec(12, kAcInt, 0), acDcBefore = FreqRec(12, kAcDcInt, 0);
    ParamRec hi = FreqRec(16, kAcInt, 0);
    hi.value = before.value - 1000;  // below the set frequency
    PutFreqRec(16, kAcInt, 0, hi);
    // Modes without a frequency of their own leave it alone.
    for (uint32_t mode : {2u, 3u, 4u, 7u, 8u})
        FreqLimitCheck(mode);
    EXPECT_EQ(FreqRec(12, kAcInt, 0).max, before.max);
    FreqLimitCheck(kAcInt);
    for (uint32_t mode : {kAcInt, kAcAdd}) {
        ParamRec f = FreqRec(12, mode, 0);
        EXPECT_EQ(f.max, hi.value) << mode;
        EXPECT_EQ(f.value, before.value) << mode;  // the field editor holds the value, not this check
    }
    // The limits keep room for the set frequency.
    EXPECT_EQ(FreqRec(16, kAcInt, 0).min, before.value);
    EXPECT_EQ(FreqRec(19, kAcInt, 0).max, before.value);
    // The AC+DC modes have limits of their own and are untouched.
    EXPECT_EQ(FreqRec(12, kAcDcInt, 0).max, acDcBefore.max);
}

TEST_F(LimitCheckTest, VcaFrequencyIsHeldOnItsOwn) {
    const ParamRec before = FreqRec(12, kVca, 0), acBefore = FreqRec(12, kAcInt, 0);
    const int32_t hiMinBefore = FreqRec(16, kVca, 0).min;
    ParamRec lo = FreqRec(19, kVca, 0);
    lo.value = before.value + 1000;
    PutFreqRec(19, kVca, 0, lo);
    FreqLimitCheck(kVca);
    ParamRec f = FreqRec(12, kVca, 0);
    EXPECT_EQ(f.min, lo.value);
    EXPECT_EQ(f.value, before.value);
    EXPECT_EQ(FreqRec(16, kVca, 0).min, std::max(hiMinBefore, before.value));
    EXPECT_EQ(FreqRec(12, kAcInt, 0).min, acBefore.min);  // the AC pair is not part of a VCA check
}

TEST_F(LimitCheckTest, AllPhasesTakeTheBindingLimitWithTiesToTheLowerPhase) {
    g_EditAllPhases = 1;
    const int32_t values[3] = {6000, 5500, 5500};
    for (uint32_t p = 0; p < 3; ++p) {
        ParamRec hi = FreqRec(16, kAcInt, p);
        hi.value = values[p];
        hi.def1 = static_cast<int32_t>(p) + 1;  // marks whose record it is
        PutFreqRec(16, kAcInt, p, hi);
    }
    MarkParamGroupChanged(1, 16);
    FreqLimitCheck(kAcInt);
    for (uint32_t p = 0; p < 3; ++p) {
        ParamRec hi = FreqRec(16, kAcInt, p);
        EXPECT_EQ(hi.value, 5500) << p;
        EXPECT_EQ(hi.def1, 2) << p;  // L2's, not L3's
    }
    EXPECT_EQ(FreqRec(12, kAcInt, 0).max, 5500);
}

TEST_F(LimitCheckTest, AllPhasesWithoutAMarkedGroupWriteNoLimitBack) {
    g_EditAllPhases = 1;
    const ParamRec l1Before = FreqRec(16, kAcInt, 0);
    ParamRec hi = FreqRec(16, kAcInt, 2);
    hi.value = 4000;
    PutFreqRec(16, kAcInt, 2, hi);
    FreqLimitCheck(kAcInt);
    EXPECT_EQ(FreqRec(12, kAcInt, 0).max, 4000);  // the field follows the binding limit
    EXPECT_EQ(FreqRec(16, kAcInt, 0).value, l1Before.value);
    EXPECT_EQ(FreqRec(16, kAcInt, 0).min, l1Before.min);
}

TEST_F(LimitCheckTest, VoltageLimitBoundsTheAcOnlyModesOfBothSets) {
    const int32_t acDcMax = VoltRec(47, kAcDcInt, 1, kSin, 0, 0).max,
                  vppMax = VoltRec(47, kAcInt, 1, kSin, 1, 0).max,
                  l2Max = VoltRec(47, kAcInt, 1, kSin, 0, 1).max;
    ParamRec v = VoltRec(8, 0, 1, 0, 0, 0);
    v.value = 20000;
    PutVoltRec(8, 0, 1, 0, 0, 0, v);
    SetVolt(47, kAcInt, 1, kTri, 0, 0, 12000);
    VoltLimitCheck(1);
    for (uint32_t mode : {kAcInt, kAcAdd, kAcSync})
        for (uint32_t w : {0u, kSin, 255u})
            EXPECT_EQ(VoltRec(47, mode, 1, w, 0, 0).max, 20000) << mode << " " << w;
    EXPECT_EQ(VoltRec(47, kAcDcInt, 1, kSin, 0, 0).max, acDcMax);  // AC+DC is bounded by the peak limits
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kSin, 1, 0).max, vppMax);     // the Vpp set has its own limit
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kSin, 0, 1).max, l2Max);      // only the selected phase
    ParamRec after = VoltRec(8, 0, 1, 0, 0, 0);
    EXPECT_EQ(after.value, 20000);
    EXPECT_EQ(after.min, 12000);  // the limit cannot be set below a voltage in force
    // A limit of 0 takes its default value.
    v = VoltRec(8, 0, 0, 0, 0, 0);
    v.value = 0;
    PutVoltRec(8, 0, 0, 0, 0, 0, v);
    VoltLimitCheck(0);
    EXPECT_EQ(VoltRec(8, 0, 0, 0, 0, 0).value, v.defaultValue);
    EXPECT_NE(v.defaultValue, 0);
}

TEST_F(LimitCheckTest, PeakLimitsLeaveTheAcRoomTheDcVoltageAllows) {
    core::ParamSetWaveFactor(kSin, 1.414f);
    ParamRec vpkMax = VoltRec(10, 0, 1, 0, 0, 0);
    ParamRec vpkMin = VoltRec(11, 0, 1, 0, 0, 0);
    vpkMax.value = 2000;
    vpkMin.value = -2000;
    PutVoltRec(10, 0, 1, 0, 0, 0, vpkMax);
    PutVoltRec(11, 0, 1, 0, 0, 0, vpkMin);
    SetVolt(51, kAcDcInt, 1, kSin, 0, 0, 1000);
    VpkLimitCheck(1);
    EXPECT_EQ(VoltRec(47, kAcDcInt, 1, kSin, 0, 0).max, 707);  // trunc(1000 / 1.414)
    ParamRec dcv = VoltRec(51, kAcDcInt, 1, kSin, 0, 0);
    EXPECT_EQ(dcv.max, 2000);
    EXPECT_EQ(dcv.min, -2000);
    // The Vpp set divides by 0.5: a DC voltage of 0 leaves 2 x 2000.
    EXPECT_EQ(VoltRec(47, kAcDcInt, 1, kSin, 1, 0).max, 4000);
    // The DC-INT voltage is held within the peak limits themselves.
    ParamRec dcInt = VoltRec(51, kDcInt, 1, 0, 0, 1);
    EXPECT_EQ(dcInt.max, 2000);
    EXPECT_EQ(dcInt.min, -2000);
}

TEST_F(LimitCheckTest, PeakLimitsKeepRoomForTheLargestPeaksInForce) {
    core::ParamSetWaveFactor(kSin, 1.5f);
    SetVolt(47, kAcDcInt, 1, kSin, 0, 0, 2000);
    SetVolt(51, kAcDcInt, 1, kSin, 0, 0, 1000);
    SetVolt(47, kAcDcInt, 1, kSin, 0, 1, 2000);
    SetVolt(51, kAcDcInt, 1, kSin, 0, 1, -10000);
    VpkLimitCheck(1);
    // Peaks 1000 + 3000 (L1) and -10000 - 3000 (L2): the peak limits may not pass inside them.
    EXPECT_EQ(VoltRec(10, 0, 1, 0, 0, 0).min, 4000);
    EXPECT_EQ(VoltRec(11, 0, 1, 0, 0, 0).max, -13000);
}

TEST_F(LimitCheckTest, WaveformWithoutPeakFactorKeepsItsAcMaximum) {
    const int32_t acMax = VoltRec(47, kAcDcInt, 1, 3, 0, 0).max;
    core::ParamSetWaveFactor(3, 0.0f);
    ParamRec vpkMax = VoltRec(10, 0, 1, 0, 0, 0);
    vpkMax.value = 2000;
    PutVoltRec(10, 0, 1, 0, 0, 0, vpkMax);
    SetVolt(51, kAcDcInt, 1, 3, 0, 0, 3000);  // outside the peak limit: no room at all
    VpkLimitCheck(1);
    EXPECT_EQ(VoltRec(47, kAcDcInt, 1, 3, 0, 0).max, acMax);
}

TEST_F(LimitCheckTest, CrestFactorLowersTheAcCeilingOfEachPhase) {
    const int32_t triMax = VoltRec(47, kAcInt, 1, kTri, 0, 0).defaultMax,
                  dcIntMax = VoltRec(47, 3, 1, 3, 0, 0).defaultMax;
    core::ParamSetWaveFactor(3, 2.0f);
    core::ParamSetWaveFactor(kTri, 1.42f);
    ParamRec vpkMax = VoltRec(10, 0, 1, 0, 0, 0);
    vpkMax.defaultMax = 4000;
    PutVoltRec(10, 0, 1, 0, 0, 0, vpkMax);
    ArbAcvLimitUpdateAll();
    ParamRec high = VoltRec(47, kAcInt, 1, 3, 0, 0);
    EXPECT_EQ(high.defaultMax, 2000);  // the peak limit over the crest factor
    EXPECT_EQ(high.max, 2000);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kTri, 0, 0).defaultMax, triMax);  // 1.42 is not above
    // Other phases keep their own peak limits.
    EXPECT_EQ(VoltRec(47, kAcInt, 1, 3, 0, 1).defaultMax, VoltRec(10, 0, 1, 0, 0, 1).defaultMax / 2);
    // DC-INT and the external AC+DC mode have no internal AC waveform.
    EXPECT_EQ(VoltRec(47, 3, 1, 3, 0, 0).defaultMax, dcIntMax);
}

TEST_F(LimitCheckTest, FullCheckCarriesTheVoltageInForceOverEveryWaveform) {
    ParamRec acv = VoltRec(47, kAcInt, 1, kSin, 0, 1);
    acv.value = 23000;
    acv.def1 = 11000;
    PutVoltRec(47, kAcInt, 1, kSin, 0, 1, acv);
    SetVolt(47, kAcInt, 1, 5, 0, 1, 100);
    VoltSettingCheckAll(kAcInt, 1);
    for (uint32_t w : {0u, 5u, kTri, 255u}) {
        ParamRec r = VoltRec(47, kAcInt, 1, w, 0, 1);
        EXPECT_EQ(r.value, 23000) << w;
        EXPECT_EQ(r.def1, 11000) << w;
    }
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kSin, 0, 0).value, 0);  // other phases keep theirs
}

TEST_F(LimitCheckTest, FullCheckCarriesTheVppSetWhenTheDisplayUsesIt) {
    paramPutValue(0, 119, 1, 0);
    g_ParamStore.unit[0].waveform.value = kTri;
    SetVolt(47, kAcInt, 1, kTri, 1, 0, 30000);
    SetVolt(47, kAcInt, 1, kTri, 0, 0, 500);
    VoltSettingCheckAll(kAcInt, 1);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, 7, 1, 0).value, 30000);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, 7, 0, 0).value, 0);  // the rms set is not carried
}

TEST_F(LimitCheckTest, FullCheckZeroesAcVoltagesAboveTheLimitInAcOnlyModes) {
    ParamRec v = VoltRec(8, 0, 1, 0, 0, 2);
    v.value = 20000;
    PutVoltRec(8, 0, 1, 0, 0, 2, v);
    SetVolt(47, kAcInt, 1, kSin, 0, 2, 25000);
    SetVolt(47, kAcDcInt, 1, kSin, 0, 2, 25000);
    VoltSettingCheckAll(kAcInt, 1);
    VoltSettingCheckAll(kAcDcInt, 1);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kSin, 0, 2).value, 0);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kSin, 0, 2).max, 20000);
    EXPECT_EQ(VoltRec(47, kAcDcInt, 1, kSin, 0, 2).value, 25000);
}

TEST_F(LimitCheckTest, PhaseCheckTouchesOnlyTheCurrentWaveform) {
    SetVolt(47, kAcInt, 1, kSin, 0, 0, 23000);
    SetVolt(47, kAcInt, 1, 5, 0, 0, 100);
    VoltSettingCheckPhase(kAcInt, 1, 0);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, 5, 0, 0).value, 100);
    EXPECT_EQ(VoltRec(47, kAcInt, 1, kSin, 0, 0).value, 23000);
}

struct StepCase {
    const char* name;
    uint32_t kind, area, wave;
    int32_t acv, dcv;
    int32_t expect[kStepLimitWords];
};

TEST_F(LimitCheckTest, StepVoltageLimits) {
    core::ParamSetWaveFactor(kSin, 1.5f);
    // Waveforms are numbered from 1 in steps: 17 is SIN.
    const StepCase cases[] = {
        {"AC+DC fits", 0, 1, 17, 10000, 5000, {30000, 0, 35000, -35000, 35000, 0, 50000, -50000, 0}},
        {"AC+DC peak over", 0, 1, 17, 30000, 10000, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"AC fits", 1, 0, 17, 17500, 0, {17500, 0, 0, 0, 17500, 0, 0, 0, 0}},
        {"AC over", 1, 0, 17, 17501, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"DC fits", 2, 1, 1, 0, -50000, {0, 0, 50000, -50000, 0, 0, 50000, -50000, 0}},
        {"DC under", 2, 1, 1, 0, -50001, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"bad kind", 3, 1, 17, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"bad waveform", 1, 1, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
    };
    for (const StepCase& c : cases) {
        int32_t out[kStepLimitWords];
        SeqStepVoltLimits(out, c.kind, c.area, c.wave, c.acv, c.dcv);
        for (int i = 0; i < kStepLimitWords; ++i)
            EXPECT_EQ(out[i], c.expect[i]) << c.name << " word " << i;
    }
}

}  // namespace
