// The factory default: identity, interface defaults, power-module and firmware checks, misc records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/params/param_init.h"
#include "core/params/param_store.h"
#include "core/system/identity.h"
#include "core/system/iface_cfg.h"
#include "core/system/lan_cfg.h"
#include "core/system/model_table.h"
#include "param_fixture.h"
#include "platform/power_stage_sim.h"

using test::BuildDefaults;
using test::Read;

namespace {

class SetDefaultAllTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_BrandId = 0;
        g_ModuleErrMask = 0;
        g_FwErrMask = 0;
    }
    void TearDown() override {
        EXPECT_EQ(Stage().UnmappedAccesses(), 0u);
        EXPECT_EQ(Stage().OrderViolations(), 0u);
    }
    static plat::PowerStageSim& Stage() { return plat::PowerStage(); }
    test::InstrumentEnv env_;
};

}  // namespace

TEST_F(SetDefaultAllTest, Model0SetsOnlyTheIdentity) {
    BuildDefaults(2);
    paramPutValue(0, 47, 1234, 0);
    g_ModuleErrMask = 5;
    g_OutputModeIdx = 4;
    g_ModelId = 0;
    EXPECT_EQ(SetDefaultAll(), 0);
    EXPECT_STREQ(g_ServicePassword, "9462");
    EXPECT_STREQ(g_ModelName, "VRN");
    EXPECT_EQ(g_ModuleErrMask, 0u);
    EXPECT_EQ(g_OutputModeIdx, 0u);
    EXPECT_EQ(Read(47, 0).value, 1234);  // no record was built
    // A model id outside the table is handled as no model.
    g_ModelId = 12;
    strcpy(g_ModelName, "x");
    SetDefaultAll();
    EXPECT_STREQ(g_ModelName, "VRN");
    EXPECT_EQ(Read(47, 0).value, 1234);
}

TEST_F(SetDefaultAllTest, IdentityOfTheModelAndBrand) {
    BuildDefaults(1);
    EXPECT_STREQ(g_ModelName, "VRN-4145");
    EXPECT_STREQ(g_ServicePassword, "4145");
    EXPECT_EQ(g_RatedVA, 4500u);
    EXPECT_EQ(g_ModelClass, 0u);
    EXPECT_EQ(core::g_VaClass, 1u);
    g_BrandId = 1;
    BuildDefaults(1);
    EXPECT_STREQ(g_ModelName, "VRN345-351");
    g_BrandId = 2;
    BuildDefaults(11);
    EXPECT_STREQ(g_ModelName, "TBD");
    EXPECT_EQ(g_RatedVA, 6000u);
    EXPECT_EQ(core::g_VaClass, 2u);
    g_BrandId = 9;  // out of range: the brand-0 name
    BuildDefaults(4);
    EXPECT_STREQ(g_ModelName, "VRN-4145-13.5");
}

TEST_F(SetDefaultAllTest, ParallelEnableIsOffOnlyForSingleUnits) {
    for (uint32_t model = 1; model <= 11; ++model) {
        BuildDefaults(model);
        EXPECT_EQ(Read(213, 0).value, model <= 2 ? 0 : 1) << model;
        EXPECT_EQ(Read(212, 0).max, 1);
        EXPECT_EQ(Read(209, 0).value, 1);
        EXPECT_EQ(Read(211, 0).value, 2);
        EXPECT_EQ(Read(211, 0).min, 2);
    }
}

TEST_F(SetDefaultAllTest, MiscellaneousRecords) {
    g_ParamStore.rangeCode[3] = 1;
    BuildDefaults(2);
    EXPECT_EQ(g_ParamStore.rangeCode[3], 0u);
    const struct {
        uint32_t id;
        int32_t value, max, min, decimals, digits;
        float scale;
    } cases[] = {
        {97, 1, 60000, 1, 0, 5, 1.0f},  {125, 3, 5, 0, 0, 0, 0.0f},   {129, 1, 600, 1, 1, 3, 0.1f},
        {34, 500, 999, 1, 1, 3, 0.1f},  {135, 8, 128, 1, 0, 3, 1.0f}, {137, 0, 8, 0, 0, 0, 0.0f},
        {196, 1, 20000, 0, 1, 5, 0.1f}, {206, 1, 10, 0, 1, 2, 0.1f},  {91, 1, 1, 0, 0, 0, 0.0f},
    };
    for (const auto& c : cases) {
        ParamRec r = Read(c.id, 0);
        SCOPED_TRACE(c.id);
        EXPECT_EQ(r.value, c.value);
        EXPECT_EQ(r.max, c.max);
        EXPECT_EQ(r.min, c.min);
        EXPECT_EQ(r.decimals, c.decimals);
        EXPECT_EQ(r.digits, c.digits);
        EXPECT_FLOAT_EQ(r.scale, c.scale);
        EXPECT_STREQ(r.unitText, "");
    }
    // Waveform and duty are built for every unit; the peak-current limit mode for unit 0 only.
    EXPECT_EQ(Read(32, 2).value, 16);
    EXPECT_EQ(Read(37, 3).value, 500);
    EXPECT_EQ(Read(93, 2).max, 0);
}

TEST_F(SetDefaultAllTest, InterfaceDefaultsWithoutACard) {
    g_IfaceCfg.usb[0] = 0xFF;
    g_IfaceCfg.usb[2] = 0x10;  // the USB class stays
    g_GpibPresent = 1;
    BuildDefaults(2);
    EXPECT_EQ(g_IfaceCfg.usb[0], 0xFB);  // speed bits 1-2 := 1
    EXPECT_EQ(g_IfaceCfg.usb[2], 0x10);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(g_IfaceCfg.lcd[i], 50);
    EXPECT_EQ(g_IfaceCardKind, 0u);
    EXPECT_EQ(g_GpibPresent, 0);
    EXPECT_EQ(g_Rs232Present, 1);
    EXPECT_EQ(core::g_IfacePresentMore[0], 1);
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
    EXPECT_EQ(core::g_CtrlFwVersion, 0x02u);
    const uint32_t status = 0x0200;
    for (int p = 0; p < 3; ++p) {
        test::ResetPowerStage();
        Stage().SetRead(2048, 0, status);
        Stage().SetRead(2081 + p, 0, 0x0301);  // high byte 3 against the controller's 2
        BuildDefaults(1);
        EXPECT_EQ(g_FwErrMask, 1u << p) << p;
        EXPECT_EQ(g_ParamStore.unit[p].fwVersion, 3u);
        EXPECT_EQ(g_ParamStore.unit[(p + 1) % 3].fwVersion, 2u);
    }
    // Only the high byte counts.
    test::ResetPowerStage();
    Stage().SetRead(2082, 0, 0x02FF);
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

TEST(LanSetDefault, SetsTheFactoryAddressesAndInterfaces) {
    g_LanCfg.HOSTNAME[0] = 'h';
    g_LanCfg.PW = 1234;
    LanSetDefault();
    const uint8_t ip[4] = {172, 16, 28, 120}, mask[4] = {255, 255, 128, 0}, gw[4] = {172, 16, 0, 254},
                  dns[4] = {172, 16, 1, 252};
    EXPECT_EQ(0, memcmp(g_LanCfg.IP, ip, 4));
    EXPECT_EQ(0, memcmp(g_LanCfg.MASK, mask, 4));
    EXPECT_EQ(0, memcmp(g_LanCfg.GW, gw, 4));
    EXPECT_EQ(0, memcmp(g_LanCfg.DNS, dns, 4));
    EXPECT_EQ(g_LanCfg.PORT, 5025u);
    EXPECT_EQ(g_LanCfg.HOSTNAME[0], 'h');  // the other fields stay
    EXPECT_EQ(g_LanCfg.PW, 1234u);
    EXPECT_EQ(g_IfaceCfg.gpibAddress, 10u);
    EXPECT_EQ(g_IfaceCfg.canopenNodeId, 127u);
    EXPECT_EQ(g_IfaceCfg.devicenetMacId, 63u);
    EXPECT_EQ(g_IfaceCfg.rs232Baud, 3);  // 9600
}
