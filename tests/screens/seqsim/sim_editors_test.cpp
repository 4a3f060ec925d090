// The SIMULATE field editors driven by their keys: what the enter key writes into the states and the
// power stage, the limit messages, the derived states and the read-back check; the states that follow an
// edited state and the jump bit of a zero transition time, derived directly.
#include <tuple>
#include <vector>

#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "engine/sim/sim_setters.h"
#include "screens/seqsim/sim/sim_derive.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/simedit/sim_field_editors.h"
#include "tests/screens/screen_keys.h"
#include "tests/screens/seqsim/sim_fixture.h"

namespace {

using screenkeys::Messages;
using test::Key;
using test::Knob;
using test::Press;
using test::Rec;
using test::StepFloat;
using test::StepWord;
using test::Type;

int32_t Work() {
    return g_EditParam.workValue.load();
}
uint32_t State() {
    return g_MenuState.load();
}

class SimEditors : public ::testing::Test {
  protected:
    SimEditors() { Messages(); }
    test::SimPanelEnv env_;
};

// At 600.00 Hz: 123.4 typed gives 123.0 degrees, the knob steps whole degrees up to 359.0.
TEST_F(SimEditors, OffPhaseAboveFiveHundredHertz) {
    SeqSimSetCurStep(kSimNormal1);
    for (int p = 0; p < 3; ++p)
        SimSetFreq(60000, p);
    Enter_menuEditSimulationOffpha(0);
    Type(menuEditSimulationOffpha, "123.4");
    Press(menuEditSimulationOffpha, Key(kClassKeypad, kKeyEnter));
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(Rec(kSimNormal1, p).offPhase, 1230u) << "L" << p + 1;
    EXPECT_TRUE(Messages().empty());
    Enter_menuEditSimulationOffpha(0);
    Press(menuEditSimulationOffpha, Knob(1));
    EXPECT_EQ(Work(), 1240);
    for (int i = 0; i < 3; ++i)
        Press(menuEditSimulationOffpha, Knob(127));
    EXPECT_EQ(Work(), 3590);
    EXPECT_EQ(g_EditParam.max, 3590);
}

// Trans1's time 0 sets Normal1's jump bit in the stage, a non-zero time clears it; Initial's time stays
// at least 0.1 ms.
TEST_F(SimEditors, TransitionTimeAndJumpBit) {
    SeqSimSetCurStep(kSimTrans1);
    Enter_menuEditSimulationTime();
    Press(menuEditSimulationTime, Key(kClassSoft, kKeySoft4));
    Press(menuEditSimulationTime, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Rec(kSimTrans1, 0).time, 0u);
    EXPECT_NE(StepWord(768, kSimNormal1) & 4u, 0u);
    EXPECT_EQ(State(), 462u);
    Enter_menuEditSimulationTime();
    Type(menuEditSimulationTime, "0.002");
    Press(menuEditSimulationTime, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Rec(kSimTrans1, 0).time, 20u);
    EXPECT_EQ(StepWord(768, kSimNormal1) & 4u, 0u);

    SeqSimSetCurStep(kSimInitial);
    Enter_menuEditSimulationTime();
    Press(menuEditSimulationTime, Key(kClassSoft, kKeySoft4));
    EXPECT_EQ(Work(), 1);
    Press(menuEditSimulationTime, Knob(-1));
    EXPECT_EQ(Work(), 1);
}

// Exit and SEQ keys never write: with digits pending they only cancel them.
TEST_F(SimEditors, ExitAndSeqKeysWriteNothing) {
    for (char key : {'T', 'M'}) {
        const uint8_t cls = key == 'T' ? kClassKeypad : kClassFunction;
        SeqSimSetCurStep(kSimNormal1);
        Enter_menuSimEditBalance_L2();
        Type(menuSimEditBalance_L2, "90");
        test::ClearTrace();
        Press(menuSimEditBalance_L2, Key(cls, key));
        EXPECT_EQ(State(), 465u) << key << ": only the entry is cancelled";
        EXPECT_EQ(g_EditBuf.entryState, 0u);
        Press(menuSimEditBalance_L2, Key(cls, key));
        EXPECT_EQ(State(), 464u) << key;
        EXPECT_TRUE(test::Writes().empty()) << key;
    }
}

// The sync code of Initial derives the end state, which takes Initial's voltage and Normal1's frequency
// and which the stage holds terminated with END; a clean write in Initial strobes the stage.
TEST_F(SimEditors, InitialSyncCodeDerivesTheEndStateAndStrobes) {
    Rec(kSimNormal1, 0).freq = 6000;
    SimSetAcv(2000, 0);
    Enter_menuEditSimulationSyncCode();
    Press(menuEditSimulationSyncCode, Key(kClassSoft, kKeySoft4));
    test::ClearTrace();
    Press(menuEditSimulationSyncCode, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Rec(kSimInitial, 0).syncCode, 3u);
    const SimStepRecord& end = Rec(kSimNoState, 0);
    EXPECT_EQ(std::tie(end.syncCode, end.acv, end.freq), std::make_tuple(3u, 2000u, 6000u));
    const uint32_t status = StepWord(768, kSimNoState);
    EXPECT_EQ(status & 3u, 3u);
    EXPECT_NE(status & (1u << 5), 0u) << "END";
    EXPECT_EQ(status & (3u << 3), 0u) << "neither CONTI nor HOLD";
    EXPECT_EQ(g_SeqSimBlock[0].liveModes & (7u << kSeqTermShift), 0u) << "the termination field cleared again";
    EXPECT_EQ(test::WritesTo(2340).size(), 1u);
    EXPECT_EQ(engine::SimState(), uint32_t{kSimInitial});
    EXPECT_EQ(State(), 440u);
}

// The repeat count is written into Normal2 while another state stays current; a clean write outside
// Initial is not strobed.
TEST_F(SimEditors, RepeatCountGoesToNormal2) {
    SeqSimSetCurStep(kSimNormal1);
    Enter_menuEditSimulationRepeat();
    Press(menuEditSimulationRepeat, Key(kClassSoft, kKeySoft3));
    test::ClearTrace();
    Press(menuEditSimulationRepeat, Key(kClassKeypad, kKeyEnter));
    EXPECT_TRUE(test::WritesTo(2340).empty());
    EXPECT_EQ(Rec(kSimNormal2, 0).repeat, 9999u);
    EXPECT_EQ(StepWord(788, kSimNormal2), 9999u);
    EXPECT_EQ(engine::SimState(), uint32_t{kSimNormal1});
    EXPECT_EQ(State(), 454u);
}

// A typed number beyond 32 bits is refused with the field's message (the time silently); nothing written.
TEST_F(SimEditors, TypedNumbersBeyondThirtyTwoBitsAreRefused) {
    SeqSimSetCurStep(kSimNormal1);
    Enter_menuSimEditBalance_L2();
    Type(menuSimEditBalance_L2, "999999999");
    test::ClearTrace();
    Press(menuSimEditBalance_L2, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Messages(), std::vector<std::string>{"26"});
    EXPECT_TRUE(test::Writes().empty());
    EXPECT_EQ(State(), 465u);

    Enter_menuEditSimulationTime();
    Type(menuEditSimulationTime, "999999999");
    Press(menuEditSimulationTime, Key(kClassKeypad, kKeyEnter));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(test::Writes().empty());
    EXPECT_EQ(Rec(kSimNormal1, 0).time, 1000u);
}

// A register that reads back differently is reported at once with the state and the count, no strobe.
TEST_F(SimEditors, ReadBackMismatchIsReported) {
    SeqSimSetCurStep(kSimNormal1);
    test::Stage().InjectReadXor(784, kSimNormal1, 1);
    Enter_menuEditSimulationOffpha(0);
    Type(menuEditSimulationOffpha, "10");
    test::ClearTrace();
    Press(menuEditSimulationOffpha, Key(kClassKeypad, kKeyEnter));
    test::Stage().ClearReadXor(784, kSimNormal1);
    EXPECT_EQ(Rec(kSimNormal1, 2).offPhase, 100u);
    EXPECT_EQ(test::Popup(), "SIM Err.(1, 1)");
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 0);
    EXPECT_EQ(g_SeqSimErrors.simStep.load(), 0);
    EXPECT_TRUE(test::WritesTo(2340).empty());
}

TEST_F(SimEditors, TypedL1VoltageWritesAllPhasesAndItsFollowers) {
    SeqSimSetCurStep(kSimNormal1);
    test::Stage().Poke(772, kSimNormal1, 0x41200000);  // 10 V DC left in the step copy
    Enter_menuEditSimulationACV(0);
    Type(menuEditSimulationACV, "123.45");
    Press(menuEditSimulationACV, Key(kClassKeypad, kKeyEnter));
    for (int p = 0; p < 3; ++p) {
        for (uint32_t s : {uint32_t{kSimNormal1}, uint32_t{kSimNormal2}, uint32_t{kSimTrans2}}) {
            EXPECT_EQ(Rec(s, p).acv, 12345u) << s << " L" << p + 1;
            EXPECT_FLOAT_EQ(test::StepFloat(775 + p, s), 123.45f) << s << " L" << p + 1;
        }
        EXPECT_EQ(Rec(kSimTrans1, p).acv, 0u) << "Trans1 follows Abnormal, not Normal1";
    }
    EXPECT_EQ(StepWord(772, kSimNormal1), 0u) << "no DC part under the state's AC voltage";
    EXPECT_EQ(engine::SimState(), uint32_t{kSimNormal1});
    EXPECT_EQ(State(), 459u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SimEditors, L2VoltageWritesItsPhase) {
    SeqSimSetCurStep(kSimAbnormal);
    Enter_menuEditSimulationACV(1);
    Type(menuEditSimulationACV, "50");
    Press(menuEditSimulationACV, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Rec(kSimAbnormal, 1).acv, 5000u);
    EXPECT_EQ(Rec(kSimAbnormal, 0).acv, 0u);
    EXPECT_EQ(Rec(kSimTrans1, 1).acv, 5000u) << "Trans1 follows Abnormal";
    EXPECT_EQ(State(), 460u);
}

TEST_F(SimEditors, VoltageKnobBandsAndLimit) {
    SeqSimSetCurStep(kSimNormal1);
    SimSetAcv(9999, 0);
    Enter_menuEditSimulationACV(0);
    Press(menuEditSimulationACV, Knob(1));
    EXPECT_EQ(Work(), 10000);
    Press(menuEditSimulationACV, Knob(1));
    EXPECT_EQ(Work(), 10010);
    Press(menuEditSimulationACV, Key(kClassSoft, kKeySoft3));
    const int32_t max = Work();
    EXPECT_EQ(max, SimGetAcvMax());
    Messages();
    Press(menuEditSimulationACV, Knob(1));
    EXPECT_EQ(Work(), max);
    EXPECT_EQ(Messages(), std::vector<std::string>{"18"});
}

TEST_F(SimEditors, FrequencyDefOutsideTheLimitsIsRefused) {
    ParamRec rec{};
    paramGetRecord(kParamFreq, &rec, 0);
    rec.def1 = 999999;
    paramPutRecord(kParamFreq, &rec, 0);
    SeqSimSetCurStep(kSimNormal1);
    Enter_menuEditSimulationFreq(0);
    Press(menuEditSimulationFreq, Key(kClassSoft, kKeySoft1));
    EXPECT_EQ(Work(), 5000);
    EXPECT_EQ(Messages(), std::vector<std::string>{"25"});
}

// The long press of soft key 1 stores the typed number as DEF1 of the home voltage; soft key 1 recalls it.
TEST_F(SimEditors, VoltageDefStoredAndRecalled) {
    SeqSimSetCurStep(kSimNormal1);
    Enter_menuEditSimulationACV(0);
    Type(menuEditSimulationACV, "12.5");
    Press(menuEditSimulationACV, test::Key(kClassSoft, 194));
    EXPECT_EQ(test::Popup(), "Saved to DEF1");
    ParamRec rec{};
    paramGetRecord(kParamAcv, &rec, 0);
    EXPECT_EQ(rec.def1, 1250);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    Enter_menuEditSimulationACV(1);
    Press(menuEditSimulationACV, Key(kClassSoft, kKeySoft1));
    EXPECT_EQ(Work(), 1250);
    Press(menuEditSimulationACV, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Rec(kSimNormal1, 1).acv, 1250u);
}

// The L1 ON phase enable is written to all three phases and their control words.
TEST_F(SimEditors, L1EnableWritesAllPhases) {
    SeqSimSetCurStep(kSimAbnormal);
    Enter_menuEditSimulationEnOnpha(0);
    Press(menuEditSimulationEnOnpha, Key(kClassSoft, kKeySoft1));
    Press(menuEditSimulationEnOnpha, Key(kClassKeypad, kKeyEnter));
    for (int p = 0; p < 3; ++p) {
        EXPECT_NE(Rec(kSimAbnormal, p).flags & kSimEnOnPhase, 0u) << "L" << p + 1;
        EXPECT_NE(StepWord(769 + p, kSimAbnormal) & (1u << 18), 0u) << "L" << p + 1 << " ON fixed";
    }
    EXPECT_EQ(State(), 450u);
}

// A typed voltage above the limit is refused before the setter: the edited state's register keeps its
// value instead of taking the last voltage sent for another state.
TEST_F(SimEditors, RefusedVoltageLeavesTheRegister) {
    SeqSimSetCurStep(kSimNormal1);
    ASSERT_EQ(SimSetAcv(5000, 1), 5000);
    SeqSimSetCurStep(kSimAbnormal);
    Enter_menuEditSimulationACV(1);
    Type(menuEditSimulationACV, "999");
    test::ClearTrace();
    Press(menuEditSimulationACV, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Messages(), std::vector<std::string>{"18"});
    EXPECT_TRUE(test::WritesTo(776).empty() || test::WritesTo(776).back().value == 0.0);
    EXPECT_FLOAT_EQ(test::StepFloat(776, kSimAbnormal), 0.0f);
    EXPECT_EQ(Rec(kSimAbnormal, 1).acv, 0u);
    EXPECT_EQ(State(), 460u);
}

constexpr uint32_t kFreqReg = 778, kStatusReg = 768;

// An L2 voltage in Normal1 derives phase L2 only.
TEST_F(SimEditors, PhaseVoltageDerivesItsOwnPhase) {
    SeqSimSetCurStep(kSimNormal1);
    ASSERT_EQ(SimSetAcv(5000, 1), 5000);
    Sim_RederiveAfterWrite(SimDeriveFrom::kAcvPhase, 1);
    EXPECT_EQ(Rec(kSimNormal2, 1).acv, 5000u);
    EXPECT_EQ(Rec(kSimTrans2, 1).acv, 5000u);
    EXPECT_EQ(Rec(kSimNormal2, 0).acv, 0u);
    EXPECT_EQ(Rec(kSimNormal2, 2).acv, 0u);
}

// An L1 frequency in Abnormal wrote all phases: Trans1 follows in all three, not in L1 alone.
TEST_F(SimEditors, AbnormalFrequencyReachesTrans1OfAllPhases) {
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
TEST_F(SimEditors, StatesWithoutFollowersAreLeftAlone) {
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
TEST_F(SimEditors, TransitionTimeSetsThePrecedingJumpBit) {
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
