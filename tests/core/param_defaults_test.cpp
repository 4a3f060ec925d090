// The records built from the default tables, per model type.
#include "core/params/param_defaults.h"

#include <gtest/gtest.h>

#include "core/params/arb_mem.h"
#include "core/params/param_access.h"
#include "core/params/param_init.h"
#include "core/params/param_store.h"
#include "core/system/ctrl_words.h"
#include "core/system/model_table.h"
#include "param_fixture.h"

using test::BuildDefaults;
using test::Read;

namespace {

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

TEST_F(ParamDefaults, CurrentLimitsFollowModelAndRangeVariant) {
    // {model, variant, Irms max, Irms min, Ipk max, Ipk min} in 0.01 A; variants 4-7 reuse rows 0-3.
    const struct {
        uint32_t model, variant;
        int32_t irmsMax, irmsMin, ipkMax, ipkMin;
    } spots[] = {
        {1, 3, 2363, 113, 9450, 4500},      {1, 7, 2363, 113, 9450, 4500},
        {3, 1, 1576, 76, 6300, 3000},       {4, 2, 14175, 675, 56700, 27000},
        {6, 6, 28350, 1350, 113400, 54000}, {10, 5, 5250, 250, 21000, 10000},
        {11, 0, 12600, 600, 50400, 24000},  {11, 4, 12600, 600, 50400, 24000},
    };
    for (const auto& c : spots) {
        BuildDefaults(c.model);
        ParamRec irms, hi;
        paramAccess(0, 58, &irms, 0, 0, 16, c.variant, 0);
        paramAccess(0, 24, &hi, 0, 0, 16, c.variant, 1);
        SCOPED_TRACE(testing::Message() << "model " << c.model << " variant " << c.variant);
        EXPECT_EQ(irms.max, c.irmsMax);
        EXPECT_EQ(irms.min, c.irmsMin);
        EXPECT_EQ(hi.max, c.ipkMax);
        EXPECT_EQ(hi.min, c.ipkMin);
    }
    // For every model and variant: the rms limit starts at its maximum, the peak limits at their outer
    // bounds, and the lower peak limit mirrors the upper one.
    for (uint32_t model = 1; model <= 11; ++model) {
        BuildDefaults(model);
        for (uint32_t variant = 0; variant < 8; ++variant) {
            ParamRec irms, hi, lo;
            paramAccess(0, 61, &irms, 0, 0, 16, variant, 0);
            paramAccess(0, 26, &hi, 0, 0, 16, variant, 2);
            paramAccess(0, 29, &lo, 0, 0, 16, variant, 2);
            SCOPED_TRACE(testing::Message() << "model " << model << " variant " << variant);
            EXPECT_EQ(irms.value, irms.max);
            EXPECT_EQ(hi.value, hi.max);
            EXPECT_EQ(hi.digits, variant % 2 == 0 ? 5 : 4);
            EXPECT_EQ(lo.value, -hi.max);
            EXPECT_EQ(lo.max, -hi.min);
            EXPECT_EQ(lo.min, -hi.max);
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

TEST_F(ParamDefaults, MeasurementItemsFollowTheModesGroup) {
    BuildDefaults(2);
    // Item 1's maximum and item 3's value tell the four groups apart.
    const struct {
        uint32_t mode;
        int32_t item1Max, item3Value, item4Value;
    } cases[] = {{1, 12, 0, 7}, {2, 5, 0, 5},  {7, 11, 6, 7}, {8, 11, 6, 7},
                 {0, 11, 0, 7}, {5, 11, 0, 7}, {9, 11, 0, 7}};
    for (const auto& c : cases) {
        g_OutputModeIdx = c.mode;
        EXPECT_EQ(Read(38, 2).max, c.item1Max) << c.mode;
        EXPECT_EQ(Read(40, 1).value, c.item3Value) << c.mode;
        EXPECT_EQ(Read(41, 0).value, c.item4Value) << c.mode;
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
    g_ArbChanged.flags = 0;
    BuildDefaults(2);
    EXPECT_NE(g_ArbChanged.flags & core::kArbWriteFactorTable, 0);
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
