// The typed-number conversion every SEQ step editor shares: the field's rounding constant (a float widened
// to double), truncation, and the refusal of anything that leaves 32 bits.
#include "screens/seqsim/seqedit/seq_edit_pattern.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
