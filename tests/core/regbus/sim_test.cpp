// The simulated power stage: its answers, its memory and its check of the transfer order.
#include <bit>
#include <tuple>

#include "core/regbus/bus_internal.h"
#include "regbus_setup.h"

using namespace regmap;

// Every step word has its own copy of the step registers; a step-word read addresses the current step
// (word 0) or word five, nothing else; a read-back mismatch can be injected at one word.
TEST_F(RegBusTest, StepMemoryKeepsOneCopyPerStepWord) {
    for (uint32_t step = 0; step < 1000; step += 111) {
        std::lock_guard<std::mutex> lock(g_RegBus.mutex);
        regbus::Write32Locked(kStepJumpTo, step, step + 7);
    }
    for (uint32_t step = 0; step < 1000; step += 111)
        EXPECT_EQ(Stage().Stored(kStepJumpTo, step), step + 7);
    EXPECT_EQ(BusReg_ReadStepWord(0, kStepJumpTo), 7u);
    Stage().Poke(kStepJumpTo, 5, 55);
    Stage().Poke(kStepAcv, 0, std::bit_cast<uint32_t>(12.5f));
    EXPECT_EQ(BusReg_ReadStepWord(1, kStepJumpTo), 55u);
    EXPECT_EQ(BusReg_ReadStepFloat(0, kStepAcv), 12.5f);
    const uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_ReadStepWord(2, kStepJumpTo), 0u);
    EXPECT_EQ(Stage().ByteAccesses(), before);
    Stage().InjectReadXor(kStepDuty.at(1), 0, 1);
    BusReg_SetStepDuty(500, 1);
    EXPECT_EQ(BusReg_ReadStepWord(0, kStepDuty.at(1)), 2049u);
    EXPECT_EQ(Stage().Stored(kStepDuty.at(1), 0), 2048u);
}

// Sequences that break the transfer order are caught at the byte, half and index level.
TEST(PowerStageOrder, ViolationsAreRecorded) {
    constexpr uint32_t a = kVoltUnit, b = kSignal, idx = kIndex, boot = kBootStatus;
    const std::tuple<const char*, void (*)(), uint64_t> cases[] = {
        {"a proper write", [] { BusReg_WriteIntEx(0, a, 1); }, 0},
        {"a proper read", [] { BusReg_ReadInt(0, boot); }, 0},
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
        EXPECT_EQ(plat::PowerStage().ViolationLog().size(), violations);
    }
    plat::PowerStage().Reset();
}

TEST(PowerStageOrder, AccessBeforeMappingIsCounted) {
    plat::PowerStage().Reset();
    BusReg_WriteIntEx(0, kVoltUnit, 1);
    EXPECT_EQ(plat::PowerStage().UnmappedAccesses(), 8u);
    plat::PowerStage().Reset();
}

// Settings take effect on the apply strobe; the output stage follows its register at once and, while on,
// reports the applied voltages.
TEST_F(RegBusTest, SettingsTakeEffectOnTheApplyStrobeAndTheOutputReportsThem) {
    BusReg_SetAcv(1, 12000);
    BusReg_SetDcv(1, 5000);
    BusReg_SetOutputOnOff(1);
    EXPECT_EQ(Stage().Applied(kAcv.at(1)), 0u);  // written, not applied
    EXPECT_EQ(BusReg_GetVrms(1), 0.0f);
    EXPECT_EQ(BusReg_GetOutputStatus() & 0x81u, 1u);  // on, and never "not ready"
    BusReg_Apply(1);
    EXPECT_EQ(Stage().Applies(), 1u);
    EXPECT_FLOAT_EQ(BusReg_GetVrms(1), 130.0f);  // sqrt(120^2 + 50^2)
    EXPECT_EQ(BusReg_GetVrms(0), 0.0f);
    BusReg_SetAcv(1, 10000);  // a later write leaves the applied value until the next strobe
    EXPECT_FLOAT_EQ(BusReg_GetVrms(1), 130.0f);
    Stage().TripOutput();  // the stage's protection switches off by itself
    EXPECT_EQ(BusReg_GetOutputStatus() & 1u, 0u);
    EXPECT_EQ(BusReg_GetVrms(1), 0.0f);
}
