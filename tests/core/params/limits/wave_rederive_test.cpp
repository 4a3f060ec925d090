// The voltages kept per waveform and the line values derived from L1.
#include "core/params/limits/wave_voltage.h"
#include "core/params/param_ranges.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/wave_numbers.h"
#include "tests/core/ctrl_fixture.h"

namespace {


class WaveRederiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        core::CtrlWordsReset();
        core::ServiceFlagsReset();
        MsgQueue_Clear();
    }

    test::DefaultStore store;

    static std::atomic<uint32_t>& Word(uint32_t unit, int word) { return g_OutputShadow[unit][word]; }
    static int32_t Volt(uint32_t id, uint32_t mode, uint32_t wave, uint32_t set, uint32_t phase) {
        return test::VoltRec(id, mode, 1, wave, set, phase).value;
    }
};

TEST_F(WaveRederiveTest, LineDcVoltageFromL1) {
    // {wiring, mode, L1 value, line value after the start value 777}
    const int32_t cases[][4] = {
        {0, kModeAcDcInt, 1000, 1000}, {2, kModeAcDcInt, 1000, 2000}, {2, 7, -300, -600},
        {2, kModeAcInt, 1000, 777},  // AC-INT in 1P3W: no line DC value
        {1, kModeAcDcInt, 1000, 777},
    };
    for (const auto& [wiring, mode, l1, line] : cases) {
        g_PhaseMode = wiring;
        g_OutputModeIdx = mode;
        g_ParamStore.rangeCode[static_cast<uint32_t>(mode)] = 1;
        paramPutValue(57, 777, 0);
        Word(core::kLineShadow, core::kShwDcv) = 777;
        Word(0, core::kShwDcv) = static_cast<uint32_t>(l1);
        LineValueFromPhase(57);
        EXPECT_EQ(static_cast<int32_t>(Word(core::kLineShadow, core::kShwDcv)), line) << wiring << mode;
        EXPECT_EQ(test::ReadRecord(57, 0).value, line) << wiring << mode;
    }
}

TEST_F(WaveRederiveTest, SpreadInRmsGivesEveryWaveformTheVoltageInForce) {
    paramPutValue(47, 23000, 0);
    paramPutValue(54, -500, 0);
    Word(0, core::kShwDcv) = static_cast<uint32_t>(-500) + 1;  // a pending post does not spread
    SpreadVoltageToWaves();
    for (uint32_t w : {0u, kWaveSin, kWaveTri, 255u}) {
        EXPECT_EQ(Volt(47, kModeAcInt, w, 0, 0), 23000) << w;
        EXPECT_EQ(Volt(51, kModeAcInt, w, 0, 0), -500) << w;
    }
    // In the Vpp set only SIN and SQU (always shown in Vrms) follow.
    EXPECT_EQ(Volt(47, kModeAcInt, kWaveSqu, 1, 0), 23000);
    EXPECT_EQ(Volt(47, kModeAcInt, kWaveTri, 1, 0), 0);
    // Only the phases of the wiring spread.
    g_PhaseMode = 1;  // 1P2W
    paramPutValue(48, 10000, 1);
    SpreadVoltageToWaves();
    EXPECT_EQ(Volt(47, kModeAcInt, kWaveTri, 0, 1), 0);
    // DC-INT keeps its one record.
    g_OutputModeIdx = kModeDcInt;
    g_ParamStore.rangeCode[kModeDcInt] = 1;
    paramPutValue(54, 12000, 0);
    SpreadVoltageToWaves();
    EXPECT_EQ(Volt(51, kModeDcInt, 0, 0, 0), 12000);
}

TEST_F(WaveRederiveTest, SpreadInVppKeepsTheRmsSetAtTheSineValue) {
    paramPutValue(119, 1, 0);
    g_ParamStore.unit[0].waveform.value = kWaveTri;
    test::SetVolt(47, kModeAcInt, 1, kWaveSin, 0, 0, 11000);
    paramPutValue(47, 60000, 0);  // the Vpp record of TRI
    SpreadVoltageToWaves();
    EXPECT_EQ(Volt(47, kModeAcInt, kWaveTri, 1, 0), 60000);
    EXPECT_EQ(Volt(47, kModeAcInt, 3, 1, 0), 60000);
    EXPECT_EQ(Volt(47, kModeAcInt, kWaveSin, 1, 0), 0);  // SIN is never held in Vpp
    EXPECT_EQ(Volt(47, kModeAcInt, kWaveTri, 0, 0), 11000);
}

// In edit-all mode the line values follow L1.
TEST_F(WaveRederiveTest, LimitedPhasesGiveOneMessageNamingThemAll) {
    g_EditAllPhases = 1;
    for (uint32_t p : {1u, 2u})
        test::SetVolt(8, 0, 1, 0, 0, p, 10000);
    for (uint32_t p = 0; p < 3; ++p)
        paramPutValue(47 + p, 22000, p);
    WaveVoltageRecheck();
    EXPECT_EQ(GetAcv(0), 22000);
    EXPECT_EQ(GetAcv(1), 10000);
    EXPECT_EQ(GetAcv(2), 10000);
    EXPECT_STREQ(g_MsgFreeText,
                 " L2 L3 ACV out of range\ndue to wave modification\n(Setting Voltage Limited)");
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_EQ(test::ReadRecord(50, 0).value, 38105);
}

TEST_F(WaveRederiveTest, VppVoltageIsHeldToTheVppCeilingUnlessInTestMode) {
    core::ParamSetWaveFactor(kWaveTri, 1.0f);
    paramPutValue(119, 1, 0);
    g_PhaseMode = 1;
    g_ParamStore.unit[0].waveform.value = kWaveTri;
    test::SetVolt(47, kModeAcInt, 1, kWaveTri, 1, 0, 90000);  // above 2 x 350.00 V x 1.0
    WaveVoltageRecheck();
    EXPECT_EQ(Word(0, core::kShwAcv), 70000u);
    EXPECT_EQ(MsgQueue_Count(), 1u);

    MsgQueue_Clear();
    g_ServiceFlags.rdTestMode = 1;
    test::SetVolt(47, kModeAcInt, 1, kWaveTri, 1, 0, 90000);
    WaveVoltageRecheck();
    EXPECT_EQ(Word(0, core::kShwAcv), 90000u);
    EXPECT_EQ(MsgQueue_Count(), 0u);
}

}  // namespace
