// Whole-program downloads with read-back, through the simulated power stage.
#include "tests/engine/seqsim_fixture.h"

namespace {

class Download : public ::testing::Test {
  protected:
    test::SeqSimEnv env_;
};

TEST_F(Download, CleanSeqDownloadVerifiesEveryStep) {
    g_SeqSimBlock[0].seqTable[0][999].time = 77;
    g_SeqSimBlock[2].seqTable[0][500].duty = 123;
    SeqDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    EXPECT_EQ(test::StepWord(791, 999), 77u);
    EXPECT_EQ(test::StepWord(803, 500), static_cast<uint32_t>(123 * 4096 / 1000));
    EXPECT_EQ(SeqGetAbsStep(), 0) << "step base back to 0";
}

TEST_F(Download, MismatchEndsTheDownloadAtItsStep) {
    test::Stage().InjectReadXor(802, 17, 1);
    SeqDownloadAll();
    SeqReportErrors();
    EXPECT_EQ(test::PopupText(), "SEQ Err.(17, 1)");
    bool wroteStep18 = false, wroteL3Of17 = false;
    for (const test::RegWrite& w : test::Writes()) {
        wroteStep18 |= w.reg >= 768 && w.reg <= 803 && w.word == 18;
        wroteL3Of17 |= w.reg == 803 && w.word == 17;
    }
    EXPECT_FALSE(wroteStep18);
    EXPECT_FALSE(wroteL3Of17);
}

TEST_F(Download, WiringDefaultAnglesOnTheFirstDownloadOnly) {
    for (auto& r : g_SeqStepTable[SeqTableIndex(0, 1)][0])
        r.angleL2 = 900;
    g_SeqSimBlock[0].kindChanged = 1;
    SeqDownloadAll();
    EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(300).value), (3600 - 1200) / 10.0f);
    SeqSetCurStep(3);
    SeqSetBalance_L2(900);
    SeqSetCurStep(0);
    test::ClearTrace();
    SeqDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
    EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(3).value), (3600 - 900) / 10.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(4).value), (3600 - 1200) / 10.0f);
}

// 1P3W is one split phase: every AC step sends L2 at 180 degrees, also one that keeps 90 for 3P4W.
TEST_F(Download, SplitPhaseStepsSendL2Opposite) {
    const uint32_t mode0 = GetOutputMode(), wiring0 = g_PhaseMode;
    for (uint32_t mode : {0u, 1u}) {
        SCOPED_TRACE(mode);
        SetOutputMode(mode);
        g_PhaseMode = 2;
        for (auto& r : g_SeqStepTable[SeqTableIndex(mode, 1)][0])
            r.angleL2 = 900;
        test::ClearTrace();
        SeqDownloadAll();
        EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
        EXPECT_FLOAT_EQ(static_cast<float>(test::WritesTo(799).at(3).value), (3600 - 1800) / 10.0f);
    }
    SetOutputMode(mode0);
    g_PhaseMode = wiring0;
}

TEST_F(Download, SimSlotsCarryTheirOwnCopies) {
    test::EnterSim();
    SeqSimSetCurStep(kSimTrans1);
    ASSERT_EQ(SimSetTime(0), 0);
    g_SimStepTable[0][0][kSimInitial].time = 5000;
    SimDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 0);
    EXPECT_TRUE(test::StepWord(768, kSimNormal1) & kStatJump);
    EXPECT_EQ(test::StepWord(787, kSimNormal1), uint32_t{kSimAbnormal});
    EXPECT_EQ(test::StepWord(788, kSimNormal1), 0u);
    EXPECT_EQ(test::StepWord(791, kSimInitial), 1u);
    EXPECT_EQ(test::StepWord(768, kSimNoState) & kStatTermMask, uint32_t{kStatEnd});
    // A wrong read-back of one slot's own copy is found and recorded as that slot.
    test::Stage().InjectReadXor(791, kSimTrans2, 4);
    SimDownloadAll();
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 1);
    EXPECT_EQ(g_SeqSimErrors.simStep.load(), int32_t{kSimTrans2});
}

}  // namespace
