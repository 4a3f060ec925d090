// 32-bit transfers through the simulated stage: order of halves, encodings, hold and range rules.
#include <bit>
#include <cmath>
#include <functional>
#include <future>
#include <limits>

#include "core/regbus/regbus.h"
#include "regbus_setup.h"

using plat::BusHalf;

namespace {

uint32_t Bits(float f) {
    return std::bit_cast<uint32_t>(f);
}

}  // namespace

TEST_F(RegBusTest, IntWriteMovesIndexThenHalvesInOrder) {
    Stage().SetHalfLog(true);
    BusReg_WriteIntEx(0, 2384, 23000);

    const std::vector<BusHalf> expected = {
        {true, 2304, 0}, {true, 2384, 0x0000}, {true, 2304, 1}, {true, 2384, 0x4366}};
    EXPECT_EQ(Stage().HalfLog(), expected);
    plat::BusTransfer t = OnlyTransfer(Transfers());
    EXPECT_TRUE(t.write);
    EXPECT_EQ(t.reg, 2384);
    EXPECT_EQ(t.word, 0);
    EXPECT_EQ(t.raw, Bits(230.0f));
    EXPECT_EQ(t.value, 230.0);
}

TEST_F(RegBusTest, ReadMovesIndexThenHalvesInOrder) {
    Stage().SetRead(2097, 0, 0x00030002);
    Stage().SetHalfLog(true);
    EXPECT_EQ(BusReg_ReadInt(0, 2097), 0x00030002);
    const std::vector<BusHalf> expected = {
        {true, 2304, 0}, {false, 2097, 0x0002}, {true, 2304, 1}, {false, 2097, 0x0003}};
    EXPECT_EQ(Stage().HalfLog(), expected);
    EXPECT_EQ(g_RegBus.result, 0x00030002);
    EXPECT_EQ(g_RegBus.command, 2097u << 4);
}

struct EncodingCase {
    uint32_t reg;
    int32_t value;
    uint32_t raw;    // what reaches the stage
    double decoded;  // what the stage makes of it
};

TEST_F(RegBusTest, WriteIntExEncodesByRegister) {
    const EncodingCase cases[] = {
        {2336, 7, 7, 7},  // integer
        {2340, 0, 1, 1},  // apply strobe always sends 1
        {2340, 12345, 1, 1},
        {2349, -1, 0xFFFFFFFFu, -1},
        {2358, 1500, Bits(1500.0f), 1500},  // float v
        {2440, -7, Bits(-7.0f), -7},
        {2375, 1234, Bits(1234 / 10.0f), 1234 / 10.0f},  // /10
        {2437, 5, Bits(0.5f), 0.5},
        {775, 5000, Bits(50.0f), 50},  // /100
        {2384, 23000, Bits(230.0f), 230},
        {2410, -250, Bits(-2.5f), -2.5},
        {2436, 1500, Bits(1.5f), 1.5},  // /1000
        {2443, 64000, Bits(64.0f), 64},
        {2414, 5000, 500000, 50.0},                      // x 100: 50.00 Hz
        {2414, -1, 0xFFFFFF9Cu, 0xFFFFFF9Cu / 10000.0},  // unsigned conversion, no overflow trap
        {2411, 3, 30000, 3},                             // x 10000
        {2466, 2, 20000, 2},
        {2461, 500, 2048, 50.0},  // duty 50.0 %
        {2463, 1000, 4096, 100.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "register " << c.reg << " value " << c.value);
        Clear();
        EXPECT_EQ(BusReg_WriteIntEx(0, c.reg, c.value), 0);
        plat::BusTransfer t = OnlyTransfer(Transfers());
        EXPECT_EQ(t.reg, c.reg);
        EXPECT_EQ(t.raw, c.raw);
        EXPECT_DOUBLE_EQ(t.value, c.decoded);
    }
}

TEST_F(RegBusTest, WriteIntExSendsNothingForRegistersWithoutEncoding) {
    // The index register itself, the gap at 2350, the guarded 2447, float-only and read registers.
    for (uint32_t reg : {2304u, 2350u, 2447u, 2449u, 2356u, 2085u, 776u, 2482u}) {
        EXPECT_EQ(BusReg_WriteIntEx(0, reg, 5), 0);
    }
    EXPECT_EQ(Stage().ByteAccesses(), 0u);
}

// Duties below 100 % used to truncate to 0 when computed in integer steps.
TEST_F(RegBusTest, DutyKeepsFractionsOfFullScale) {
    const std::pair<int32_t, uint32_t> cases[] = {{0, 0},
                                                  {1, 4},
                                                  {125, 512},
                                                  {500, 2048},
                                                  {999, 4091},
                                                  {1000, 4096},
                                                  {-500, static_cast<uint32_t>(-2048)}};
    for (auto [duty, raw] : cases) {
        SCOPED_TRACE(duty);
        Clear();
        BusReg_SetDuty(1, duty);
        EXPECT_EQ(OnlyTransfer(Transfers()).raw, raw);
        EXPECT_EQ(OnlyTransfer(Transfers()).reg, 2462);
        Clear();
        BusReg_SetStepDuty(duty, 2);
        EXPECT_EQ(OnlyTransfer(Transfers()).raw, raw);
        EXPECT_EQ(OnlyTransfer(Transfers()).reg, 803);
    }
}

TEST_F(RegBusTest, StepWriteEncodesByRegister) {
    const EncodingCase cases[] = {
        {768, 0x1234, 0x1234, 0x1234},
        {771, -3, 0xFFFFFFFDu, 4294967293.0},
        {772, 12345, Bits(123.45f), 123.45f},
        {780, 6000, Bits(60.0f), 60},
        {781, 900, 900, 900},
        {791, 100000, 100000, 100000},
        {798, 0, Bits(0.0f), 0},
        {800, 1200, Bits(120.0f), 120},
        {801, 250, 1024, 25.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reg);
        Clear();
        EXPECT_EQ(BusReg_WriteStep(0, c.reg, c.value, 0), 0);
        plat::BusTransfer t = OnlyTransfer(Transfers());
        EXPECT_EQ(t.reg, c.reg);
        EXPECT_EQ(t.word, 0);  // step 0 until a sequence addresses another step
        EXPECT_EQ(t.raw, c.raw);
        EXPECT_DOUBLE_EQ(t.value, c.decoded);
    }
    for (uint32_t reg : {767u, 792u, 797u, 804u, 2384u})
        EXPECT_EQ(BusReg_WriteStep(0, reg, 1, 0), 0);
    Clear();
    for (uint32_t reg : {767u, 792u, 797u, 804u, 2384u})
        BusReg_WriteStep(0, reg, 1, 0);
    EXPECT_TRUE(Transfers().empty());
}

struct HoldCase {
    const char* name;
    std::function<void(int force)> call;
    bool forceable;  // force 1 passes the hold
    bool held;       // silenced by the hold at all
};

TEST_F(RegBusTest, HoldSilencesUnforcedTransfers) {
    const int16_t samples[4] = {1, -1, 2, -2};
    const HoldCase cases[] = {
        {"ReadInt", [](int f) { BusReg_ReadInt(f, 2080); }, true, true},
        {"ReadIntAt", [](int f) { BusReg_ReadIntAt(f, 99, 3); }, true, true},
        {"ReadRaw", [](int f) { BusReg_ReadRaw(f, 2090); }, true, true},
        {"WriteFloat", [](int f) { BusReg_WriteFloat(f, 2449, 1.5f); }, true, true},
        {"WriteIntEx", [](int f) { BusReg_WriteIntEx(f, 2346, 1); }, true, true},
        {"WriteStep", [](int f) { BusReg_WriteStep(f, 787, 3, 0); }, true, true},
        {"WriteGuarded2447", [](int f) { BusReg_WriteGuarded2447(f, 2447, 4); }, true, true},
        {"ReadFloat", [](int) { BusReg_ReadFloat(2128); }, false, true},
        {"WriteFloatAt", [](int) { BusReg_WriteFloatAt(104, 1, 1.0f); }, false, true},
        {"ReadAt", [](int f) { BusReg_ReadAt(f, 1, 7); }, false, false},
        {"ReadStepWord", [](int) { BusReg_ReadStepWord(0, 787); }, false, false},
        {"ReadStepFloat", [](int) { BusReg_ReadStepFloat(0, 775); }, false, false},
        {"WriteArbTable", [&](int) { BusReg_WriteArbTable(samples, 4, 3); }, false, false},
        {"LoopbackTest", [](int) { BusReg_LoopbackTest(0x12345678); }, false, false},
    };
    g_BusHold = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int force : {0, 1}) {
            uint64_t before = Stage().ByteAccesses();
            c.call(force);
            bool reached = Stage().ByteAccesses() != before;
            EXPECT_EQ(reached, !c.held || (force == 1 && c.forceable)) << "force " << force;
        }
    }
}

TEST_F(RegBusTest, HeldReadsReturnZero) {
    Stage().SetReadFloat(2128, 0, 230.0f);
    g_BusHold = 1;
    EXPECT_EQ(BusReg_ReadInt(0, 2080), 0);
    EXPECT_EQ(BusReg_ReadInt(1, 2080), 1);
    EXPECT_EQ(BusReg_ReadFloat(2128), 0.0f);
    EXPECT_EQ(BusReg_WriteFloatAt(104, 1, 2.5f), 0.0f);
    g_BusHold = 0;
    EXPECT_EQ(BusReg_ReadFloat(2128), 230.0f);
    EXPECT_EQ(BusReg_WriteFloatAt(104, 1, 2.5f), 2.5f);
}

// A refused transfer must not wait for the bus: with the mutex held elsewhere it still returns at once.
TEST_F(RegBusTest, HeldAndFaultedTransfersLeaveTheMutexAlone) {
    g_BusHold = 1;
    g_PhaseFault = 1;
    std::unique_lock<std::mutex> busy(g_RegBus.mutex);
    auto refused = std::async(std::launch::async, [] {
        return BusReg_ReadInt(0, 2080) + BusReg_ReadFloat(2128) + BusReg_WriteIntEx(0, 2346, 1) +
               BusReg_ReadCalWord(0, 3) + BusReg_WriteCalWord(7, 3, 0);
    });
    ASSERT_EQ(refused.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(refused.get(), 0);
    busy.unlock();
    EXPECT_TRUE(g_RegBus.mutex.try_lock());
    g_RegBus.mutex.unlock();
    EXPECT_EQ(Stage().ByteAccesses(), 0u);
}

TEST_F(RegBusTest, FloatReaderDropsValuesOutOfRange) {
    const std::pair<float, float> cases[] = {{2.0e7f, 0.0f},     {1.0e7f, 1.0e7f},  {1.0001e7f, 0.0f},
                                             {-1.0e6f, -1.0e6f}, {-2.0e6f, 0.0f},   {230.5f, 230.5f},
                                             {INFINITY, 0.0f},   {-INFINITY, 0.0f}, {NAN, 0.0f}};
    for (auto [stage, read] : cases) {
        SCOPED_TRACE(stage);
        Stage().SetReadFloat(2135, 0, stage);
        EXPECT_EQ(BusReg_ReadFloat(2135), read);
    }
}

TEST_F(RegBusTest, IntReaderScalesFloatRegisters) {
    const std::pair<float, int32_t> cases[] = {{230.456f, 23045}, {-1.239f, -123}, {0.5f, 50},   {1e30f, 0},
                                               {-1e30f, 0},       {NAN, 0},        {INFINITY, 0}};
    for (auto [stage, read] : cases) {
        SCOPED_TRACE(stage);
        Stage().SetReadFloat(2128, 0, stage);
        EXPECT_EQ(BusReg_ReadInt(0, 2128), read);
        EXPECT_EQ(g_RegBus.result, read);
    }
    // Integer registers come raw, whatever their bits look like as a float.
    for (uint32_t reg : {2048u, 2050u, 2083u, 2088u, 2103u, 2212u, 2225u, 2251u}) {
        Stage().SetRead(reg, 0, 0x80000001u);
        EXPECT_EQ(BusReg_ReadInt(0, reg), static_cast<int32_t>(0x80000001u)) << reg;
    }
}

TEST_F(RegBusTest, SpecialReadersServeOnlyTheirRegisters) {
    Stage().Poke(99, 12, 0xCAFE);
    Stage().Poke(4, 30, 0xBEEF);
    Stage().SetRead(2090, 0, 0xFFFF0);
    EXPECT_EQ(BusReg_ReadIntAt(0, 99, 12), 0xCAFE);
    EXPECT_EQ(BusReg_ReadAt(0, 4, 30), 0xBEEFu);
    EXPECT_EQ(BusReg_ReadRaw(0, 2090), 0xFFFF0u);
    Clear();
    uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_ReadIntAt(0, 97, 12), 0);
    EXPECT_EQ(BusReg_ReadIntAt(0, 104, 12), 0);
    EXPECT_EQ(BusReg_ReadAt(0, 6, 30), 0u);
    EXPECT_EQ(BusReg_ReadRaw(0, 2091), 0u);
    EXPECT_EQ(BusReg_WriteGuarded2447(0, 2446, 1), 0);
    EXPECT_EQ(Stage().ByteAccesses(), before);
}

TEST_F(RegBusTest, StepWordReadsAddressCurrentStepOrWordFive) {
    Stage().Poke(787, 0, 11);
    Stage().Poke(787, 5, 55);
    Stage().Poke(775, 0, Bits(12.5f));
    EXPECT_EQ(BusReg_ReadStepWord(0, 787), 11u);
    EXPECT_EQ(BusReg_ReadStepWord(1, 787), 55u);
    EXPECT_EQ(BusReg_ReadStepFloat(0, 775), 12.5f);
    uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_ReadStepWord(2, 787), 0u);
    EXPECT_EQ(Stage().ByteAccesses(), before);
}

TEST_F(RegBusTest, LoopbackPassesAndFailsOnACorruptEcho) {
    EXPECT_EQ(BusReg_LoopbackTest(999), 1);
    std::vector<uint32_t> sent;
    for (const auto& t : Transfers()) {
        if (t.write) {
            EXPECT_EQ(t.reg, 2559);
            sent.push_back(t.raw);
        } else {
            EXPECT_EQ(t.reg, 2303);
        }
    }
    EXPECT_EQ(sent, (std::vector<uint32_t>{0x55555555u, 999u, 0xAAAAAAAAu}));

    Stage().InjectReadXor(2303, 0, 0x00010000);
    EXPECT_EQ(BusReg_LoopbackTest(999), 0);
    Stage().ClearReadXor(2303, 0);
    Stage().SetRead(2303, 0, 999);  // echoes only the caller's pattern
    EXPECT_EQ(BusReg_LoopbackTest(999), 0);
}

TEST_F(RegBusTest, WaveformTableTravelsSampleBySample) {
    std::vector<int16_t> samples(4096);
    for (int i = 0; i < 4096; ++i)
        samples[i] = static_cast<int16_t>(i * 16 - 32768);
    EXPECT_EQ(BusReg_WriteArbTable(samples.data(), 4096, 255), 0);
    EXPECT_EQ(Stage().Transfers(), 4096u);
    for (int i : {0, 1, 2047, 2048, 4095}) {
        EXPECT_EQ(Stage().Stored(511, i), static_cast<uint32_t>(static_cast<int32_t>(samples[i]))) << i;
    }
    EXPECT_EQ(Transfers().back().value, samples[4095]);

    uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_WriteArbTable(samples.data(), 4096, 256), -1);  // would land on the step registers
    EXPECT_EQ(BusReg_WriteArbTable(samples.data(), 4096, -1), -1);
    EXPECT_EQ(BusReg_WriteArbTable(samples.data(), 4097, 0), -1);
    EXPECT_EQ(BusReg_WriteArbTable(nullptr, 4096, 0), -1);
    EXPECT_EQ(Stage().ByteAccesses(), before);
}

using RegBusDeathTest = RegBusTest;

TEST_F(RegBusDeathTest, FailedMappingEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Stage().SetMapFailure(EACCES);
            BusMapInit();
        },
        testing::ExitedWithCode(1),
        R"(Error at line [0-9]+, file src/dev/qxSpi_AM3352 \(13\) \[Permission denied\])");
}
