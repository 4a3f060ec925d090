// The factory default: the records built from the default tables (invariants over every model type, and
// what the control task makes of them on the simulated power stage), the identity, the interface defaults
// and the power-module and firmware checks.
#include "core/params/defaults/param_defaults.h"

#include <bit>
#include <string>
#include <utility>

#include "core/params/waves/arb_mem.h"
#include "core/params/defaults/param_init.h"
#include "core/regbus/reg_read.h"
#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "tests/core/ctrl_fixture.h"

using namespace test;

namespace {

class ParamDefaults : public ::testing::Test {
  protected:
    void TearDown() override {
        g_BrandId = 0;
        EXPECT_EQ(Stage().UnmappedAccesses(), 0u);
        EXPECT_EQ(Stage().OrderViolations(), 0u);
    }
    InstrumentEnv env_;
};

ParamRec At(uint32_t id, uint32_t mode, uint32_t code, uint32_t variant, uint32_t unit) {
    ParamRec r;
    paramAccess(Access::kRead, id, &r, {mode, code, kWaveSin, variant, unit});
    return r;
}

}  // namespace

// Every value, default and soft-key value, for every model, mode, area, variant, unit and set.
TEST_F(ParamDefaults, EveryDefaultLiesWithinItsLimits) {
    for (uint32_t model = 1; model <= 11; ++model) {
        BuildDefaults(model);
        for (uint32_t acvUnit : {0, 1}) {
            paramPutValue(119, static_cast<int32_t>(acvUnit), 0);
            for (uint32_t u = 0; u < core::kUnits; ++u)
                paramPutValue(30, acvUnit ? kWaveTri : kWaveSin, u);
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

// The frequency records of each frequency class, on a single unit (model 1) and a parallel system (model 3):
// 50 Hz in every mode; down to 1 Hz in the AC+DC modes (AC+DC-INT, AC+DC-ADD, AC+DC-Sync), to 15 Hz in the
// others; up to 2000 Hz on a single unit, 1000 Hz on a parallel system. Unit 0's DEF keys give 50 and 60 Hz.
TEST_F(ParamDefaults, FrequencyRecordsOfEachClass) {
    struct Triple {
        int32_t value, max, min;
    };
    const struct {
        uint32_t model;
        bool acdc;
        Triple freq, hi, lo;
    } rows[] = {
        {1, true, {5000, 200000, 100}, {200000, 200000, 100}, {100, 200000, 100}},
        {1, false, {5000, 200000, 1500}, {200000, 200000, 1500}, {1500, 200000, 1500}},
        {3, true, {5000, 100000, 100}, {100000, 100000, 100}, {100, 100000, 100}},
        {3, false, {5000, 100000, 1500}, {100000, 100000, 1500}, {1500, 100000, 1500}},
    };
    for (const auto& row : rows) {
        BuildDefaults(row.model);
        for (uint32_t mode = 0; mode < core::kModes; ++mode) {
            if ((mode == kModeAcDcInt || mode == kModeAcDcAdd || mode == kModeAcDcSync) != row.acdc) continue;
            for (uint32_t unit = 0; unit < core::kUnits; ++unit)
                for (const auto& [id, t] :
                     {std::pair{kParamFreq, row.freq}, std::pair{kParamFreqLimitHi, row.hi},
                      std::pair{kParamFreqLimitLo, row.lo}}) {
                    SCOPED_TRACE("model " + std::to_string(row.model) + " mode " + std::to_string(mode) +
                                 " unit " + std::to_string(unit) + " id " + std::to_string(id));
                    const ParamRec r = At(id, mode, 0, 0, unit);
                    EXPECT_EQ(r.value, t.value);
                    EXPECT_EQ(r.defaultValue, t.value);
                    EXPECT_EQ(r.max, t.max);
                    EXPECT_EQ(r.min, t.min);
                }
            const ParamRec f = At(kParamFreq, mode, 0, 0, 0);
            EXPECT_EQ(f.def1, 5000) << "mode " << mode;
            EXPECT_EQ(f.def2, 6000) << "mode " << mode;
        }
    }
}

// The 200 V area doubles the 100 V area; AUTO variants (4-7) take the fixed ranges' rows (0-3); the
// parallel systems take the calibration points of their family: 4.5 kVA (4-6) type 1's, 6 kVA (7-11) type 2's.
TEST_F(ParamDefaults, LimitsFollowTheRangesAndCalibrationPointsTheFamily) {
    int32_t firstCali[12] = {};
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
        firstCali[model] = g_ParamStore.caliCurr[0].value;
        for (const ParamRec& r : g_ParamStore.caliCurr)
            EXPECT_TRUE(r.min <= r.value && r.value <= r.max);
    }
    EXPECT_NE(firstCali[1], firstCali[2]);
    EXPECT_NE(firstCali[2], firstCali[3]);
    for (uint32_t model = 4; model <= 11; ++model)
        EXPECT_EQ(firstCali[model], firstCali[model <= 6 ? 1 : 2]) << model;
}

// A single unit then switches its output on, a unit of a parallel system only with the link.
TEST(ParamDefaultsRun, FactoryDefaultIsWhatTheControlTaskApplies) {
    for (uint32_t model = 1; model <= 11; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        CtrlEnv env(model);
        Stage().SetVaClass(core::VaClassOfModel(model));
        BuildDefaults(model);  // on power modules of the model's family
        ASSERT_EQ(g_ModuleErrMask, 0u);
        ASSERT_TRUE(RunUntilRunning());
        for (int pass = 0; pass < 750 && !SysStatusTest(kSysReady); ++pass)
            Poll(1);
        ASSERT_TRUE(SysStatusTest(kSysReady));
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(Stage().Applied(2337 + p), static_cast<uint32_t>(GetWaveform(p)) + 1);
            EXPECT_EQ(std::bit_cast<float>(Stage().Applied(2384 + p)), GetAcv(p) / 100.0f);
            EXPECT_EQ(Stage().Applied(2414 + p), static_cast<uint32_t>(GetFrequency(p)) * 100);
        }
        // Three phases 120 degrees apart.
        EXPECT_EQ(Read(73, 0).value - Read(72, 0).value, 1200);
        EXPECT_EQ(Read(74, 0).value - Read(73, 0).value, 1200);
        SetAcv(10000, 0);
        SetOutputOnOff(1);
        Poll(20);
        const bool single = model <= 2;  // a 4.5 kVA and a 6 kVA unit; the others are parallel systems
        EXPECT_EQ(Stage().OutputOn(), single);
        EXPECT_FLOAT_EQ(BusReg_ReadFloat(regmap::kVrms.at(0)), single ? 100.0f : 0.0f);
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
    EXPECT_NEAR(GetWaveCrestFactor(0), 1.0f, 1e-3);
    EXPECT_EQ(GetWaveCrestFactor(1), 0.0f);
    EXPECT_EQ(GetWaveCrestFactor(256), 0.0f);

    paramPutValue(30, 18, 2);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, GetWaveCrestFactor(18));
    paramPutValue(119, 1, 0);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, GetWaveCrestFactor(18));  // the Vpp set too
    EXPECT_EQ(Read(51, 2).peakFactor, 0.0f);                          // only the AC voltages carry it
    core::ParamSetWaveFactor(18, 2.5f);
    EXPECT_FLOAT_EQ(Read(49, 2).peakFactor, 2.5f);
    g_OutputModeIdx = 9;
    EXPECT_FLOAT_EQ(Read(47, 2).peakFactor, 2.5f);
}

// Model 0 or one outside the table builds no record, nor does a table build until a model class is set.
TEST_F(ParamDefaults, NoModelSetsOnlyTheIdentityAndTheTableNeedsAModelClass) {
    BuildDefaults(2);
    const std::string name = g_ModelName;
    g_BrandId = 9;
    BuildDefaults(2);
    EXPECT_EQ(g_ModelName, name);
    for (uint32_t model : {0u, 12u, 0xFFFFFFFFu}) {
        BuildDefaults(2);
        paramPutValue(47, 1234, 0);
        g_ModuleErrMask = 5;
        g_OutputModeIdx = 4;
        g_ModelId = model;
        EXPECT_EQ(SetDefaultAll(), 0);
        EXPECT_STREQ(g_ServicePassword, "9462");
        EXPECT_STREQ(g_ModelName, "VRN");
        EXPECT_EQ(g_ModuleErrMask, 0u);
        EXPECT_EQ(g_OutputModeIdx, 0u);
        EXPECT_EQ(Read(47, 0).value, 1234) << model;
    }
    EXPECT_EQ(ParamTableInit(), -1);
    EXPECT_EQ(Read(47, 0).value, 1234);
    g_ModelClass = 1;
    g_OutputShadow[0][3] = 99;
    EXPECT_EQ(ParamTableInit(), 0);
    EXPECT_EQ(Read(47, 0).value, 0);
    EXPECT_EQ(g_OutputShadow[0][3], 0u);
}

// Without a card the USB speed bits are set (its class stays), GPIB is absent and RS232 present.
TEST_F(ParamDefaults, InterfaceDefaultsFollowTheDetectedCard) {
    const struct { uint32_t line, kind; } cases[] = {{106, 1}, {17, 2}, {101, 3}, {0, 0}};  // no card last
    for (const auto& c : cases) {
        for (uint32_t line : {101u, 17u, 106u})
            env_.root.Write("/sys/class/gpio/gpio" + std::to_string(line) + "/value",
                            line == c.line ? "1\n" : "0\n");
        g_IfaceCfg.usb[0] = 0xFF;
        g_IfaceCfg.usb[2] = 0x10;
        g_GpibPresent = 1;
        BuildDefaults(7);
        EXPECT_EQ(g_IfaceCardKind, c.kind) << c.line;
        EXPECT_EQ(g_GpibPresent, c.kind != 0 ? 1 : 0) << c.line;
    }
    EXPECT_EQ(g_IfaceCfg.usb[0], 0xFB);  // without a card: speed bits 1-2 := 1
    EXPECT_EQ(g_IfaceCfg.usb[2], 0x10);
    EXPECT_EQ(g_Rs232Present, 1);
}

TEST_F(ParamDefaults, FirmwareMismatchOfOnePhaseSetsOnlyItsBit) {
    BuildDefaults(1);  // the simulated stage: every phase runs the controller's firmware
    EXPECT_EQ(g_FwErrMask, 0u);
    const uint32_t controller = core::g_CtrlFwVersion;
    Stage().SetRead(2082, 0, (controller + 1) << 8 | 1);
    BuildDefaults(1);
    EXPECT_EQ(g_FwErrMask, 2u);
    EXPECT_EQ(g_ParamStore.unit[1].fwVersion, controller + 1);
    Stage().SetRead(2082, 0, controller << 8 | 0xFF);  // only the high byte counts
    BuildDefaults(1);
    EXPECT_EQ(g_FwErrMask, 0u);
}

TEST_F(ParamDefaults, ModuleClassMustMatchTheModelsFamily) {
    Stage().SetVaClass(1);
    BuildDefaults(2);  // a 6 kVA model on 4.5 kVA modules
    EXPECT_EQ(g_ModuleErrMask, 7u);
    EXPECT_EQ(g_ParamStore.unit[1].moduleClass, 1u);
    BuildDefaults(5);
    EXPECT_EQ(g_ModuleErrMask, 0u);
    Stage().SetRead(2094, 0, 2);
    BuildDefaults(5);
    EXPECT_EQ(g_ModuleErrMask, 2u);
    Stage().SetRead(2100, 0, 0);  // a module that is not ready skips the check
    BuildDefaults(5);
    EXPECT_EQ(g_ModuleErrMask, 0u);
}
