// The all-phase voltage limits: the tightest of three limits, the phases that hold a value back, and the
// impedance copy between phases.
#include <array>
#include <climits>
#include <tuple>

#include "core/params/access/impedance_copy.h"
#include "core/params/limits/phase_limits.h"
#include "core/params/param_ranges.h"
#include "platform/stage/wiring_codes.h"
#include "tests/core/ctrl_fixture.h"

namespace {

using Three = std::array<int32_t, 3>;
using core::Side;
constexpr uint32_t kEqual = core::kAllPhasesEqual;

class PhaseLimitsTest : public ::testing::Test {
  protected:
    test::DefaultStore store;

    // The AC voltage maxima of L1-L3, also as the voltage limits the re-check derives them from.
    static void SetAcvMax(Three max) {
        for (uint32_t p = 0; p < 3; ++p) {
            paramPutValue(kParamVoltLimit, max[p], p);
            paramPutMax(kParamAcv + p, max[p], p);
        }
    }
    // The DC voltage limits of L1-L3, in DC-INT also as the peak limits the re-check derives them from.
    static void SetDcvLimits(Three max, Three min) {
        for (uint32_t p = 0; p < 3; ++p) {
            paramPutValue(kParamVpkMax, max[p], p);
            paramPutValue(kParamVpkMin, min[p], p);
            paramPutMax(kParamDcv + p, max[p], p);
            paramPutMin(kParamDcv + p, min[p], p);
        }
    }
    static void SetValues(uint32_t id, Three v) {
        for (uint32_t p = 0; p < 3; ++p)
            paramPutValue(id + p, v[p], p);
    }
    static Three Word(uint32_t id, int32_t ParamRec::*word) {
        Three out;
        for (uint32_t p = 0; p < 3; ++p)
            out[p] = test::ReadRecord(id + p, p).*word;
        return out;
    }
};

TEST_F(PhaseLimitsTest, AlignGivesTheSelectedPhaseTheTightestLimit) {
    // {id, side, selected phase, limits of L1-L3, index, the selected phase's limit after}
    const std::tuple<uint32_t, Side, uint32_t, Three, uint32_t, int32_t> cases[] = {
        {kParamAcv, Side::kMax, 0, {100, 100, 200}, 1, 100},  // L2 takes a tie with L1
        {kParamAcv, Side::kMax, 2, {100, 200, 100}, 0, 100},  // L3 only when strictly smaller
        {kParamAcv + 1, Side::kMax, 0, {200, 100, 100}, 1, 100},
        {kParamAcv + 2, Side::kMax, 0, {200, 200, 150}, 2, 150},
        {kParamAcv, Side::kMax, 1, {300, 300, 300}, kEqual, 300},
        {kParamDcv, Side::kMax, 2, {-5, 10, 20}, 0, -5},
        {kParamDcv, Side::kMin, 0, {-100, -100, -200}, 1, -100},  // the largest minimum, same ties
        {kParamDcv, Side::kMin, 1, {-100, -200, -100}, 0, -100},
        {kParamDcv, Side::kMin, 0, {-300, -300, -100}, 2, -100},
        {kParamDcv, Side::kMin, 0, {-7, -7, -7}, kEqual, -7},
    };
    for (const auto& [id, side, sel, limits, index, after] : cases) {
        test::SelectLine(sel);
        const bool acv = id < kParamDcv;
        const uint32_t first = acv ? kParamAcv : kParamDcv;
        const bool max = side == Side::kMax;
        int32_t ParamRec::*word = max ? &ParamRec::max : &ParamRec::min;
        for (uint32_t p = 0; p < 3; ++p)
            (max ? paramPutMax : paramPutMin)(first + p, limits[p], p);
        EXPECT_EQ(AlignLimitsToPhases(id, side), index) << id << " " << max << " " << limits[0];
        Three expect = limits;
        expect[sel] = after;
        EXPECT_EQ(Word(first, word), expect) << id << " " << max << " " << limits[0];
        auto& copies = max ? g_LimitedPhase.maxCopy : g_LimitedPhase.minCopy;
        EXPECT_EQ((Three{copies[0].load(), copies[1].load(), copies[2].load()}), limits);
    }
    // The AC minimum side and the other ids change nothing.
    paramPutMin(kParamAcv, 7, 0);
    EXPECT_EQ(AlignLimitsToPhases(kParamAcv, Side::kMin), kEqual);
    EXPECT_EQ(test::ReadRecord(kParamAcv, 0).min, 7);
    const Three dcvMax = Word(kParamDcv, &ParamRec::max);
    for (uint32_t id : {kParamDcv + 1u, kParamDcv2 + 0u, kParamAcvLine + 0u, kParamFreq + 0u})
        EXPECT_EQ(AlignLimitsToPhases(id, Side::kMax), 0u) << id;
    EXPECT_EQ(Word(kParamDcv, &ParamRec::max), dcvMax);
}

TEST_F(PhaseLimitsTest, AllPhasesEqualByWiring) {
    // {wiring, values of L1-L3, result for 100}
    const std::tuple<uint32_t, Three, int> cases[] = {
        {kWiring3P4W, {100, 100, 100}, 2}, {kWiring3P4W, {100, 100, 200}, 0},
        {kWiring1P3W, {100, 100, 200}, 2}, {kWiring1P3W, {100, 200, 100}, 0},
        {kWiring1P2W, {100, 200, 200}, 2}, {kWiring1P2W, {200, 100, 100}, 0},
    };
    for (const auto& [wiring, values, result] : cases) {
        g_PhaseMode = wiring;
        SetValues(kParamAcv, values);
        EXPECT_EQ(AllPhasesEqual(kParamAcv + 1, 100), result) << wiring << " " << values[1];
    }
}

TEST_F(PhaseLimitsTest, LimitingPhasesOfAnAcValue) {
    g_EditAllPhases = 1;
    SetValues(kParamAcv, {10000, 10000, 10000});
    // {maxima, value, result, mask, max-side index}
    const std::tuple<Three, int32_t, int, uint32_t, uint32_t> cases[] = {
        {{30000, 25000, 30000}, 26000, 1, 2, 9},      // above L2's maximum only: "L2" (message 20)
        {{30000, 25000, 30000}, 31000, 1, 0, 0},      // above all three: mask 0, the selected phase limits
        {{30000, 30000, 30000}, 31000, 1, 0, kEqual}, // equal limits: index 3
        {{30000, 25000, 20000}, 22000, 1, 4, 9},
        {{30000, 25000, 30000}, 25000, 0, 0, 9},
        {{30000, 25000, 30000}, 0, 2, 0, 9},          // 0 stands for the selected phase's value
        {{30000, 25000, 30000}, 10000, 2, 0, 9},
    };
    for (const auto& [max, value, result, mask, index] : cases) {
        SetAcvMax(max);
        AlignLimitsToPhases(kParamAcv, Side::kMax);
        g_LimitedPhase.maxIndex = 9;
        g_LimitedPhase.mask = 5;
        EXPECT_EQ(FindPhasesLimitingValue(kParamAcv, value), result) << max[2] << " " << value;
        EXPECT_EQ(g_LimitedPhase.mask.load(), mask) << max[2] << " " << value;
        EXPECT_EQ(g_LimitedPhase.maxIndex.load(), index) << max[2] << " " << value;
    }
    // 1P3W: L3 is not looked at, L1 and L2 together are no longer "all".
    g_PhaseMode = kWiring1P3W;
    SetAcvMax({30000, 25000, 20000});
    EXPECT_EQ(FindPhasesLimitingValue(kParamAcv, 31000), 1);
    EXPECT_EQ(g_LimitedPhase.mask.load(), 3u);
    // Another setting: only whether the phases agree.
    EXPECT_EQ(FindPhasesLimitingValue(kParamFreq, 1), 0);
    EXPECT_EQ(g_LimitedPhase.mask.load(), 0u);
}

TEST_F(PhaseLimitsTest, LimitingPhasesOfADcValue) {
    g_OutputModeIdx = kModeDcInt;
    g_EditAllPhases = 1;
    SetValues(kParamDcv, {100, 100, 100});
    SetDcvLimits({20000, 15000, 20000}, {-20000, -15000, -20000});
    AlignLimitsToPhases(kParamDcv, Side::kMax);
    AlignLimitsToPhases(kParamDcv, Side::kMin);
    // {value, result, mask}; a negative value is tested 2 below itself against the minima.
    const std::tuple<int32_t, int, uint32_t> cases[] = {
        {15000, 0, 0}, {15001, 1, 2}, {20001, 1, 0}, {-14998, 0, 0},
        {-14999, 1, 2}, {-20000, 1, 0}, {INT32_MIN, 1, 0},
    };
    for (const auto& [value, result, mask] : cases) {
        EXPECT_EQ(FindPhasesLimitingValue(kParamDcv + 1, value), result) << value;
        EXPECT_EQ(g_LimitedPhase.mask.load(), mask) << value;
    }
    // The minimum side's index: L1 (selected) limited with the others.
    EXPECT_EQ(g_LimitedPhase.minIndex.load(), 0u);
}

TEST(ImpedanceCopyTest, RowStateCopiesItsPhaseToTheOtherTwo) {
    test::DefaultStore store;
    // {state, inductance L1-L3 after, resistance L1-L3 after}, from inductance 10/20/30, resistance 1/2/3
    const std::tuple<uint32_t, Three, Three> cases[] = {
        {kParamInductanceL1Row, {10, 10, 10}, {1, 2, 3}}, {kParamInductanceL2Row, {20, 20, 20}, {1, 2, 3}},
        {kParamInductanceL3Row, {30, 30, 30}, {1, 2, 3}}, {kParamResistanceL1Row, {10, 20, 30}, {1, 1, 1}},
        {kParamResistanceL2Row, {10, 20, 30}, {2, 2, 2}}, {kParamResistanceL3Row, {10, 20, 30}, {3, 3, 3}},
        {kParamInductanceL2, {10, 20, 30}, {1, 2, 3}},    {kParamOutputImpedanceRow, {10, 20, 30}, {1, 2, 3}},
        {kParamParallelPositionRow, {10, 20, 30}, {1, 2, 3}},
    };
    for (const auto& [state, ind, res] : cases) {
        for (uint32_t i = 0; i < 3; ++i) {
            paramPutValue(kParamInductanceL1 + 2 * i, static_cast<int32_t>(10 * (i + 1)), 0);
            paramPutValue(kParamResistanceL1 + 2 * i, static_cast<int32_t>(i + 1), 0);
        }
        CopyImpedanceToOtherPhases(state);
        Three gotInd, gotRes;
        for (uint32_t i = 0; i < 3; ++i) {
            gotInd[i] = paramGetValue(kParamInductanceL1 + 2 * i, 0);
            gotRes[i] = paramGetValue(kParamResistanceL1 + 2 * i, 0);
        }
        EXPECT_EQ(gotInd, ind) << state;
        EXPECT_EQ(gotRes, res) << state;
    }
}

}  // namespace
