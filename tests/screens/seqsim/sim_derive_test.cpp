// The states that follow an edited SIMULATE state, and the jump bit of a zero transition time.
#include "screens/seqsim/sim/sim_derive.h"

#include "engine/sim/sim_setters.h"
#include "tests/screens/seqsim/sim_fixture.h"

namespace {

using test::Rec;
using test::StepFloat;
using test::StepWord;

class SimDerive : public ::testing::Test {
  protected:
    test::SimPanelEnv env_;
};

constexpr uint32_t kFreqReg = 778, kStatusReg = 768;

// An L2 voltage in Normal1 derives phase L2 only.
TEST_F(SimDerive, PhaseVoltageDerivesItsOwnPhase) {
    SeqSimSetCurStep(kSimNormal1);
    ASSERT_EQ(SimSetAcv(5000, 1), 5000);
    Sim_RederiveAfterWrite(SimDeriveFrom::kAcvPhase, 1);
    EXPECT_EQ(Rec(kSimNormal2, 1).acv, 5000u);
    EXPECT_EQ(Rec(kSimTrans2, 1).acv, 5000u);
    EXPECT_EQ(Rec(kSimNormal2, 0).acv, 0u);
    EXPECT_EQ(Rec(kSimNormal2, 2).acv, 0u);
}

// An L1 frequency in Abnormal wrote all phases: Trans1 follows in all three, not in L1 alone.
TEST_F(SimDerive, AbnormalFrequencyReachesTrans1OfAllPhases) {
    SeqSimSetCurStep(kSimAbnormal);
    for (int p = 0; p < 3; ++p)
        ASSERT_EQ(SimSetFreq(6000, p), 6000);
    Sim_RederiveAfterWrite(SimDeriveFrom::kFreqL1, 0);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(Rec(kSimTrans1, p).freq, 6000u) << "L" << p + 1;
        EXPECT_FLOAT_EQ(StepFloat(kFreqReg + p, kSimTrans1), 60.0f) << "L" << p + 1;
    }
    EXPECT_EQ(engine::SimState(), uint32_t{kSimAbnormal});
}

// States without derived states write nothing and stay current.
TEST_F(SimDerive, StatesWithoutFollowersAreLeftAlone) {
    struct Case {
        uint32_t state;
        SimDeriveFrom editor;
    } cases[] = {{kSimTrans1, SimDeriveFrom::kAcvL1},
                 {kSimInitial, SimDeriveFrom::kAcvPhase},
                 {kSimInitial, SimDeriveFrom::kFreqL1},
                 {kSimNormal1, SimDeriveFrom::kSyncCode}};
    for (const Case& c : cases) {
        SeqSimSetCurStep(static_cast<int32_t>(c.state));
        test::ClearTrace();
        Sim_RederiveAfterWrite(c.editor, 1);
        EXPECT_TRUE(test::Writes().empty()) << c.state;
        EXPECT_EQ(engine::SimState(), c.state);
    }
}

// Trans1 time 0 sets Normal1's jump bit in the stage; a non-zero time clears it. Trans2 acts on Abnormal.
TEST_F(SimDerive, TransitionTimeSetsThePrecedingJumpBit) {
    struct Case {
        uint32_t transition, before;
        int32_t time;
        bool jump;
    } cases[] = {{kSimTrans1, kSimNormal1, 0, true},
                 {kSimTrans1, kSimNormal1, 20, false},
                 {kSimTrans2, kSimAbnormal, 0, true},
                 {kSimTrans2, kSimAbnormal, 1, false}};
    for (const Case& c : cases) {
        SeqSimSetCurStep(static_cast<int32_t>(c.transition));
        SimSetTime(c.time);
        Sim_UpdateJumpBit();
        EXPECT_EQ((StepWord(kStatusReg, c.before) & 4u) != 0, c.jump) << c.transition << " " << c.time;
        EXPECT_EQ(engine::SimState(), c.transition);
    }
    // Elsewhere nothing is touched.
    SeqSimSetCurStep(kSimNormal1);
    test::ClearTrace();
    Sim_UpdateJumpBit();
    EXPECT_TRUE(test::Writes().empty());
}

}  // namespace
