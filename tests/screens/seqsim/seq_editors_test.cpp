// The SEQUENCE step editors of time, phase angles, enables, termination, jumps,
// branches and sync code, driven with key events through the dispatcher; values
// read back from the engine and the register trace.
#include <string>
#include <vector>

#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "platform/stage/reg_map.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seqsim_panel.h"
#include "tests/screens/screen_keys.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {

using namespace screenkeys;
using seqedit::TypeDispatched;
constexpr uint16_t kRegStatus = regmap::kStepStatus.first, kRegOnPhase = regmap::kStepOnPhase.first,
                   kRegOffPhase = regmap::kStepOffPhase.first, kRegJumpCnt = regmap::kStepJumpCount.first,
                   kRegTime = regmap::kStepTime.first, kRegApply = regmap::kApply.first;

class SeqEditors : public seqedit::SeqPageTest {
  protected:
    SeqEditors() { Step(1); }
    static void Step(int32_t step) { SeqSetCurStep(step); }
    static uint32_t State() { return g_MenuState.load(); }
};

// OFF phase of L1 at 600.00 Hz: whole degrees, 359.0 at most; the soft key wins
// over typed digits.
TEST_F(SeqEditors, OffPhaseAbove500HzTakesWholeDegreesAndTheSoftKeyWins) {
    SeqSetFset(60000, 0);
    Enter_menuSeqEditOffPhase(0);
    TypeDispatched("123.4");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOffPhase(0), 1230);
    EXPECT_EQ(State(), 349u);
    EXPECT_TRUE(Messages().empty());

    Enter_menuSeqEditOffPhase(0);
    TypeDispatched("359.5");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOffPhase(0), 1230) << "3595 is above 3590";
    EXPECT_EQ(Messages(), std::vector<std::string>{"26"});

    Enter_menuSeqEditOffPhase(0);
    TypeDispatched("45");
    Press(kKeySoft2, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOffPhase(0), 900) << "soft key 2 after the digits";

    Enter_menuSeqEditOnPhase(0);
    TypeDispatched("45");
    Press(kKeySoft2, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOnPhase(0), 450) << "the ON phase writes the typed number";
}

// 500.00 Hz keeps 3599, four digits and knob steps of a tenth; 500.01 Hz has 3590, three digits and knob
// steps of a degree, and the knob keeps the reference equal up to the top.
TEST_F(SeqEditors, PhaseBandFollowsTheFrequency) {
    const struct {
        int32_t fset;
        uint32_t lastCursor;
        int32_t max, knobStep;
    } cases[] = {{50000, 3, 3599, 1}, {50001, 2, 3590, 10}};
    for (const auto& c : cases) {
        SeqSetFset(c.fset, 0);
        Enter_menuSeqEditOnPhase(0);
        Press(kKeyRight, kClassCursor);
        EXPECT_EQ(g_EditParam.cursor, c.lastCursor) << c.fset;
        EXPECT_EQ(g_EditParam.max, c.max) << c.fset;
        Press(kKeyLeft, kClassCursor);
        const int32_t before = g_EditParam.workValue.load();
        Press(kKeyKnob, kClassCursor, 1);
        EXPECT_EQ(g_EditParam.workValue.load(), before + c.knobStep) << c.fset;
    }
    const int32_t before = g_EditParam.workValue.load();
    Press(kKeyKnob, kClassCursor, 127);
    EXPECT_EQ(g_EditParam.workValue.load(), before + 1270);
    for (int i = 0; i < 4; ++i)
        Press(kKeyKnob, kClassCursor, 127);
    EXPECT_EQ(g_EditParam.workValue.load(), 3590);
    EXPECT_EQ(g_EditParam.startValue, 3590);
}

TEST_F(SeqEditors, L1PhaseIn1P3WWritesL2Too) {
    SetPhaseMode(2);
    SeqSetOnPhase(0, 1);
    Enter_menuSeqEditOnPhase(0);
    TypeDispatched("30");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOnPhase(0), 300);
    EXPECT_EQ(SeqGetOnPhase(1), 300);
    Enter_menuSeqEditOnPhase(1);
    TypeDispatched("40");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOnPhase(0), 300);
    EXPECT_EQ(SeqGetOnPhase(1), 400);
}

TEST_F(SeqEditors, TimeConversionAndSilentRefusals) {
    struct Case {
        const char* typed;
        int32_t time;
    } cases[] = {{"2", 20000}, {"0.0001", 1}, {"0.00004", 1}, {"999999999", 1}};
    for (const Case& c : cases) {
        Enter_menuSeqEditTimeStep();
        test::ClearTrace();
        TypeDispatched(c.typed);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(SeqGetTime(), c.time) << c.typed;
        EXPECT_EQ(State(), 335u);
    }
    EXPECT_TRUE(Messages().empty()) << "the time editor posts nothing";
    EXPECT_TRUE(test::WritesTo(kRegTime).empty()) << "a number beyond 32 bits is never written";
    Enter_menuSeqEditTimeStep();
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(g_EditParam.workValue.load(), 99999999);
    EXPECT_EQ(g_EditParam.startValue, 1) << "the time's soft keys leave the reference";
    Press(kKeySoft4, kClassSoft);
    EXPECT_EQ(g_EditParam.workValue.load(), 1);
}

TEST_F(SeqEditors, JumpCountTypedAboveItsLimitIsRefusedTheKnobStopsSilently) {
    SeqSetJumpCnt(5);
    Step(2);
    SeqSetJumpCnt(7);
    Step(1);
    Enter_menuSeqEditJumpCnt();
    TypeDispatched("12345");
    test::ClearTrace();
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetJumpCnt(), 5);
    EXPECT_EQ(Messages(), std::vector<std::string>{"30"});
    EXPECT_TRUE(test::WritesTo(kRegJumpCnt).empty()) << "step 2's count never reaches step 1's register";
    EXPECT_EQ(Popup(), "");
    Enter_menuSeqEditJumpCnt();
    Press(kKeyLeft, kClassCursor);
    Press(kKeyLeft, kClassCursor);
    Press(kKeyLeft, kClassCursor);
    Press(kKeyKnob, kClassCursor, 20);
    EXPECT_EQ(g_EditParam.workValue.load(), 9999);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetJumpCnt(), 9999);
    EXPECT_TRUE(Messages().empty());
    // A typed target above 999 is refused with its own message; the soft key's
    // maximum is not.
    Enter_menuSeqEditBranch1();
    TypeDispatched("1000");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Messages(), std::vector<std::string>{"31"});
    Enter_menuSeqEditJumpto();
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(g_EditParam.startValue, 999) << "the target's soft keys move the reference too";
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetJumpto(), 999);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SeqEditors, ExitAndSeqKeysCancelDigitsFirstExceptInJumpToEnable) {
    const int32_t angle = SeqGetBalance_L2();
    Enter_menuSeqEditBalance_L2();
    TypeDispatched("12");
    Press(kKeySeq, kClassFunction);
    EXPECT_EQ(State(), 418u) << "digits cancelled, the editor stays";
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    Press(kKeySeq, kClassFunction);
    EXPECT_EQ(State(), 417u);
    EXPECT_EQ(SeqGetBalance_L2(), angle) << "nothing written";

    Enter_menuSeqEditEnJumpto();
    TypeDispatched("1");
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 365u) << "Jump To enable leaves at once";
}

TEST_F(SeqEditors, ChoiceFieldsTakeSoftKeysAndTheKnobBetweenTheirLimits) {
    Enter_menuSeqEditStepterm();
    Press(kKeySoft4, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetTerm(), 2) << "soft key 4 is HOLD";
    Enter_menuSeqEditSyncCode();
    Press(kKeyKnob, kClassCursor, 5);
    EXPECT_EQ(g_EditParam.workValue.load(), 3);
    Press(kKeySoft1, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetSyncCode(), 0);
    Enter_menuSeqEditEnOffPhase(2);
    Press(kKeySoft1, kClassSoft);
    TypeDispatched("0");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetEnOffPhase(2), 1) << "typed digits never count in an enable";
}

// After every write the register is read back: a mismatch is reported and
// cleared, a clean write on step 0 strobes the stage, on another step it does
// not.
TEST_F(SeqEditors, ReadBackCheckAfterTheWrite) {
    test::Stage().InjectReadXor(kRegOffPhase, 1, 4);
    Enter_menuSeqEditOffPhase(0);
    TypeDispatched("10");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Popup(), "SEQ Err.(1, 1)");
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    EXPECT_EQ(g_SeqSimErrors.seqStep.load(), 0);
    test::Stage().ClearReadXor(kRegOffPhase, 1);

    test::ClearTrace();
    Enter_menuSeqEditSyncCode();
    Press(kKeySoft2, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_FALSE(test::WritesTo(kRegStatus).empty());
    EXPECT_TRUE(test::WritesTo(kRegApply).empty()) << "no strobe off step 0";
    Step(0);
    test::ClearTrace();
    Enter_menuSeqEditOnPhase(0);
    Press(kKeySoft3, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SeqGetOnPhase(0), 1800);
    EXPECT_FALSE(test::WritesTo(kRegOnPhase).empty());
    EXPECT_EQ(test::WritesTo(kRegApply).size(), 1u) << "a clean write on step 0 strobes";
}

}  // namespace
