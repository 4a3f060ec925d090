// The visit order of the SEQUENCE steps, the level a KP/SP step starts from and the mode-pair check, on
// step records written directly into the active AC+DC table.
#include "screens/seqsim/seq/seq_volt_checks.h"

#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "tests/core/ctrl_fixture.h"

namespace {

class SeqVoltChecks : public ::testing::Test {
  protected:
    SeqVoltChecks() {
        engine::SeqSimDataReset();
        SetOutputMode(0);  // AC+DC-INT
        SeqSimSelectTables();
        for (int s = 0; s < kSeqSteps; ++s)
            for (int p = 0; p < 3; ++p) Rec(s, p) = SeqStepRecord{};
    }
    ~SeqVoltChecks() override { engine::SeqSimDataReset(); }

    static SeqStepRecord& Rec(int step, int phase) { return g_SeqSimBlock[phase].seqTable[0][step]; }
    static void End(int step) { Rec(step, 0).flags |= kTermEnd << kSeqTermShift; }
    static void Jump(int step, uint32_t to) {
        Rec(step, 0).flags |= kSeqEnJumpto;
        Rec(step, 0).jumpTo = to;
    }
    // ACV mode (kept in L1) and level of a phase.
    static void Acv(int step, uint32_t mode, uint32_t level, int phase = 0) {
        Rec(step, 0).flags = (Rec(step, 0).flags & ~7u) | mode;
        Rec(step, phase).acv = level;
    }
    static void Dcv(int step, uint32_t mode, int32_t level, int phase = 0) {
        Rec(step, phase).flags = (Rec(step, phase).flags & ~(7u << kSeqDcvTypeShift)) | mode << kSeqDcvTypeShift;
        Rec(step, phase).dcv = level;
    }
    test::CtrlEnv env_{1};
};

TEST_F(SeqVoltChecks, VisitOrder) {
    End(0);
    SeqBuildStepOrder();
    EXPECT_EQ(SeqStepOrder.index[0], 0);
    for (int s = 1; s < kSeqSteps; ++s) ASSERT_EQ(SeqStepOrder.index[s], kSeqNotVisited) << s;
    EXPECT_EQ(SeqStepOrder.loopFlag, 0u);

    Rec(0, 0).flags = 0;
    Jump(3, 1);
    SeqBuildStepOrder();
    for (int s = 0; s < 4; ++s) EXPECT_EQ(SeqStepOrder.index[s], s);
    EXPECT_EQ(SeqStepOrder.index[4], kSeqNotVisited);
    EXPECT_EQ(SeqStepOrder.loopFlag, 1u);
    EXPECT_EQ(SeqStepOrder.loopStep, 1u);
    EXPECT_EQ(SeqStepOrder.lastIndex, 3u);

    // Without END or a jump the walk runs off the table's end.
    Rec(3, 0).flags = 0;
    SeqBuildStepOrder();
    EXPECT_EQ(SeqStepOrder.index[999], 999);
    EXPECT_EQ(SeqStepOrder.loopFlag, 0u);
}

TEST_F(SeqVoltChecks, PreviousLevelSkipsTheStepItself) {
    End(3);
    Acv(1, kTypeCT, 5000);
    Acv(2, kTypeSP, 9000);  // the step being edited: its own level is not a previous one
    SeqSetCurStep(2);
    EXPECT_EQ(SeqPrevAcvLevel(0), 5000);
    // Through a KP step the walk back and the order find the step before it.
    Acv(2, kTypeKP, 9000);
    Acv(3, kTypeKP, 9500);
    SeqSetCurStep(3);
    EXPECT_EQ(SeqPrevAcvLevel(0), 5000);
    // The phase's own level with L1's mode.
    Acv(1, kTypeCT, 3000, 2);
    EXPECT_EQ(SeqPrevAcvLevel(2), 3000);
}

TEST_F(SeqVoltChecks, UnreachableStepTakesOnlyTheStepBefore) {
    Jump(2, 1);               // 0, 1, 2, back to 1: steps 3 on are never visited
    Acv(2, kTypeCT, 20000);  // the loop's last step
    Acv(3, kTypeCT, 30000);  // never visited
    Acv(4, kTypeCT, 1000);
    SeqSetCurStep(5);
    EXPECT_EQ(SeqPrevAcvLevel(0), 1000);
}

TEST_F(SeqVoltChecks, AllKeepStepsGiveNothing) {
    for (int s = 0; s < 5; ++s) Acv(s, kTypeKP, 4000);
    SeqSetCurStep(5);
    EXPECT_EQ(SeqPrevAcvLevel(0), 0);
}

TEST_F(SeqVoltChecks, LoopTakesItsLastSteps) {
    Acv(0, kTypeCT, 100);
    Acv(3, kTypeCT, 7000);
    Jump(3, 1);
    SeqSetCurStep(1);
    EXPECT_EQ(SeqPrevAcvLevel(0), 7000);
}

TEST_F(SeqVoltChecks, NegativeDcLevelsAreNeverTaken) {
    End(3);
    for (int s = 0; s < 3; ++s) Dcv(s, kTypeCT, -500, 1);
    SeqSetCurStep(3);
    EXPECT_EQ(SeqPrevDcvLevel(1), 0);
    // Past a KP step the walk back finds the level before it.
    Dcv(1, kTypeCT, 700, 1);
    Dcv(2, kTypeKP, -500, 1);
    EXPECT_EQ(SeqPrevDcvLevel(1), 700);
}

TEST_F(SeqVoltChecks, ModePairTakesThePreviousLevelOfTheKeptField) {
    End(2);
    for (int s = 0; s < 3; ++s) {
        Rec(s, 0).wave = kWaveCodeSin;
        Acv(s, kTypeCT, 10000);
    }
    Dcv(0, kTypeCT, 25000);  // no 100 V range holds 250 V DC under 100 V AC
    Dcv(1, kTypeCT, 0);
    SeqSetCurStep(1);
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeCT, kTypeKP, 0), 1);
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeSP, kTypeKP, 0), 1);
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeKP, kTypeCT, 0), 0) << "the ACV's previous level with DCV 0";
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeKP, kTypeKP, 0), 0) << "equal modes";
    Dcv(0, kTypeCT, 100);
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeCT, kTypeSP, 0), 0);
    // The ACV side: a large previous ACV with the step's own large DCV.
    Acv(0, kTypeCT, 30000);
    Dcv(1, kTypeCT, 20000);
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeSP, kTypeCT, 0), 1);
    SetOutputMode(1);
    EXPECT_EQ(SeqModePairOutOfLimits(kTypeSP, kTypeCT, 0), 0) << "AC kind";
}

}  // namespace
