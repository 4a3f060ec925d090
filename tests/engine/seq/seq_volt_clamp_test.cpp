// The voltage clamp of the current step after an edit that moves its output limits (AC+DC kind, 100V).
#include "engine/seq/seq_volt_clamp.h"

#include "tests/engine/seqsim_fixture.h"

namespace {

class SeqVoltClamp : public ::testing::Test {
  protected:
    static SeqStepRecord& Step(int phase) { return g_SeqSimBlock[phase].seqTable[0][3]; }
    test::SeqSimEnv env_;
};

// A pair that does not fit has no limits left: each value outside them goes to 0, never the nearer bound.
TEST_F(SeqVoltClamp, OutOfLimitValuesGoToTheMinimum) {
    SeqSetCurStep(3);
    struct Case {
        int32_t acv, dcv;
        int changed;
        int32_t acvAfter, dcvAfter;
    } cases[] = {{5000, 1000, 0, 5000, 1000}, {99999, 0, 1, 0, 0},     {99999, 1000, 2, 0, 0},
                 {5000, -99999, 2, 0, 0},     {0, -99999, 1, 0, 0},    {0, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        Step(0).acv = static_cast<uint32_t>(c.acv);
        Step(0).dcv = c.dcv;
        Step(1).acv = 99999;
        test::ClearTrace();
        EXPECT_EQ(SeqStepVoltClamp(SeqGetAbsStep()), c.changed) << c.acv << "," << c.dcv;
        EXPECT_EQ(SeqGetAcv(0), c.acvAfter) << c.acv << "," << c.dcv;
        EXPECT_EQ(SeqGetDcv(0), c.dcvAfter) << c.acv << "," << c.dcv;
        EXPECT_EQ(Step(1).acv, 99999u);
        EXPECT_TRUE(test::Writes().empty());
    }
}

}  // namespace
