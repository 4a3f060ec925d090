// The rules the SEQ/SIM step editors share: the digit bands of the voltage and frequency editors, their
// DEF1/DEF2 memories, and the typed-number conversion to a field's unit (the field's rounding constant, a
// float widened to double, truncation, and the refusal of anything that leaves 32 bits).
#include "screens/seqsim/seqedit/seq_edit_band.h"

#include "screens/seqsim/seqedit/seq_edit_def.h"
#include "screens/seqsim/seqedit/seq_edit_pattern.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {
using namespace seqedit;

struct BandCase {
    int32_t previous, value;
    uint32_t cursor;
    int32_t wantValue;
    uint32_t wantCursor;
};

// Each case through the rule, with 5 as the top cursor index.
template <size_t N>
void ExpectBands(SeqEditBand (*rule)(int32_t, int32_t, uint32_t, int32_t), const BandCase (&cases)[N]) {
    for (const BandCase& c : cases) {
        const SeqEditBand b = rule(c.previous, c.value, c.cursor, 5);
        EXPECT_EQ(b.value, c.wantValue) << c.previous << " -> " << c.value;
        EXPECT_EQ(b.cursor, c.wantCursor) << c.previous << " -> " << c.value;
    }
}

TEST(SeqEditBand, VoltageBandsMoveTheCursorAndDropTheHiddenDigit) {
    const BandCase cases[] = {
        {9999, 10099, 2, 10090, 1},  // 99.99 V + 1 V leaves the two-decimal band
        {10090, 9990, 1, 9990, 2},   // and back
        {9999, 10099, 0, 10090, 0},  // the cursor does not go below 0
        {10000, 9999, 5, 9990, 5},   // nor above the top index
        {10000, 9999, 4, 9990, 5},
        {50000, 100009, 2, 100000, 1},  // one decimal to none
        {100000, 99999, 1, 99990, 2},   // none to one
        {-9999, -10099, 2, -10090, 1},  // negative, truncated towards 0
        {-10090, -9990, 1, -9990, 2},
        {-10090, -5, 1, 0, 2},     // from below -99.99 V to a small negative value: truncated
        {-10090, 10, 1, 10, 1},    // from below -99.99 V to 0.10 V: left alone
        {5000, 6000, 3, 6000, 3},  // inside one band nothing changes
        {20000, 30005, 3, 30005, 3},
        {10000, -5, 2, -5, 2},  // from one decimal to a negative value: left alone
    };
    ExpectBands(SeqEditVoltBand, cases);
}

TEST(SeqEditBand, FrequencyBandAt99999) {
    const BandCase cases[] = {
        {99999, 100099, 2, 100090, 1},  {100090, 99990, 1, 99990, 2}, {100090, 99990, 5, 99990, 5},
        {5000, 100005, 0, 100000, 0},   {6000, 7001, 2, 7001, 2},     {200000, 150001, 1, 150001, 1},
        {-10000, 100001, 3, 100001, 3},
    };
    ExpectBands(SeqEditFsetBand, cases);
}

TEST(SeqEditPattern, TypedNumbersBecomeTheFieldsUnit) {
    struct Case {
        double x;
        SeqTypedConv conv;
        bool above500Hz;
        int32_t want;
    } cases[] = {
        {2.0, SeqTypedConv::kTime, false, 20000},         {0.0001, SeqTypedConv::kTime, false, 1},
        {0.00004, SeqTypedConv::kTime, false, 0},         {0.00019, SeqTypedConv::kTime, false, 2},
        {123.4, SeqTypedConv::kOnOffPhase, true, 1230},  // whole degrees above 500.00 Hz
        {359.5, SeqTypedConv::kOnOffPhase, true, 3595},  // above 359.0: tenths, for the setter to refuse
        {123.46, SeqTypedConv::kOnOffPhase, false, 1235}, {12.345, SeqTypedConv::kHundredths, false, 1234},
        {12345.0, SeqTypedConv::kWhole, false, 12345},    {99.99, SeqTypedConv::kWhole, false, 99},
    };
    for (const Case& c : cases) {
        int32_t out = -1;
        EXPECT_TRUE(SeqEdit_TypedToUnit(c.x, c.conv, c.above500Hz, &out)) << c.x;
        EXPECT_EQ(out, c.want) << c.x;
    }
}

TEST(SeqEditPattern, NumbersBeyond32BitsAreRefusedUntouched) {
    struct Case {
        double x;
        SeqTypedConv conv;
    } cases[] = {{300000.0, SeqTypedConv::kTime},
                 {999999999.0, SeqTypedConv::kTime},
                 {999999999.0, SeqTypedConv::kTenths},
                 {-99999999.0, SeqTypedConv::kHundredths},
                 {1e300, SeqTypedConv::kWhole}};
    for (const Case& c : cases) {
        int32_t out = 7;
        EXPECT_FALSE(SeqEdit_TypedToUnit(c.x, c.conv, false, &out)) << c.x;
        EXPECT_EQ(out, 7);
    }
    int32_t out = 0;
    EXPECT_TRUE(SeqEdit_TypedToUnit(214748.3647, SeqTypedConv::kTime, false, &out));
    EXPECT_EQ(out, 2147483647) << "the largest that fits";
}

using SeqEditDef = SeqEditTest;

TEST_F(SeqEditDef, StoresTheWorkingValueOrTheTypedNumberIntoTheHomeRecord) {
    g_EditParam.workValue = 1234;
    ASSERT_TRUE(SeqEdit_StoreDef(kParamDcv, true, 18));
    EXPECT_EQ(Posted(), std::vector<std::string>{"Saved to DEF1"});
    EXPECT_EQ(test::Read(kParamDcv, 0).def1, 1234);
    EXPECT_EQ(SeqEdit_DefValue(kParamDcv, true), 1234);

    Type("-12.347");
    ASSERT_TRUE(SeqEdit_StoreDef(kParamDcv, false, 18));
    EXPECT_EQ(Posted(), std::vector<std::string>{"Saved to DEF2"});
    EXPECT_EQ(test::Read(kParamDcv, 0).def2, -1235);
    EXPECT_EQ(g_EditBuf.entryState, 0u) << "the keypad entry ends";

    Type("12.345");
    ASSERT_TRUE(SeqEdit_StoreDef(kParamAcv, true, 18));
    EXPECT_EQ(test::Read(kParamAcv, 0).def1, 1235) << "divided by the record's float scale";
}

TEST_F(SeqEditDef, ATypedNumberOutsideTheRecordIsNotStored) {
    const ParamRec rec = test::Read(kParamFreq, 0);
    const std::string above = std::to_string(rec.max / 100 + 1),
                      below = "-" + std::to_string(-rec.min / 100 + 1);
    for (const char* x : {above.c_str(), below.c_str(), "999999999", "-99999999"}) {
        FreshRing();
        menuResetEdit();
        Type(x);
        EXPECT_FALSE(SeqEdit_StoreDef(kParamFreq, true, 25)) << x;
        EXPECT_EQ(Posted(), std::vector<std::string>{"25"}) << x;
        EXPECT_EQ(test::Read(kParamFreq, 0).def1, rec.def1) << x;
        EXPECT_NE(g_EditBuf.entryState, 0u) << "the entry stays for another try";
    }
    menuResetEdit();
    Type(std::to_string(rec.max / 100).c_str());
    EXPECT_TRUE(SeqEdit_StoreDef(kParamFreq, true, 25)) << "the maximum itself is taken";
    EXPECT_EQ(test::Read(kParamFreq, 0).def1, rec.max);
}

}  // namespace
