// What the local panel channel connects to the simulated stage (its loads, a signal at its synchronisation
// input), and its optional seeded noise.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <string>
#include <tuple>

#include "platform/panel_channel/panel_channel.h"
#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"

namespace {

TEST(PowerStageLoad, PanelChannelSetsTheLoads) {
    // {arguments, accepted, loads after}
    const std::tuple<const char*, bool, std::array<float, 3>> cases[] = {
        {"10", true, {10, 10, 10}},   {"1 2.5 0", true, {1, 2.5f, 0}}, {"", false, {1, 2.5f, 0}},
        {"1 2", false, {1, 2.5f, 0}}, {"-1", false, {1, 2.5f, 0}},     {"5 x 5", false, {1, 2.5f, 0}},
        {"nan", false, {1, 2.5f, 0}}, {"1e7", false, {1, 2.5f, 0}},    {"0", true, {0, 0, 0}},
    };
    for (const auto& [args, accepted, loads] : cases) {
        std::string error;
        EXPECT_EQ(plat::PowerStageLoadCommand(args, &error), accepted ? 0 : -1) << args;
        EXPECT_EQ(error.empty(), accepted) << args;
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(plat::PowerStage().Load(p), loads[p]) << args << " L" << p + 1;
    }
}

// Word 0 of a register as the controller reads it: index 0, low half, index 1, high half.
float BusReadFloat(uint32_t reg) {
    plat::PowerStageSim& s = plat::PowerStage();
    uint32_t v = 0;
    for (uint8_t half = 0; half < 2; ++half) {
        s.WriteByte(plat::kLowByteWindow, regmap::kIndex, half);
        s.WriteByte(plat::kHighByteWindow, regmap::kIndex, 0);
        const uint32_t low = s.ReadByte(plat::kLowByteWindow, reg);
        v |= (low | uint32_t{s.ReadByte(plat::kHighByteWindow, reg)} << 8) << (16 * half);
    }
    return std::bit_cast<float>(v);
}

// The stage reports the signal's frequency with its output off, the meter's own register staying 0.
TEST(PowerStageLoad, PanelChannelSetsTheSyncInput) {
    plat::PowerStage().Reset();
    EXPECT_EQ(BusReadFloat(regmap::kSyncInputFreq), 0.0f) << "no signal at start";
    // {line, accepted, frequency read after}
    const std::tuple<const char*, bool, float> cases[] = {
        {"syncin 50", true, 50.0f},      {"syncin", false, 50.0f},       {"syncin -1", false, 50.0f},
        {"syncin 5 0", false, 50.0f},    {"syncin nan", false, 50.0f},   {"syncin 1e6", false, 50.0f},
        {"syncin 59.9", true, 59.9f},    {"syncin 0", true, 0.0f},
    };
    for (const auto& [line, accepted, hz] : cases) {
        std::string error;
        EXPECT_EQ(plat::PanelChannelCommand(line, &error), accepted ? 0 : -1) << line;
        EXPECT_EQ(error.empty(), accepted) << line;
        EXPECT_EQ(BusReadFloat(regmap::kSyncInputFreq), hz) << line;
        EXPECT_EQ(BusReadFloat(regmap::kMeasFreq), 0.0f) << line;
    }
    EXPECT_EQ(plat::PowerStage().OrderViolations(), 0u);
}

// With noise, a reading strays by at most the relative amount, and one seed gives one sequence.
TEST(PowerStageLoad, SeededNoiseIsBoundedAndRepeatable) {
    auto readings = [](uint32_t seed) {
        plat::RegisterFile regs;
        plat::PowerStageModel m;
        m.Reset();
        m.PowerOn(regs);
        m.outputOn = true;
        regs.Set(regmap::kAcv, 0, std::bit_cast<uint32_t>(100.0f));
        regs.Set(regmap::kWaveform, 0, 17);  // the sine
        m.Written(regs, regmap::kApply, 0, 1);
        m.SetNoise(0.01f, seed);
        std::array<float, 50> out{};
        for (float& v : out)
            v = std::bit_cast<float>(m.MeasureWord(regs, regmap::kVrms));
        return out;
    };
    const auto a = readings(7), b = readings(7), c = readings(8);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    for (float v : a) {
        EXPECT_GE(v, 99.0f);
        EXPECT_LE(v, 101.0f);
    }
}

}  // namespace
