// The clamping SIM setters: a value beyond a field's limits is stored at the limit and returned, L1
// writes all three phases, and the SIM screen is asked to show the field.
#include "engine/sim/sim_clamp_setters.h"

#include <vector>

#include "core/control/hooks/screen_request.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

std::vector<std::pair<SimClampField, int>> g_shown;
void Record(uint32_t field, int32_t phase) {
    g_shown.emplace_back(static_cast<SimClampField>(field), phase);
}

class SimClamp : public ::testing::Test {
  protected:
    SimClamp() {
        test::EnterSim();
        g_shown.clear();
        ScreenRequest_SetRunners({.simShowField = Record});
        ScreenRequest_SetTaker();
    }
    ~SimClamp() override { ScreenRequest_SetRunners({}); }
    test::SeqSimEnv env_;
};

// {state, setter, value, stored}: the limits of each field (200V set, model frequency 2000.00 Hz).
TEST_F(SimClamp, SingleFieldsStopAtTheirLimits) {
    const struct {
        int32_t state;
        int32_t (*set)(int32_t);
        int32_t value, stored;
        SimClampField field;
    } cases[] = {
        {kSimInitial, SimSetTimeClamp, 0, 1, SimClampField::kTime},
        {kSimTrans1, SimSetTimeClamp, -5, 0, SimClampField::kTime},
        {kSimNormal1, SimSetTimeClamp, 100000000, 99999999, SimClampField::kTime},
        {kSimNormal1, SimSetTimeClamp, 15000, 15000, SimClampField::kTime},
        {kSimInitial, SimSetSyncCodeClamp, 4, 3, SimClampField::kSyncCode},
        {kSimInitial, SimSetSyncCodeClamp, -1, 0, SimClampField::kSyncCode},
        {kSimAbnormal, SimSetSyncCodeClamp, 2, 2, SimClampField::kSyncCode},
        {kSimInitial, SimSetRepeatClamp, 10000, 9999, SimClampField::kRepeat},
        {kSimInitial, SimSetRepeatClamp, -1, 0, SimClampField::kRepeat},
        {kSimInitial, SimSetEnRepeatClamp, 2, 1, SimClampField::kEnRepeat},
        {kSimInitial, SimSetEnRepeatClamp, -3, 0, SimClampField::kEnRepeat},
    };
    for (const auto& c : cases) {
        SeqSimSetCurStep(c.state);
        g_shown.clear();
        EXPECT_EQ(c.set(c.value), c.stored) << c.state << " " << c.value;
        ASSERT_EQ(g_shown.size(), 1u);
        EXPECT_EQ(g_shown[0].first, c.field);
        EXPECT_EQ(g_shown[0].second, -1);
    }
    // The repeat fields live in Normal 2, and the setters leave the current state where it was.
    EXPECT_EQ(engine::SimRecAt(kSimNormal2, 0).repeat, 0u);
    EXPECT_EQ(SeqSimGetCurStep(), static_cast<uint32_t>(kSimInitial));
    EXPECT_EQ(engine::SimRecAt(kSimAbnormal, 0).syncCode, 2u);
}

// {setter, value, stored}: per-phase fields of Normal 1; phase 0 writes L1-L3, another phase only itself.
TEST_F(SimClamp, PhaseFieldsClampAndL1WritesAll) {
    SeqSimSetCurStep(kSimNormal1);
    const int32_t acvMax = SimGetAcvMax();
    const struct {
        int32_t (*set)(int32_t, int);
        int32_t value, stored;
        uint32_t SimStepRecord::*word;
    } cases[] = {
        {SimSetAcvClamp, acvMax + 1, acvMax, &SimStepRecord::acv},
        {SimSetAcvClamp, -1, 0, &SimStepRecord::acv},
        {SimSetAcvClamp, 10000, 10000, &SimStepRecord::acv},
        {SimSetFreqClamp, 99, 100, &SimStepRecord::freq},
        {SimSetFreqClamp, 200001, 200000, &SimStepRecord::freq},
        {SimSetOnphaClamp, 3600, 3590, &SimStepRecord::onPhase},  // at 2000 Hz the angle stops at 359.0
        {SimSetFreqClamp, 5000, 5000, &SimStepRecord::freq},
        {SimSetOnphaClamp, 3600, 3599, &SimStepRecord::onPhase},
        {SimSetOffphaClamp, -10, 0, &SimStepRecord::offPhase},
        {SimSetOffphaClamp, 1800, 1800, &SimStepRecord::offPhase},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.set(c.value, 0), c.stored) << c.value;
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(engine::SimRecAt(kSimNormal1, p).*c.word, static_cast<uint32_t>(c.stored)) << c.value;
    }
    EXPECT_EQ(SimSetAcvClamp(500, 1), 500);
    EXPECT_EQ(engine::SimRecAt(kSimNormal1, 1).acv, 500u);
    EXPECT_EQ(engine::SimRecAt(kSimNormal1, 0).acv, 10000u);
    EXPECT_EQ(engine::SimRecAt(kSimNormal1, 2).acv, 10000u);
    EXPECT_EQ(SimSetAcvClamp(500, 3), 0) << "no such phase";
}

TEST_F(SimClamp, EnablesTakeZeroOrOne) {
    SeqSimSetCurStep(kSimAbnormal);
    EXPECT_EQ(SimSetEnOnphaClamp(5, 0), 1);
    EXPECT_EQ(SimSetEnOffphaClamp(-1, 2), 0);
    for (int p = 0; p < 3; ++p)
        EXPECT_NE(engine::SimRecAt(kSimAbnormal, p).flags & kSimEnOnPhase, 0u);
    ASSERT_EQ(g_shown.size(), 2u);
    EXPECT_EQ(g_shown[0], std::make_pair(SimClampField::kEnOnpha, 0));
    EXPECT_EQ(g_shown[1], std::make_pair(SimClampField::kEnOffpha, 2));
}

}  // namespace
