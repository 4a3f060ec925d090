// The factory default: identity, interface defaults, power-module and firmware checks.
#include <gtest/gtest.h>

#include <string>

#include "core/params/param_init.h"
#include "core/params/param_store.h"
#include "core/system/identity.h"
#include "core/system/iface_cfg.h"
#include "core/system/lan_cfg.h"
#include "core/system/model_table.h"
#include "tests/core/param_fixture.h"
#include "platform/power_stage_sim.h"

using test::BuildDefaults;
using test::Read;

namespace {

class SetDefaultAllTest : public ::testing::Test {
  protected:
    void SetUp() override { g_BrandId = 0; }
    void TearDown() override {
        EXPECT_EQ(Stage().UnmappedAccesses(), 0u);
        EXPECT_EQ(Stage().OrderViolations(), 0u);
    }
    static plat::PowerStageSim& Stage() { return plat::PowerStage(); }
    test::InstrumentEnv env_;
};

}  // namespace

// Model 0, and a model id outside the table, set only the identity texts and build no record.
TEST_F(SetDefaultAllTest, NoModelSetsOnlyTheIdentity) {
    for (uint32_t model : {0u, 12u, 0xFFFFFFFFu}) {
        BuildDefaults(2);
        paramPutValue(0, 47, 1234, 0);
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
}

// Every model has its own 4-digit code; a brand outside the table takes the brand-0 name.
TEST_F(SetDefaultAllTest, IdentityOfEveryModel) {
    std::string codes;
    for (uint32_t model = 1; model <= 11; ++model) {
        g_BrandId = 0;
        BuildDefaults(model);
        const std::string name = g_ModelName, code = g_ServicePassword;
        EXPECT_EQ(code.size(), 4u);
        EXPECT_EQ(codes.find(code), std::string::npos) << model;
        codes += code + " ";
        EXPECT_EQ(g_ModelClass, model - 1);
        EXPECT_EQ(core::g_VaClass, g_RatedVA == 6000 ? 2u : 1u) << model;
        g_BrandId = 9;
        BuildDefaults(model);
        EXPECT_EQ(g_ModelName, name);
        // The single units (4.5 and 6 kVA) start with parallel operation off, the parallel systems on.
        EXPECT_EQ(Read(213, 0).value, model <= 2 ? 0 : 1) << model;
    }
}

TEST_F(SetDefaultAllTest, InterfaceDefaultsWithoutACard) {
    g_IfaceCfg.usb[0] = 0xFF;
    g_IfaceCfg.usb[2] = 0x10;  // the USB class stays
    g_GpibPresent = 1;
    BuildDefaults(2);
    EXPECT_EQ(g_IfaceCfg.usb[0], 0xFB);  // speed bits 1-2 := 1
    EXPECT_EQ(g_IfaceCfg.usb[2], 0x10);
    EXPECT_EQ(g_IfaceCardKind, 0u);
    EXPECT_EQ(g_GpibPresent, 0);
    EXPECT_EQ(g_Rs232Present, 1);
}

TEST_F(SetDefaultAllTest, CardKindFollowsTheDetectedLine) {
    const struct {
        int line;
        uint32_t kind;
    } cases[] = {{106, 1}, {17, 2}, {101, 3}};
    for (const auto& c : cases) {
        for (int line : {101, 17, 106}) {
            env_.root.Write("/sys/class/gpio/gpio" + std::to_string(line) + "/value",
                            line == c.line ? "1\n" : "0\n");
        }
        BuildDefaults(7);
        EXPECT_EQ(g_IfaceCardKind, c.kind) << c.line;
        EXPECT_EQ(g_GpibPresent, 1) << c.line;
    }
}

TEST_F(SetDefaultAllTest, FirmwareMismatchOfOnePhaseSetsOnlyItsBit) {
    BuildDefaults(1);  // the simulated stage: every phase runs the controller's firmware
    EXPECT_EQ(g_FwErrMask, 0u);
    const uint32_t controller = core::g_CtrlFwVersion;
    for (int p = 0; p < 3; ++p) {
        test::ResetPowerStage();
        Stage().SetRead(2081 + p, 0, (controller + 1) << 8 | 1);
        BuildDefaults(1);
        EXPECT_EQ(g_FwErrMask, 1u << p) << p;
        EXPECT_EQ(g_ParamStore.unit[p].fwVersion, controller + 1);
        EXPECT_EQ(g_ParamStore.unit[(p + 1) % 3].fwVersion, controller);
    }
    // Only the high byte counts.
    test::ResetPowerStage();
    Stage().SetRead(2082, 0, controller << 8 | 0xFF);
    BuildDefaults(1);
    EXPECT_EQ(g_FwErrMask, 0u);
}

TEST_F(SetDefaultAllTest, ModuleClassMustMatchTheModelsFamily) {
    Stage().SetVaClass(1);
    BuildDefaults(2);  // a 6 kVA model on 4.5 kVA modules
    EXPECT_EQ(g_ModuleErrMask, 7u);
    EXPECT_EQ(g_ParamStore.unit[1].moduleClass, 1u);
    BuildDefaults(5);
    EXPECT_EQ(g_ModuleErrMask, 0u);
    Stage().SetRead(2094, 0, 2);
    BuildDefaults(5);
    EXPECT_EQ(g_ModuleErrMask, 2u);
    // A module that is not ready skips the check.
    Stage().SetRead(2100, 0, 0);
    BuildDefaults(5);
    EXPECT_EQ(g_ModuleErrMask, 0u);
}
