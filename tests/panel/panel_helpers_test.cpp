// The panel helpers the output synchronisation relies on: group-changed flags, the Vpp ceiling and the
// line limits.
#include <gtest/gtest.h>

#include "core/params/acv_unit.h"
#include "core/params/line_values.h"
#include "core/params/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/system/edit_state.h"
#include "core/system/output_flags.h"
#include "tests/support/default_store.h"

namespace {

constexpr uint32_t kSin = 16, kTri = 18;

class PanelHelpersTest : public ::testing::Test {
  protected:
    void TearDown() override { g_MenuState = 0; }
    test::DefaultStore store;

    static void SelectLine(uint32_t line) {
        g_OutputFlags = (g_OutputFlags.load() & ~(3u << 26)) | (line << 26);
    }
    static std::vector<int> MarkedFlags() {
        std::vector<int> out;
        for (int i = 0; i < static_cast<int>(kParamDirtyCount); ++i)
            if (g_ParamDirty[i].load() != 0) out.push_back(i);
        return out;
    }
    static void SetPhaseState(uint32_t id, uint32_t phase, int32_t state) {
        paramPutValue(1, id, state, phase);
    }
};

TEST_F(PanelHelpersTest, EachIdMarksItsGroup) {
    SetPhaseState(64, 0, 1);
    SetPhaseState(68, 0, 1);
    const struct {
        uint32_t id;
        int flag;  // -1: no group
    } cases[] = {
        {47, kDirtyAcv},
        {49, kDirtyAcv},
        {50, kDirtyLineAcv},
        {51, kDirtyDcv},
        {56, kDirtyDcv},
        {57, kDirtyLineDcv},
        {12, kDirtyFreq},
        {14, kDirtyFreq},
        {58, kDirtyIrms},
        {63, kDirtyIrms},
        {75, kDirtyGain},
        {80, kDirtyGain},
        {64, kDirtyOnPhase},
        {67, kDirtyOnPhase},
        {68, kDirtyOffPhase},
        {71, kDirtyOffPhase},
        {30, kDirtyWave},
        {33, kDirtyWave},
        {34, kDirtyDuty},
        {37, kDirtyDuty},
        {84, kDirtySource},
        {88, kDirtySource},
        {24, kDirtyIpkHigh},
        {26, kDirtyIpkHigh},
        {27, kDirtyIpkLow},
        {29, kDirtyIpkLow},
        {16, kDirtyFreqLimitHigh},
        {18, kDirtyFreqLimitHigh},
        {19, kDirtyFreqLimitLow},
        {21, kDirtyFreqLimitLow},
        {10, kDirtyVpkHigh},
        {11, kDirtyVpkLow},
        {8, kDirtyVoltLimit},
        {9, -1},
        {15, -1},
        {22, -1},
        {72, -1},
        {81, -1},
        {89, -1},
        {119, -1},
    };
    for (const auto& c : cases) {
        MarkParamGroupChanged(0, 0);
        MarkParamGroupChanged(1, c.id);
        if (c.flag < 0) {
            EXPECT_TRUE(MarkedFlags().empty()) << c.id;
        } else {
            EXPECT_EQ(MarkedFlags(), std::vector<int>{c.flag}) << c.id;
        }
    }
}

TEST_F(PanelHelpersTest, ClearingClearsEveryFlag) {
    for (auto& f : g_ParamDirty)
        f = 1;
    MarkParamGroupChanged(0, 47);
    EXPECT_TRUE(MarkedFlags().empty());
}

TEST_F(PanelHelpersTest, AngleGroupsCountOnlyWhileTheSelectedPhaseHasItEnabled) {
    SelectLine(1);
    SetPhaseState(64, 0, 1);
    SetPhaseState(64, 1, 0);
    MarkParamGroupChanged(1, 64);
    EXPECT_TRUE(MarkedFlags().empty());
    SetPhaseState(64, 1, 1);
    MarkParamGroupChanged(1, 65);
    EXPECT_EQ(MarkedFlags(), std::vector<int>{kDirtyOnPhase});
}

TEST_F(PanelHelpersTest, EnableGroupsFollowTheEditState) {
    const struct {
        uint32_t state;
        int flag;
    } cases[] = {{64, kDirtyOnEnable},
                 {67, kDirtyOnEnable},
                 {68, kDirtyOffEnable},
                 {71, kDirtyOffEnable},
                 {65, -1},
                 {47, -1}};
    for (const auto& c : cases) {
        MarkParamGroupChanged(0, 0);
        g_MenuState = c.state;
        MarkPhaseAngleChanged(1);
        if (c.flag < 0)
            EXPECT_TRUE(MarkedFlags().empty()) << c.state;
        else
            EXPECT_EQ(MarkedFlags(), std::vector<int>{c.flag}) << c.state;
    }
    g_ParamDirty[kDirtyAcv] = 1;
    g_ParamDirty[kDirtyOnEnable] = 1;
    g_ParamDirty[kDirtyOffEnable] = 1;
    MarkPhaseAngleChanged(0);
    EXPECT_EQ(MarkedFlags(), std::vector<int>{kDirtyAcv});
}

TEST_F(PanelHelpersTest, VppCeilingFollowsRangeWaveformFactorAndLineState) {
    core::ParamSetWaveFactor(kTri, 1.414f);
    g_ParamStore.unit[2].waveform.value = kTri;
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 98980);  // 2 x 350.00 V x 1.414
    g_ParamStore.rangeCode[1] = 0;             // 100 V
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 49490);
    g_ParamStore.rangeCode[1] = 4;  // AUTO counts as the 200 V ceiling
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 98980);
    g_MenuState = 50;
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 171438);  // x sqrt 3, rounded
    g_PhaseMode = 2;
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 197960);
    SelectLine(2);
    EXPECT_EQ(GetAcvMaxVpp(), 197960);
}

TEST_F(PanelHelpersTest, OverTheVppCeilingOnlyWhileShownInVpp) {
    core::ParamSetWaveFactor(kTri, 1.414f);
    g_ParamStore.unit[0].waveform.value = kTri;
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(98981, 0), 0);  // unit Vrms
    paramPutValue(0, 119, 1, 0);
    EXPECT_EQ(IsAcvUnitVppOfPhase(0), 1);
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(98981, 0), 1);
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(98980, 0), 0);
    EXPECT_EQ(IsAcvOverVppLimit(98981), 1);
    g_ParamStore.unit[0].waveform.value = kSin;  // SIN and SQU are always shown in Vrms
    EXPECT_EQ(IsAcvUnitVpp(), 0);
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(200000, 0), 0);
}

TEST_F(PanelHelpersTest, LargestPhaseByWiring) {
    const struct {
        uint32_t wiring;
        int kind;
        int32_t v[3];
        int expect;
    } cases[] = {
        {1, 0, {100, 200, 300}, 0},  {2, 0, {100, 100, 300}, 0}, {2, 0, {100, 101, 0}, 1},
        {0, 0, {100, 300, 300}, 1},  {0, 0, {300, 300, 300}, 0}, {0, 0, {1, 2, 3}, 2},
        {0, 1, {100, 200, -300}, 2}, {2, 1, {-500, 400, 0}, 0},
    };
    for (const auto& c : cases) {
        g_PhaseMode = c.wiring;
        for (uint32_t p = 0; p < 3; ++p)
            paramPutValue(0, c.kind == 0 ? 47 + p : 54 + p, c.v[p], p);
        EXPECT_EQ(GetLargestPhase(c.kind), c.expect) << c.wiring << " " << c.kind << " " << c.v[2];
    }
}

TEST_F(PanelHelpersTest, LineLimitsFromThePhases) {
    UpdateLineValueFromPhases(50);
    EXPECT_EQ(test::ReadRecord(50, 0).max, 60622);  // 350.00 V x sqrt 3
    g_PhaseMode = 2;
    UpdateLineValueFromPhases(50);
    EXPECT_EQ(test::ReadRecord(50, 0).max, 70000);
    UpdateLineValueFromPhases(57);
    EXPECT_EQ(test::ReadRecord(57, 0).max, 100000);  // two halves of opposite sign
    EXPECT_EQ(test::ReadRecord(57, 0).min, -100000);
    // Balanced 3P4W AC+DC editing of all phases: the line DC value is each phase's value.
    g_PhaseMode = 0;
    paramPutValue(0, 101, 1, 0);
    g_EditAllPhases = 1;
    g_OutputModeIdx = 0;
    g_ParamStore.rangeCode[0] = 1;
    UpdateLineValueFromPhases(57);
    EXPECT_EQ(test::ReadRecord(57, 0).max, 50000);
    EXPECT_EQ(test::ReadRecord(57, 0).min, -50000);
    g_OutputModeIdx = 1;
    UpdateLineValueFromPhases(57);
    EXPECT_EQ(test::ReadRecord(57, 0).max, 100000);
}

}  // namespace
