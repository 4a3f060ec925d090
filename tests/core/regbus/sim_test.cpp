// The simulated power stage: its answers, its memory and its check of the transfer order.
#include <bit>

#include "core/control/fault_index.h"
#include "core/regbus/regbus.h"
#include "regbus_setup.h"

TEST_F(RegBusTest, StageAnswersLikeABootedUnit) {
    struct Case {
        uint32_t reg;
        uint32_t value;
    };
    const Case cases[] = {
        {2048, 0x0200}, {2081, 0x0201}, {2082, 0x0201}, {2083, 0x0201}, {2093, 1}, {2094, 1},
        {2095, 1},      {2099, 1},      {2100, 1},      {2101, 1},      {2128, 0}, {2233, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<uint32_t>(BusReg_ReadInt(0, c.reg)), c.value) << c.reg;
    EXPECT_EQ(BusReg_ReadRaw(0, 2090), 0xFFFFFu);  // no fault bit clear
    EXPECT_NE(BusReg_GetBootStatus(), 0);
    EXPECT_EQ(BusReg_GetFaultIndex(), 0);
    EXPECT_EQ(BusReg_GetStatusHigh(), static_cast<uint32_t>(BusReg_GetModuleVersion(0)));

    Stage().SetVaClass(2);
    Stage().SetBootStatus(0);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(BusReg_GetModuleType(p), 2);
    EXPECT_EQ(BusReg_GetBootStatus(), 0);
}

TEST_F(RegBusTest, OutputStatusFollowsTheOutputRegister) {
    EXPECT_EQ(BusReg_GetOutputStatus() & 0x81u, 0u);
    BusReg_SetOutputOnOff(1);
    EXPECT_EQ(BusReg_GetOutputStatus() & 0x81u, 1u);  // on, and never "not ready"
    BusReg_SetOutputOnOff(0);
    EXPECT_EQ(BusReg_GetOutputStatus() & 0x81u, 0u);
}

TEST_F(RegBusTest, StepMemoryKeepsOneCopyPerStepWord) {
    // Step copies other than the current one are reached through the index register, as a download does.
    auto writeStep = [](uint32_t reg, uint32_t word, uint32_t value) {
        std::lock_guard<std::mutex> lock(g_RegBus.mutex);
        Bus_Write16(2304, 2 * word);
        Bus_Write16(reg, value & 0xFFFF);
        Bus_Write16(2304, 2 * word + 1);
        Bus_Write16(reg, value >> 16);
    };
    for (uint32_t step = 0; step < 1000; step += 111)
        writeStep(787, step, step + 7);
    BusReg_SetStepTime(12345);
    for (uint32_t step = 0; step < 1000; step += 111)
        EXPECT_EQ(Stage().Stored(787, step), step + 7);
    EXPECT_EQ(BusReg_ReadStepWord(0, 787), 7u);
    EXPECT_EQ(BusReg_ReadStepWord(0, 791), 12345u);
    EXPECT_EQ(Stage().Stored(791, 0), 12345u);

    // A read-back mismatch at one step copy.
    Stage().InjectReadXor(802, 0, 1);
    BusReg_SetStepDuty(500, 1);
    EXPECT_EQ(BusReg_ReadStepWord(0, 802), 2049u);
    EXPECT_EQ(Stage().Stored(802, 0), 2048u);
}

TEST_F(RegBusTest, TraceKeepsTheNewestTransfers) {
    Stage().SetTraceCapacity(3);
    for (int v = 1; v <= 5; ++v)
        BusReg_SetVoltSlew(v);
    auto trace = Transfers();
    ASSERT_EQ(trace.size(), 3u);
    EXPECT_EQ(trace.front().raw, 3u);
    EXPECT_EQ(trace.back().raw, 5u);
    EXPECT_EQ(Stage().Transfers(), 5u);
    Clear();
    EXPECT_TRUE(Transfers().empty());
}

// Sequences that break the transfer order are caught at the byte, half and index level.
TEST(PowerStageOrder, ViolationsAreRecorded) {
    struct Case {
        const char* name;
        void (*run)();
        uint64_t violations;
    };
    const Case cases[] = {
        {"a proper write", [] { BusReg_WriteIntEx(0, 2341, 1); }, 0},
        {"a proper read", [] { BusReg_ReadInt(0, 2080); }, 0},
        {"half without index", [] { Bus_Write16(2341, 1); }, 1},
        {"high index first",
         [] {
             Bus_Write16(2304, 1);
             Bus_Write16(2341, 1);
         },
         2},
        {"second half without its index",
         [] {
             Bus_Write16(2304, 0);
             Bus_Write16(2341, 1);
             Bus_Write16(2341, 0);
         },
         1},
        {"another transfer's index in between",
         [] {
             Bus_Write16(2304, 0);
             Bus_Write16(2341, 1);
             Bus_Write16(2304, 0);
             Bus_Write16(2342, 1);
             Bus_Write16(2304, 1);
             Bus_Write16(2342, 0);
         },
         1},
        {"halves of two registers",
         [] {
             Bus_Write16(2304, 0);
             Bus_Write16(2341, 1);
             Bus_Write16(2304, 1);
             Bus_Write16(2342, 0);
         },
         1},
        {"read then write half",
         [] {
             Bus_Write16(2304, 0);
             Bus_Read16(2080);
             Bus_Write16(2304, 1);
             Bus_Write16(2080, 0);
         },
         1},
        {"byte pairs interleaved",
         [] {
             plat::BusWriteByte(plat::kLowByteWindow, 2341, 1);
             plat::BusWriteByte(plat::kLowByteWindow, 2342, 1);
             plat::BusWriteByte(plat::kHighByteWindow, 2342, 0);
         },
         2},
        {"high byte alone", [] { plat::BusWriteByte(plat::kHighByteWindow, 2341, 0); }, 1},
        {"outside the register space", [] { plat::BusWriteByte(plat::kLowByteWindow, 0x1000, 0); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::PowerStage().Reset();
        BusMapInit();
        c.run();
        EXPECT_EQ(plat::PowerStage().OrderViolations(), c.violations);
        EXPECT_EQ(plat::PowerStage().ViolationLog().size(), c.violations);
    }
    plat::PowerStage().Reset();
}

TEST(PowerStageOrder, AccessBeforeMappingIsCounted) {
    plat::PowerStage().Reset();
    BusReg_WriteIntEx(0, 2341, 1);
    EXPECT_EQ(plat::PowerStage().UnmappedAccesses(), 8u);
    plat::PowerStage().Reset();
}

TEST_F(RegBusTest, SettingsTakeEffectOnlyOnTheApplyStrobe) {
    BusReg_SetAcv(0, 23000);  // 230.00 V
    BusReg_SetFreq(5000, 0);
    EXPECT_EQ(std::bit_cast<float>(Stage().Stored(2384, 0)), 230.0f);
    EXPECT_EQ(Stage().Applied(2384), 0u);  // written, not applied
    EXPECT_EQ(Stage().Applies(), 0u);

    BusReg_Apply(1);
    EXPECT_EQ(std::bit_cast<float>(Stage().Applied(2384)), 230.0f);
    EXPECT_EQ(Stage().Applied(2414), 500000u);
    EXPECT_EQ(Stage().Applies(), 1u);

    BusReg_SetAcv(0, 10000);  // a later write leaves the applied value until the next strobe
    EXPECT_EQ(std::bit_cast<float>(Stage().Applied(2384)), 230.0f);
}

TEST_F(RegBusTest, OutputFollowsTheOutputRegisterAndReportsTheAppliedVoltage) {
    BusReg_SetAcv(1, 12000);
    BusReg_SetDcv(1, 5000);
    BusReg_Apply(1);
    EXPECT_EQ(BusReg_GetVrms(1), 0.0f);  // output off

    BusReg_SetOutputOnOff(1);
    EXPECT_TRUE(Stage().OutputOn());
    EXPECT_EQ(BusReg_GetOutputStatus() & 1u, 1u);
    EXPECT_FLOAT_EQ(BusReg_GetVrms(1), 130.0f);  // sqrt(120^2 + 50^2)
    EXPECT_EQ(BusReg_GetVrms(0), 0.0f);

    Stage().TripOutput();  // the stage's protection switches off by itself
    EXPECT_EQ(BusReg_GetOutputStatus() & 1u, 0u);
    EXPECT_EQ(BusReg_GetVrms(1), 0.0f);
}
