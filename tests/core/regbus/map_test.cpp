// The register map and the two sides that read it: every entry has registers of its own, and what the
// controller's encoders send the simulated stage decodes to the value the accessor was given.
#include <cmath>

#include "platform/stage/power_stage_model.h"
#include "regbus_setup.h"

using regbus::Encoding;

namespace {

// The value in the stage's own unit (V, A, Hz, %, ...) that an encoding makes of v.
double PhysicalValue(Encoding e, int32_t v) {
    switch (e) {
        case Encoding::kFloatDiv10:
        case Encoding::kDuty4096:
            return v / 10.0;
        case Encoding::kFloatDiv100:
        case Encoding::kIntMul100:
            return v / 100.0;
        case Encoding::kFloatDiv1000:
            return v / 1000.0;
        case Encoding::kOne:
            return 1.0;
        default:
            return v;
    }
}

}  // namespace

TEST(RegisterMap, EveryRegisterBelongsToOneEntryAtMost) {
    int owner[plat::kStageRegisters];
    std::fill(std::begin(owner), std::end(owner), -1);
    for (int e = 0; e < static_cast<int>(std::size(regmap::kAll)); ++e) {
        const regmap::Block& b = regmap::kAll[e];
        ASSERT_GE(b.count, 1u) << b.first;
        ASSERT_GE(b.stride, 1u) << b.first;
        ASSERT_LT(b.last(), plat::kStageRegisters) << b.first;
        for (uint32_t i = 0; i < b.count; ++i) {
            EXPECT_EQ(owner[b.at(i)], -1)
                << "register " << b.at(i) << " in entries " << owner[b.at(i)] << " and " << e;
            owner[b.at(i)] = e;
            EXPECT_TRUE(b.contains(b.at(i)));
        }
    }
    // Every register the apply strobe takes is a write register.
    for (uint32_t i = 0; i < regmap::kSettings.count; ++i)
        EXPECT_GE(regmap::kSettings.at(i), static_cast<uint32_t>(regmap::kIndex));
}

// The stage's own view of each register decodes what the writers send; a register without an encoding is
// not written.
TEST_F(RegBusTest, EncodersAndTheStagesDecodingAgreeOnEveryRegister) {
    const int32_t v = 1234;
    int encoded = 0;
    for (uint32_t reg = 0; reg < plat::kStageRegisters; ++reg) {
        for (bool step : {false, true}) {
            SCOPED_TRACE(testing::Message() << "register " << reg << (step ? " (step)" : ""));
            const Encoding e = step ? regbus::StepEncoding(reg) : regbus::WriteIntExEncoding(reg);
            Clear();
            EXPECT_EQ(step ? BusReg_WriteStep(0, reg, v, 0) : BusReg_WriteIntEx(0, reg, v), 0);
            auto trace = Transfers();
            if (e == Encoding::kNone) {
                EXPECT_TRUE(trace.empty());
                continue;
            }
            ++encoded;
            ASSERT_EQ(trace.size(), 1u);
            EXPECT_EQ(trace[0].reg, reg);
            EXPECT_EQ(trace[0].raw, regbus::Encode(e, v));
            // The duty goes in steps of 1/4096, truncated toward zero.
            EXPECT_NEAR(trace[0].value, PhysicalValue(e, v), e == Encoding::kDuty4096 ? 100.0 / 4096 : 1e-4);
        }
    }
    EXPECT_GT(encoded, 100);
}
