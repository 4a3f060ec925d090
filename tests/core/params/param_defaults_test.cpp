// The records built from the default tables: invariants over every model type, and what the control task
// makes of them on the simulated power stage.
#include "core/params/param_defaults.h"

#include <gtest/gtest.h>

#include <bit>

#include "core/control/output_request.h"
#include "core/params/arb_mem.h"
#include "core/params/param_access.h"
#include "core/params/param_init.h"
#include "core/params/param_store.h"
#include "core/regbus/reg_read.h"
#include "core/system/ctrl_words.h"
#include "core/system/model_table.h"
#include "core/system/sys_status.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/core/param_fixture.h"

using test::BuildDefaults;
using test::Read;

namespace {

class ParamDefaults : public ::testing::Test {
  protected:
    test::InstrumentEnv env_;
};

ParamRec At(uint32_t id, uint32_t mode, uint32_t code, uint32_t variant, uint32_t unit) {
    ParamRec r;
    paramAccess(0, id, &r, mode, code, core::kWaveSin, variant, unit);
    return r;
}

}  // namespace

// Every value, default and soft-key value lies within its limits, for every model, mode, range area,
// range variant, unit and record set.
TEST_F(ParamDefaults, EveryDefaultLiesWithinItsLimits) {
    for (uint32_t model = 1; model <= 11; ++model) {
        BuildDefaults(model);
        for (uint32_t acvUnit : {0, 1}) {
            paramPutValue(0, 119, static_cast<int32_t>(acvUnit), 0);
            for (uint32_t u = 0; u < core::kUnits; ++u)
                paramPutValue(0, 30, acvUnit ? core::kWaveTri : core::kWaveSin, u);
            for (uint32_t mode = 0; mode < core::kModes; ++mode)
                for (uint32_t code : {0u, 1u})
                    for (uint32_t variant = 0; variant < core::kRangeVariants; ++variant)
                        for (uint32_t unit = 0; unit < core::kUnits; ++unit)
                            for (uint32_t id = 0; id <= 220; ++id) {
                                const ParamRec r = At(id, mode, code, variant, unit);
                                if (r.min <= r.value && r.value <= r.max && r.defaultMin <= r.defaultValue &&
                                    r.defaultValue <= r.defaultMax &&
                                    (r.def2 == 0 || (r.min <= r.def2 && r.def2 <= r.max)))
                                    continue;
                                ADD_FAILURE() << "model " << model << " mode " << mode << " code " << code
                                              << " variant " << variant << " unit " << unit << " id " << id
                                              << ": " << r.min << " <= " << r.value << " (default "
                                              << r.defaultValue << ", def2 " << r.def2 << ") <= " << r.max;
                                return;
                            }
        }
    }
}

// The limits follow the ranges: the 200 V area doubles the voltages of the 100 V area; the AUTO variants
// (4-7) take the rows of the fixed ranges (0-3); the rms current limit starts at its maximum and the lower
// peak limit mirrors the upper one; the frequency limit records start at the frequency's limits.
TEST_F(ParamDefaults, LimitsFollowTheRanges) {
    for (uint32_t model = 1; model <= 11; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        BuildDefaults(model);
        for (uint32_t id : {47u, 8u, 10u})
            EXPECT_EQ(At(id, 0, 1, 0, 0).max, 2 * At(id, 0, 0, 0, 0).max) << id;
        for (uint32_t variant = 0; variant < 4; ++variant) {
            for (uint32_t id : {58u, 24u, 27u})
                EXPECT_EQ(At(id, 0, 0, variant + 4, 1).max, At(id, 0, 0, variant, 1).max) << id;
            const ParamRec irms = At(61, 0, 0, variant, 2), hi = At(26, 0, 0, variant, 2),
                           lo = At(29, 0, 0, variant, 2);
            EXPECT_EQ(irms.value, irms.max);
            EXPECT_EQ(hi.value, hi.max);
            EXPECT_EQ(lo.value, -hi.max);
            EXPECT_EQ(lo.max, -hi.min);
            EXPECT_EQ(lo.min, -hi.max);
        }
        for (uint32_t mode = 0; mode < core::kModes; ++mode) {
            const ParamRec f = At(12, mode, 0, 0, 0);
            EXPECT_EQ(At(16, mode, 0, 0, 0).value, f.max) << mode;
            EXPECT_EQ(At(19, mode, 0, 0, 0).value, f.min) << mode;
        }
    }
}

// The factory default of every model starts the control task into a ready system with the settings
// applied; a single unit then switches its output on, a unit of a parallel system only with the link.
TEST(ParamDefaultsRun, FactoryDefaultIsWhatTheControlTaskApplies) {
    for (uint32_t model = 1; model <= 11; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        test::CtrlEnv env(model);
        auto& stage = test::CtrlEnv::Stage();
        stage.SetVaClass(core::VaClassOfModel(model));
        BuildDefaults(model);  // on power modules of the model's family
        ASSERT_EQ(g_ModuleErrMask, 0u);
        ASSERT_TRUE(test::CtrlEnv::RunUntilRunning());
        for (int pass = 0; pass < 750 && !SysStatusTest(kSysReady); ++pass)
            test::CtrlEnv::Poll(1);
        ASSERT_TRUE(SysStatusTest(kSysReady));
        for (uint32_t p = 0; p < 3; ++p) {
            EXPECT_EQ(stage.Applied(2337 + p), static_cast<uint32_t>(GetWaveform(static_cast<int>(p))) + 1);
            EXPECT_EQ(std::bit_cast<float>(stage.Applied(2384 + p)), GetAcv(static_cast<int>(p)) / 100.0f);
            EXPECT_EQ(stage.Applied(2414 + p),
                      static_cast<uint32_t>(GetFrequency(static_cast<int>(p))) * 100);
        }
        // Three phases 120 degrees apart.
        EXPECT_EQ(Read(73, 0).value - Read(72, 0).value, 1200);
        EXPECT_EQ(Read(74, 0).value - Read(73, 0).value, 1200);

        SetAcv(10000, 0);
        SetOutputOnOff(1);
        test::CtrlEnv::Poll(20);
        const bool single = model <= 2;  // a 4.5 kVA and a 6 kVA unit; the others are parallel systems
        EXPECT_EQ(stage.OutputOn(), single);
        EXPECT_FLOAT_EQ(BusReg_GetVrms(0), single ? 100.0f : 0.0f);
    }
}

// Model types 1-3 have their own current calibration points; the parallel systems take those of their
// unit family: 4.5 kVA (4-6) those of type 1, 6 kVA (7-11) those of type 2.
TEST_F(ParamDefaults, CalibrationPointsComeFromTheModelsFamily) {
    int32_t first[12] = {};
    for (uint32_t model = 1; model <= 11; ++model) {
        BuildDefaults(model);
        first[model] = g_ParamStore.caliCurr[0].value;
        for (const ParamRec& r : g_ParamStore.caliCurr)
            EXPECT_TRUE(r.min <= r.value && r.value <= r.max) << model;
    }
    EXPECT_NE(first[1], first[2]);
    EXPECT_NE(first[2], first[3]);
    for (uint32_t model = 4; model <= 11; ++model)
        EXPECT_EQ(first[model], first[model <= 6 ? 1 : 2]) << model;
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
    EXPECT_NEAR(GetWaveCrestFactor(0), 1.0f, 1e-3);
    EXPECT_EQ(GetWaveCrestFactor(1), 0.0f);
    EXPECT_EQ(GetWaveCrestFactor(256), 0.0f);

    paramPutValue(0, 30, 18, 2);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, GetWaveCrestFactor(18));
    paramPutValue(0, 119, 1, 0);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, GetWaveCrestFactor(18));  // the Vpp set too
    EXPECT_EQ(Read(51, 2).peakFactor, 0.0f);                          // only the AC voltages carry it

    core::ParamSetWaveFactor(18, 2.5f);
    EXPECT_FLOAT_EQ(GetWaveCrestFactor(18), 2.5f);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, 2.5f);
    g_OutputModeIdx = 9;
    EXPECT_FLOAT_EQ(Read(47, 2).peakFactor, 2.5f);
}

TEST_F(ParamDefaults, TableInitZeroesTheVoltagesOfTheCurrentModeAndNeedsAModelClass) {
    BuildDefaults(2);
    paramPutValue(0, 47, 1234, 0);
    g_ModelClass = 11;  // no model class: nothing is built
    EXPECT_EQ(ParamTableInit(), -1);
    EXPECT_EQ(Read(47, 0).value, 1234);
    g_ModelClass = 1;
    g_OutputShadow[0][3] = 99;
    g_OutputShadow[1][72] = 99;
    EXPECT_EQ(ParamTableInit(), 0);
    EXPECT_EQ(Read(47, 0).value, 0);
    EXPECT_EQ(g_OutputShadow[0][3], 0u);
    EXPECT_EQ(g_OutputShadow[1][72], 0u);
}
