// The simulated power stage's check of the transfer order, and the step-word reads through it.
#include <bit>
#include <tuple>

#include "core/regbus/bus_internal.h"
#include "regbus_setup.h"

using namespace regmap;

// A step-word read addresses the current step (word 0) or word five, nothing else.
TEST_F(RegBusTest, StepWordReadsAddressWordZeroOrFive) {
    Stage().Poke(kStepJumpTo, 0, 7);
    Stage().Poke(kStepJumpTo, 5, 55);
    Stage().Poke(kStepAcv, 0, std::bit_cast<uint32_t>(12.5f));
    EXPECT_EQ(BusReg_ReadStepWord(0, kStepJumpTo), 7u);
    EXPECT_EQ(BusReg_ReadStepWord(1, kStepJumpTo), 55u);
    EXPECT_EQ(BusReg_ReadStepFloat(0, kStepAcv), 12.5f);
    const uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_ReadStepWord(2, kStepJumpTo), 0u);
    EXPECT_EQ(Stage().ByteAccesses(), before);
}

// Sequences that break the transfer order are caught at the byte, half and index level.
TEST(PowerStageOrder, ViolationsAreRecorded) {
    constexpr uint32_t a = kVoltUnit, b = kSignal, idx = kIndex, boot = kBootStatus;
    const std::tuple<const char*, void (*)(), uint64_t> cases[] = {
        {"half without index", [] { Bus_Write16(a, 1); }, 1},
        {"high index first", [] { Bus_Write16(idx, 1), Bus_Write16(a, 1); }, 2},
        {"second half without its index", [] { Bus_Write16(idx, 0), Bus_Write16(a, 1), Bus_Write16(a, 0); },
         1},
        {"another transfer's index in between",
         [] {
             Bus_Write16(idx, 0), Bus_Write16(a, 1), Bus_Write16(idx, 0);
             Bus_Write16(b, 1), Bus_Write16(idx, 1), Bus_Write16(b, 0);
         },
         1},
        {"halves of two registers",
         [] { Bus_Write16(idx, 0), Bus_Write16(a, 1), Bus_Write16(idx, 1), Bus_Write16(b, 0); }, 1},
        {"read then write half",
         [] { Bus_Write16(idx, 0), Bus_Read16(boot), Bus_Write16(idx, 1), Bus_Write16(boot, 0); }, 1},
        {"byte pairs interleaved",
         [] {
             plat::BusWriteByte(plat::kLowByteWindow, a, 1);
             plat::BusWriteByte(plat::kLowByteWindow, b, 1);
             plat::BusWriteByte(plat::kHighByteWindow, b, 0);
         },
         2},
        {"high byte alone", [] { plat::BusWriteByte(plat::kHighByteWindow, a, 0); }, 1},
        {"outside the register space",
         [] { plat::BusWriteByte(plat::kLowByteWindow, plat::kStageRegisters, 0); }, 1},
    };
    for (const auto& [name, run, violations] : cases) {
        SCOPED_TRACE(name);
        plat::PowerStage().Reset();
        BusMapInit();
        run();
        EXPECT_EQ(plat::PowerStage().OrderViolations(), violations);
    }
    plat::PowerStage().Reset();
}
