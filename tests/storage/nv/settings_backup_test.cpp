#include "storage/nv/settings_backup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "platform/devices/spi.h"
#include "src/dev/spi_nvm.h"
#include "storage/nv/nv_blocks.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/default_store.h"

using namespace core;

namespace {

class SettingsBackupTest : public test::NvTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(NvTest::SetUp());
        NvBlocksReset();
    }
    static int32_t& Acv(uint32_t unit) { return g_ParamStore.unit[unit].mode[1].volt[1].acv[0][16].value; }
    test::DefaultStore store_;
};

// Block 0 as the memory holds it decides model and brand; what is out of range or unchecked gives 0.
TEST_F(SettingsBackupTest, IdentityLoadTakesOnlyACheckedKnownIdentity) {
    const struct {
        const char* what;
        bool erased;
        uint8_t model, brand, wantModel, wantBrand;
    } cases[] = {
        {"erased memory", true, 0, 0, 0, 0},
        {"model 12", false, 12, 1, 0, 1},
        {"brand 3", false, 5, 3, 5, 0},
        {"model 11 brand 2", false, 11, 2, 11, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(plat::NvmSimErase(), 0);
        if (!c.erased) {
            IdentityBlock b;
            b.modelId = c.model;
            b.brandId = c.brand;
            std::strcpy(b.serial, "SN-77");
            ASSERT_EQ(IdentityBlockSave(b), kNvSaved);
        }
        NvBlocksReset();
        g_ModelId = 7, g_BrandId = 1;
        EXPECT_EQ(IdentityBlockLoad(), c.erased ? -200 : 0);
        EXPECT_EQ(g_ModelId.load(), c.wantModel);
        EXPECT_EQ(g_BrandId.load(), c.wantBrand);
        EXPECT_EQ(SpecialDataLoad(), c.erased ? 0 : 1);
    }
    EXPECT_STREQ(g_SerialNo, "SN-77");
}

// The power-on settings and the interface bytes come back from block 0 into freshly built defaults.
TEST_F(SettingsBackupTest, PowerOnSettingsRoundTripThroughBlockZero) {
    g_ParamStore.global[kGlbAvgCount].value = 200;  // unsigned byte
    g_ParamStore.global[kGlbMonitorSrc2].value = -2;
    g_ParamStore.global[kGlbTrigWidth].value = 321;
    g_ParamStore.unit[0].ipkLimitMode.value = 0;
    g_IfaceCfg.gpibAddress = 17;
    ASSERT_EQ(BackupSaveSystem(), kNvSaved);
    NvBlocksReset();
    SetDefaultAll();
    g_IfaceCfg = {};
    ASSERT_EQ(IdentityBlockLoad(), 0);
    EXPECT_EQ(g_ModelId.load(), 2u);
    ASSERT_EQ(SpecialDataLoad(), 1);
    EXPECT_EQ(g_ParamStore.global[kGlbAvgCount].value, 200);
    EXPECT_EQ(g_ParamStore.global[kGlbMonitorSrc2].value, -2);
    EXPECT_EQ(g_ParamStore.global[kGlbTrigWidth].value, 321);
    EXPECT_EQ(g_ParamStore.unit[0].ipkLimitMode.value, 0);
    EXPECT_EQ(g_IfaceCfg.gpibAddress, 17u);
}

// Saving in 1P3W writes blocks 5 and 6 only, so the settings last saved in 3P4W come back when the unit
// returns to 3P4W; the restore flag takes the phase mode from block 0.
TEST_F(SettingsBackupTest, PhaseModeSavesAndLoadsItsOwnBlocks) {
    Acv(0) = 11100;
    ASSERT_EQ(BackupSavePhaseSettings(0), kNvSaved);
    Acv(0) = 22200;
    plat::NvmSimClearLog();
    ASSERT_EQ(BackupSavePhaseSettings(2), kNvSaved);
    std::set<uint32_t> kinds;  // of every write command
    for (const auto& cmd : plat::NvmSimLog())
        if (cmd.command == 0x02) kinds.insert((cmd.address - 4096) / kNvSettingsBlockSize + 1);
    EXPECT_EQ(kinds, (std::set<uint32_t>{5, 6}));

    g_PhaseMode = 0;
    BackupLoadPhaseSettings(0);
    EXPECT_EQ(Acv(0), 11100);
    ASSERT_EQ(SpecialDataSave(2), kNvSaved);  // block 0 records 1P3W
    g_PhaseMode = 0;
    BackupLoadPhaseSettings(1);
    EXPECT_EQ(g_PhaseMode.load(), 2u);
    EXPECT_EQ(Acv(0), 22200);
}

}  // namespace
