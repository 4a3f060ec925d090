// The helpers the output synchronisation and the panel rely on: group-changed flags, the Vpp ceiling of the
// AC voltage and the line values and limits.
#include <array>
#include <map>
#include <tuple>

#include "core/params/access/acv_unit.h"
#include "core/params/access/line_values.h"
#include "core/params/param_dirty.h"
#include "core/system/state/edit_state.h"
#include "platform/stage/wave_numbers.h"
#include "tests/core/ctrl_fixture.h"

namespace {


class PanelHelpersTest : public ::testing::Test {
  protected:
    void TearDown() override { g_MenuState = 0; }
    test::DefaultStore store;

    static std::vector<int> MarkedFlags() {
        std::vector<int> out;
        for (int i = 0; i < static_cast<int>(kParamDirtyCount); ++i)
            if (g_ParamDirty[i].load() != 0) out.push_back(i);
        return out;
    }
};

// The enable toggles and the home screen's line view mark no group through an id.
TEST_F(PanelHelpersTest, EachIdMarksItsGroup) {
    paramPutState(64, 1, 0);  // selector 1: the ON and OFF angles enabled
    paramPutState(68, 1, 0);
    std::map<int, std::pair<uint32_t, uint32_t>> runs;  // group -> first and last id
    for (uint32_t id = 0; id < 256; ++id) {
        ClearParamGroupMarks();
        MarkParamGroupChanged(id);
        const std::vector<int> marked = MarkedFlags();
        ASSERT_LE(marked.size(), 1u) << id;
        if (marked.empty()) continue;
        auto [run, fresh] = runs.try_emplace(marked[0], id, id);
        EXPECT_TRUE(fresh || run->second.second == id - 1) << "group " << marked[0] << " again at " << id;
        run->second.second = id;
    }
    EXPECT_EQ(runs.size(), kParamDirtyCount - 4u);
    EXPECT_FALSE(runs.count(kDirtyOnEnable) || runs.count(kDirtyOffEnable) || runs.count(kDirtyLineAcv2));
    EXPECT_EQ(runs[kDirtyLineAcv], std::make_pair(50u, 50u));
    EXPECT_EQ(runs[kDirtyLineDcv], std::make_pair(57u, 57u));
    EXPECT_EQ(runs[kDirtyAcv], std::make_pair(47u, 49u));
}

TEST_F(PanelHelpersTest, AngleGroupsCountWhileTheAngleIsEnabledAndEnableGroupsByEditState) {
    test::SelectLine(1);
    paramPutState(64, 1, 0);
    paramPutState(64, 0, 1);
    MarkParamGroupChanged(64);
    EXPECT_TRUE(MarkedFlags().empty());
    paramPutState(64, 1, 1);
    MarkParamGroupChanged(65);
    EXPECT_EQ(MarkedFlags(), std::vector<int>{kDirtyOnPhase});
    // The enable groups follow the edit state: {state, group marked or -1}.
    const int cases[][2] = {
        {64, kDirtyOnEnable},
        {67, kDirtyOnEnable},
        {68, kDirtyOffEnable},
        {71, kDirtyOffEnable},
        {65, -1},
        {47, -1},
    };
    for (const auto& [state, flag] : cases) {
        ClearParamGroupMarks();
        g_MenuState = state;
        MarkPhaseAngleChanged();
        if (flag < 0)
            EXPECT_TRUE(MarkedFlags().empty()) << state;
        else
            EXPECT_EQ(MarkedFlags(), std::vector<int>{flag}) << state;
    }
    g_ParamDirty[kDirtyAcv] = 1;
    g_ParamDirty[kDirtyOnEnable] = 1;
    g_ParamDirty[kDirtyOffEnable] = 1;
    ClearPhaseAngleMarks();
    EXPECT_EQ(MarkedFlags(), std::vector<int>{kDirtyAcv});
}

TEST_F(PanelHelpersTest, VppCeilingFollowsRangeWaveformFactorAndLineState) {
    core::ParamSetWaveFactor(kWaveTri, 1.414f);
    g_ParamStore.unit[2].waveform.value = kWaveTri;
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 98980);  // 2 x 350.00 V x 1.414
    g_ParamStore.rangeCode[1] = 0;             // 100 V
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 49490);
    g_ParamStore.rangeCode[1] = 4;  // AUTO counts as the 200 V ceiling
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 98980);
    g_MenuState = 50;
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 171438);  // x sqrt 3, rounded
    g_PhaseMode = 2;
    EXPECT_EQ(GetAcvMaxVppOfPhase(2), 197960);
    // Over the ceiling only while shown in Vpp.
    g_MenuState = 0;
    g_PhaseMode = 0;
    test::SelectLine(0);
    g_ParamStore.unit[0].waveform.value = kWaveTri;
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(98981, 0), 0);  // unit Vrms
    paramPutValue(119, 1, 0);
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(98981, 0), 1);
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(98980, 0), 0);
    g_ParamStore.unit[0].waveform.value = kWaveSin;  // SIN and SQU are always shown in Vrms
    EXPECT_EQ(IsAcvOverVppLimitOfPhase(200000, 0), 0);
}

TEST_F(PanelHelpersTest, LargestPhaseByWiring) {
    // {wiring, kind (0 AC, 1 DC), the phases' values, largest phase}
    const std::tuple<int, int, std::array<int32_t, 3>, int> cases[] = {
        {1, 0, {100, 200, 300}, 0},  {2, 0, {100, 100, 300}, 0}, {2, 0, {100, 101, 0}, 1},
        {0, 0, {100, 300, 300}, 1},  {0, 0, {300, 300, 300}, 0}, {0, 0, {1, 2, 3}, 2},
        {0, 1, {100, 200, -300}, 2}, {2, 1, {-500, 400, 0}, 0},
    };
    for (const auto& [wiring, kind, v, expect] : cases) {
        g_PhaseMode = wiring;
        for (uint32_t p = 0; p < 3; ++p)
            paramPutValue(kind == 0 ? 47 + p : 54 + p, v[p], p);
        EXPECT_EQ(GetLargestPhase(kind), expect) << wiring << " " << kind << " " << v[2];
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
    paramPutValue(101, 1, 0);
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
