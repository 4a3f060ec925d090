// The SIM field accessors: state-dependent time limits with the skip flags, and the ACV ceilings.
#include "tests/engine/seqsim_fixture.h"

namespace {

class SimFields : public ::testing::Test {
  protected:
    SimFields() { test::EnterSim(); }
    test::SeqSimEnv env_;
};

TEST_F(SimFields, TimeLimitsAndSkipFlags) {
    struct Case {
        int32_t state, time, result;
        uint32_t skipState;
        bool skip;
    } cases[] = {
        {kSimTrans1, 0, 0, kSimNormal1, true},   {kSimTrans1, 5, 5, kSimNormal1, false},
        {kSimTrans2, 0, 0, kSimAbnormal, true},  {kSimInitial, 0, 0, kSimNormal1, false},
        {kSimNormal2, 0, 0, kSimAbnormal, true},
    };
    for (const Case& c : cases) {
        SeqSimSetCurStep(c.state);
        test::ClearTrace();
        EXPECT_EQ(SimSetTime(c.time), c.result) << c.state;
        EXPECT_EQ((engine::SimRecAt(c.skipState, 0).flags & kSimSkip) != 0, c.skip) << c.state;
        EXPECT_EQ(test::WritesTo(791).size(), c.state == kSimTrans1 || c.state == kSimTrans2 ? 1u : 0u);
    }
    EXPECT_EQ(engine::SimRecAt(kSimInitial, 0).time, 1000u) << "a refused time is not stored";
}

TEST_F(SimFields, AcvCeilingByWaveformAndUnit) {
    SeqSimSetCurStep(kSimNormal1);
    const int32_t rmsMax = SimGetAcvMax();
    ASSERT_EQ(rmsMax, 35000) << "200V voltage limit";
    EXPECT_EQ(SimSetAcv(rmsMax, 0), rmsMax);
    EXPECT_EQ(SimSetAcv(rmsMax + 1, 0), rmsMax);
    // Held in Vpp (saved unit Vpp, a waveform other than SIN): the Vpp maximum applies, no longer nothing.
    g_SeqSimBlock[0].simSaved.acvUnit = 1;
    engine::SimRecAt(kSimNormal1, 0).wave = kWaveTri;
    const int32_t vppMax = SimGetAcvVppMax();
    EXPECT_EQ(SimSetAcv(vppMax, 0), vppMax);
    EXPECT_EQ(SimSetAcv(vppMax + 1, 0), vppMax);
    EXPECT_EQ(engine::SimRecAt(kSimNormal1, 0).acvVpp, static_cast<uint32_t>(vppMax));
}

TEST_F(SimFields, ZeroDcvClearsTheCurrentStatesDcRegister) {
    for (int32_t state : {kSimNormal1, kSimTrans1}) {
        SeqSimSetCurStep(state);
        ASSERT_EQ(BusReg_SetStepDcv(1234, regbus::Phase(0)), 0);
        ASSERT_EQ(BusReg_SetStepDcv(1234, regbus::Phase(1)), 0);
    }
    const uint32_t before = test::StepWord(772, kSimNormal1);
    ASSERT_NE(test::StepWord(772, kSimTrans1), 0u);
    test::ClearTrace();
    SimZeroDcv();
    ASSERT_EQ(test::WritesTo(772).size(), 1u);
    EXPECT_EQ(test::WritesTo(772).back().value, 0.0);
    EXPECT_EQ(test::StepWord(772, kSimTrans1), 0u);
    EXPECT_EQ(test::StepWord(772, kSimNormal1), before);
    EXPECT_TRUE(test::WritesTo(773).empty());
}

// Angles loaded from a file that failed validation are brought into range, not wrapped.
TEST_F(SimFields, FrequencyChangeReroundsAnglesOutsideTheirRange) {
    SeqSimSetCurStep(kSimNormal1);
    engine::SimRecAt(kSimNormal1, 0).onPhase = 0x7FFFFFFEu;
    engine::SimRecAt(kSimNormal1, 0).offPhase = 0x7FFFFFFFu;
    ASSERT_EQ(SimSetFreq(60000, 0), 60000);
    EXPECT_EQ(SimGetOnpha(0), 3590);
    EXPECT_EQ(SimGetOffpha(0), 3590);
}

}  // namespace
