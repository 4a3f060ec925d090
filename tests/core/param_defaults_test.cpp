// The records built from the default tables, per model type.
#include "core/param_defaults.h"

#include <gtest/gtest.h>

#include "core/ctrl_words.h"
#include "core/model_table.h"
#include "core/param_access.h"
#include "core/param_init.h"
#include "core/param_store.h"
#include "engine/arb_mem.h"
#include "param_fixture.h"

using test::BuildDefaults;
using test::Read;

namespace {

struct Limits {
    int32_t max, min;
};

// Current limits in 0.01 A per model type: Irms 3P 100 V, 3P 200 V, 1P2W 100 V, 1P2W 200 V, then Ipk.
const Limits kCurrents[12][8] = {
    {},
    {{1575, 75},
     {788, 38},
     {4725, 225},
     {2363, 113},
     {6300, 3000},
     {3150, 1500},
     {18900, 9000},
     {9450, 4500}},
    {{2100, 100},
     {1050, 50},
     {6300, 300},
     {3150, 150},
     {8400, 4000},
     {4200, 2000},
     {25200, 12000},
     {12600, 6000}},
    {{3150, 150},
     {1576, 76},
     {9450, 450},
     {4726, 226},
     {12600, 6000},
     {6300, 3000},
     {37800, 18000},
     {18900, 9000}},
    {{4725, 225},
     {2364, 114},
     {14175, 675},
     {7089, 339},
     {18900, 9000},
     {9450, 4500},
     {56700, 27000},
     {28350, 13500}},
    {{7875, 375},
     {3940, 190},
     {23625, 1125},
     {11815, 565},
     {31500, 15000},
     {15750, 7500},
     {94500, 45000},
     {47250, 22500}},
    {{9450, 450},
     {4728, 228},
     {28350, 1350},
     {14178, 678},
     {37800, 18000},
     {18900, 9000},
     {113400, 54000},
     {56700, 27000}},
    {{4200, 200},
     {2100, 100},
     {12600, 600},
     {6300, 300},
     {16800, 8000},
     {8400, 4000},
     {50400, 24000},
     {25200, 12000}},
    {{6300, 300},
     {3150, 150},
     {18900, 900},
     {9450, 450},
     {25200, 12000},
     {12600, 6000},
     {75600, 36000},
     {37800, 18000}},
    {{8400, 400},
     {4200, 200},
     {25200, 1200},
     {12600, 600},
     {33600, 16000},
     {16800, 8000},
     {100800, 48000},
     {50400, 24000}},
    {{10500, 500},
     {5250, 250},
     {31500, 1500},
     {15750, 750},
     {42000, 20000},
     {21000, 10000},
     {126000, 60000},
     {63000, 30000}},
    {{12600, 600},
     {6300, 300},
     {37800, 1800},
     {18900, 900},
     {50400, 24000},
     {25200, 12000},
     {151200, 72000},
     {75600, 36000}},
};

class ParamDefaults : public ::testing::Test {
  protected:
    test::InstrumentEnv env_;
};

}  // namespace

TEST_F(ParamDefaults, Model2In1P2WAt100V) {
    BuildDefaults(2);
    g_ParamStore.rangeCode[0] = 2;  // 1P2W, 100 V
    ParamRec irms = Read(61, 0);
    EXPECT_EQ(irms.max, 6300);
    EXPECT_EQ(irms.min, 300);
    EXPECT_EQ(irms.value, 6300);
    EXPECT_EQ(irms.defaultValue, 6300);
    EXPECT_EQ(irms.decimals, 2);
    EXPECT_EQ(irms.digits, 4);
    EXPECT_STREQ(irms.unitText, "A");
    EXPECT_FLOAT_EQ(irms.scale, 0.01f);
}

TEST_F(ParamDefaults, CurrentLimitsOfEveryModelAndVariant) {
    for (uint32_t model = 1; model <= 11; ++model) {
        BuildDefaults(model);
        for (uint32_t variant = 0; variant < 8; ++variant) {
            const uint32_t cls = variant % 4;
            ParamRec irms, hi, lo;
            paramAccess(0, 58, &irms, 0, 0, 16, variant, 0);
            paramAccess(0, 24, &hi, 0, 0, 16, variant, 1);
            paramAccess(0, 27, &lo, 0, 0, 16, variant, 2);
            const Limits& i = kCurrents[model][cls];
            const Limits& p = kCurrents[model][4 + cls];
            SCOPED_TRACE(testing::Message() << "model " << model << " variant " << variant);
            EXPECT_EQ(irms.value, i.max);
            EXPECT_EQ(irms.max, i.max);
            EXPECT_EQ(irms.min, i.min);
            EXPECT_EQ(hi.value, p.max);
            EXPECT_EQ(hi.max, p.max);
            EXPECT_EQ(hi.min, p.min);
            EXPECT_EQ(hi.digits, cls % 2 == 0 ? 5 : 4);
            EXPECT_EQ(lo.value, -p.max);
            EXPECT_EQ(lo.max, -p.min);
            EXPECT_EQ(lo.min, -p.max);
        }
    }
}

TEST_F(ParamDefaults, Model7FrequencyInAcInt) {
    BuildDefaults(7);
    g_OutputModeIdx = 1;
    ParamRec f = Read(12, 0);
    EXPECT_EQ(f.max, 100000);
    EXPECT_EQ(f.min, 1500);
    EXPECT_EQ(f.value, 5000);
    EXPECT_EQ(f.defaultValue, 5000);
    EXPECT_EQ(f.decimals, 2);
    EXPECT_EQ(f.digits, 6);
    EXPECT_EQ(f.def1, 5000);
    EXPECT_EQ(f.def2, 6000);
    EXPECT_STREQ(f.unitText, "Hz");
    EXPECT_EQ(Read(16, 0).value, 100000);
    EXPECT_EQ(Read(19, 0).value, 1500);
    // A single unit goes to 2000.00 Hz; the AC+DC modes down to 1.00 Hz.
    BuildDefaults(1);
    g_OutputModeIdx = 0;
    EXPECT_EQ(Read(12, 0).max, 200000);
    EXPECT_EQ(Read(12, 0).min, 100);
    EXPECT_EQ(Read(19, 0).value, 100);
}

TEST_F(ParamDefaults, PhaseAnglesStartEnabledAtZeroAndSpread) {
    BuildDefaults(3);
    for (uint32_t mode = 0; mode < core::kModes; ++mode) {
        g_OutputModeIdx = mode;
        for (uint32_t u = 0; u < 4; ++u) {
            for (uint32_t id : {64u, 68u}) {
                ParamRec r = Read(id, u);
                EXPECT_EQ(r.value, 0);
                EXPECT_EQ(r.state, 1);
                EXPECT_EQ(r.max, 3599);
                EXPECT_STREQ(r.unitText, "\xB0");
            }
        }
        EXPECT_EQ(Read(72, 0).value, 0);
        EXPECT_EQ(Read(72, 0).state, 1);
        EXPECT_EQ(Read(73, 0).value, 1200);
        EXPECT_EQ(Read(74, 0).value, 2400);
        EXPECT_EQ(Read(74, 0).decimals, 1);
    }
}

TEST_F(ParamDefaults, VoltageRecordsByArea) {
    BuildDefaults(2);
    ParamRec r = Read(47, 0);
    EXPECT_EQ(r.max, 17500);
    EXPECT_EQ(r.def2, 10000);
    EXPECT_STREQ(r.unitText, "Vrms");
    EXPECT_EQ(Read(8, 0).value, 17500);
    EXPECT_EQ(Read(8, 0).min, 1750);
    EXPECT_EQ(Read(10, 0).value, 25000);
    EXPECT_EQ(Read(11, 0).max, -1000);
    EXPECT_EQ(Read(51, 0).min, -25000);
    EXPECT_STREQ(Read(51, 0).unitText, "Vdc");
    EXPECT_EQ(Read(75, 0).value, 1000);
    EXPECT_EQ(Read(75, 0).def2, 2000);
    EXPECT_EQ(Read(75, 1).def2, 0);  // the soft-key values are kept on unit 0 only
    for (uint32_t code : {1u, 3u, 4u, 6u}) {
        g_ParamStore.rangeCode[0] = code;
        EXPECT_EQ(Read(47, 0).max, 35000) << code;
        EXPECT_EQ(Read(47, 0).def2, 20000) << code;
        EXPECT_EQ(Read(10, 0).max, 50000) << code;
        EXPECT_EQ(Read(75, 0).value, 2000) << code;
    }
    g_ParamStore.rangeCode[0] = 2;
    EXPECT_EQ(Read(47, 0).max, 17500);
    // The Vpp set.
    paramPutValue(0, 119, 1, 0);
    paramPutValue(0, 30, 18, 0);
    EXPECT_EQ(Read(47, 0).max, 50000);
    EXPECT_STREQ(Read(47, 0).unitText, "Vpp");
    EXPECT_EQ(Read(8, 0).min, 2000);
}

TEST_F(ParamDefaults, MeasurementItemsByMode) {
    BuildDefaults(2);
    const struct {
        uint32_t mode;
        int32_t value[7], max[7];
    } cases[] = {
        {1, {0, 0, 0, 7, 0, 0, 0}, {12, 8, 5, 8, 2, 3, 1}},
        {2, {0, 0, 0, 5, 0, 0, 0}, {5, 5, 1, 5, 2, 3, 1}},
        {7, {0, 0, 6, 7, 0, 0, 0}, {11, 7, 6, 8, 2, 3, 1}},
        {8, {0, 0, 6, 7, 0, 0, 0}, {11, 7, 6, 8, 2, 3, 1}},
        {0, {0, 0, 0, 7, 0, 0, 0}, {11, 7, 5, 8, 2, 3, 1}},
        {9, {0, 0, 0, 7, 0, 0, 0}, {11, 7, 5, 8, 2, 3, 1}},
    };
    for (const auto& c : cases) {
        g_OutputModeIdx = c.mode;
        for (uint32_t k = 0; k < 7; ++k) {
            EXPECT_EQ(Read(38 + k, 0).value, c.value[k]) << c.mode << " " << k;
            EXPECT_EQ(Read(38 + k, 0).max, c.max[k]) << c.mode << " " << k;
        }
    }
}

TEST_F(ParamDefaults, CalibrationPointsComeFromTheModelsGroup) {
    const struct {
        uint32_t model;
        int32_t firstPoint;
    } cases[] = {{1, -15000}, {2, -20000}, {3, -40000}, {4, -15000},  {5, -15000}, {6, -15000},
                 {7, -20000}, {8, -20000}, {9, -20000}, {10, -20000}, {11, -20000}};
    for (const auto& c : cases) {
        BuildDefaults(c.model);
        EXPECT_EQ(g_ParamStore.caliCurr[0].value, c.firstPoint) << c.model;
        EXPECT_EQ(g_ParamStore.caliCurr[2].digits, 4) << c.model;
        EXPECT_STREQ(g_ParamStore.caliCurr[1].unitText, "A");
        EXPECT_EQ(g_ParamStore.caliVolt[4].max, 555000);
        EXPECT_EQ(g_ParamStore.caliVolt[3].digits, 6);
    }
}

TEST_F(ParamDefaults, WaveformPeakFactorsReachTheAcVoltageRecords) {
    // ARB1 a full-scale square, ARB2 silent; the others as they are.
    for (int i = 0; i < kArbSamples; ++i) {
        g_ArbMem[0][i] = i < kArbSamples / 2 ? 32767 : -32767;
        g_ArbMem[1][i] = 0;
    }
    core::g_ArbUpdate.flags = 0;
    BuildDefaults(2);
    EXPECT_NE(core::g_ArbUpdate.flags & core::kArbWriteFactorTable, 0);
    EXPECT_FLOAT_EQ(GetWaveCrestFactor(16), 1.414f);
    EXPECT_FLOAT_EQ(GetWaveCrestFactor(17), 1.0f);
    EXPECT_FLOAT_EQ(GetWaveCrestFactor(18), 1.732f);
    EXPECT_NEAR(GetWaveCrestFactor(0), 1.0f, 1e-3);
    EXPECT_EQ(GetWaveCrestFactor(1), 0.0f);
    EXPECT_EQ(GetWaveCrestFactor(256), 0.0f);

    paramPutValue(0, 30, 18, 2);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, 1.732f);
    paramPutValue(0, 119, 1, 0);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, 1.732f);  // the Vpp set too
    EXPECT_EQ(Read(51, 2).peakFactor, 0.0f);          // only the AC voltages carry it

    core::ParamSetWaveFactor(18, 2.5f);
    EXPECT_FLOAT_EQ(GetWaveCrestFactor(18), 2.5f);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, 2.5f);
    g_OutputModeIdx = 9;
    EXPECT_FLOAT_EQ(Read(47, 2).peakFactor, 2.5f);
}

TEST_F(ParamDefaults, TableInitZeroesTheVoltagesOfTheCurrentMode) {
    BuildDefaults(2);
    paramPutValue(0, 47, 1234, 0);
    g_OutputShadow[0][3] = 99;
    g_OutputShadow[1][72] = 99;
    ParamTableInit();
    EXPECT_EQ(Read(47, 0).value, 0);
    EXPECT_EQ(g_OutputShadow[0][3], 0u);
    EXPECT_EQ(g_OutputShadow[1][72], 0u);
}

TEST_F(ParamDefaults, TableInitWithoutAModelClassBuildsNothing) {
    BuildDefaults(2);
    paramPutValue(0, 47, 1234, 0);
    g_ModelClass = 11;
    EXPECT_EQ(ParamTableInit(), -1);
    EXPECT_EQ(Read(47, 0).value, 1234);
}
