#include "storage/nv/settings_backup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/default_store.h"

using namespace core;

namespace {

class SettingsBackupTest : public test::NvTest {
  protected:
    static int32_t& Acv(uint32_t unit) { return g_ParamStore.unit[unit].mode[1].volt[1].acv[0][16].value; }
    static constexpr char kCopy[] = "/mnt/tst/Special/SpecialData";
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
        testing::internal::CaptureStderr();
        EXPECT_EQ(IdentityBlockLoad(), c.erased ? -200 : 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // nothing stored was lost
        EXPECT_EQ(g_ModelId.load(), c.wantModel);
        EXPECT_EQ(g_BrandId.load(), c.wantBrand);
        EXPECT_EQ(SpecialDataLoad(), c.erased ? 0 : 1);
    }
    EXPECT_STREQ(g_SerialNo, "SN-77");
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

// A flipped byte in block 0 and in its file copy: the start runs on model 0 and brand 0, says so, and
// neither its saves nor a reset's write over the stored identity, the settings blocks or the preset
// backups, although the limits of no model type left other values in the store. A power-on setting the
// user changes afterwards is written.
TEST_F(SettingsBackupTest, ABadBlockZeroKeepsEveryBlockUntilItsContentsChange) {
    g_ModelId = 5, g_BrandId = 1;
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "SN-77", 5);
    Acv(0) = 11100, Acv(1) = 12100, Acv(2) = 13100;
    SettingsBackupSaveAll();
    std::string special = store_.root.Read(kCopy);
    ASSERT_EQ(special.size(), 512u);
    special[30] ^= 0x10;
    store_.root.Write(kCopy, special);
    FlipByte(30);
    const std::string block0 = Chip(0, 512), settings = Chip(4096, 3 * 8192), presets = Chip(53248, 3 * 8192);

    NvBlocksReset();  // the next start
    testing::internal::CaptureStderr();
    EXPECT_EQ(IdentityBlockLoad(), -200);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "identity and power-on settings reset: stored block damaged, no model type\n");
    EXPECT_EQ(g_ModelId.load(), 0u);
    EXPECT_EQ(g_BrandId.load(), 0u);
    SetDefaultAll();
    EXPECT_EQ(SpecialDataLoad(), 0);
    BackupLoadPhaseSettings(1);
    EXPECT_EQ(Acv(1), 12100);
    Acv(0) = 0;                              // held within the limits of no model type
    PresetRecord(0, 0)[100] ^= 1;            // likewise a preset record
    SettingsBackupSaveAll();                 // the start's save
    SettingsBackupSaveAll();                 // a restart's
    EXPECT_EQ(BackupSaveSystem(), kNvHeld);  // a reset's
    EXPECT_EQ(BackupSavePhaseSettings(0), kNvHeld);
    EXPECT_EQ(Chip(0, 512), block0);
    EXPECT_EQ(Chip(4096, 3 * 8192), settings);
    EXPECT_EQ(Chip(53248, 3 * 8192), presets);
    EXPECT_EQ(store_.root.Read(kCopy), special);

    g_ParamStore.global[kGlbAvgCount].value = 77;
    SettingsBackupSaveAll();
    EXPECT_NE(Chip(0, 512), block0);
    NvBlocksReset();
    ASSERT_EQ(IdentityBlockLoad(), 0);
    g_ParamStore.global[kGlbAvgCount].value = 1;
    ASSERT_EQ(SpecialDataLoad(), 1);
    EXPECT_EQ(g_ParamStore.global[kGlbAvgCount].value, 77);
}

// A flipped byte in block 0 beside a sound copy: the start mends block 0 from the copy, says so on the
// console and in the popup, and runs with the unit's identity; every later write of block 0 keeps the
// copy the same.
TEST_F(SettingsBackupTest, ADamagedBlockZeroIsMendedFromItsCopy) {
    g_ModelId = 5, g_BrandId = 1;
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "SN-77", 5);
    SettingsBackupSaveAll();
    const std::string good = Chip(0, 512);
    FlipByte(30);

    NvBlocksReset();  // the next start
    g_ModelId = 0, g_BrandId = 0;
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "", 0);
    MsgQueue_Clear();
    testing::internal::CaptureStderr();
    EXPECT_EQ(IdentityBlockLoad(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "identity block damaged: restored from /mnt/tst/Special/SpecialData\n");
    char popup[64];
    MsgQueue_CopyText(popup, sizeof popup);
    EXPECT_STREQ(popup, "Identity Data Error\n(Restored from Backup)");
    EXPECT_EQ(Chip(0, 512), good);
    EXPECT_EQ(g_ModelId.load(), 5u);
    EXPECT_EQ(g_BrandId.load(), 1u);
    EXPECT_STREQ(g_SerialNo, "SN-77");

    g_ParamStore.global[kGlbAvgCount].value = 77;
    EXPECT_EQ(BackupSaveSystem(), kNvSaved);
    EXPECT_NE(Chip(0, 512), good);
    EXPECT_EQ(store_.root.Read(kCopy), Chip(0, 512));
}

// A never written memory holds nothing to keep: the first save writes block 0 at once; a unit the factory
// names writes its identity over a bad block 0.
TEST_F(SettingsBackupTest, BlankOrFactoryBlockZeroIsWritten) {
    EXPECT_EQ(IdentityBlockLoad(), -200);  // erased
    EXPECT_EQ(BackupSaveSystem(), kNvSaved);
    ASSERT_EQ(IdentityBlockLoad(), 0);

    FlipByte(30);
    store_.root.Write(kCopy, "");  // nothing to mend block 0 from
    NvBlocksReset();
    EXPECT_EQ(IdentityBlockLoad(), -200);
    FactoryUnitRequest(3);
    ASSERT_TRUE(FactoryUnitIdentity());
    EXPECT_EQ(FactoryUnitWrite(), kNvSaved);
    NvBlocksReset();
    g_ModelId = 0;
    ASSERT_EQ(IdentityBlockLoad(), 0);
    EXPECT_EQ(g_ModelId.load(), 3u);
}

// A settings block with a flipped byte leaves its unit at the defaults, and the saves do not store those
// over it; a setting changed afterwards is stored. A sound block of the same phase mode is saved as
// ever.
TEST_F(SettingsBackupTest, ABadSettingsBlockIsNotSavedOverUntilItsUnitChanges) {
    Acv(0) = 11100;
    Acv(1) = 12100;
    ASSERT_EQ(BackupSavePhaseSettings(0), kNvSaved);
    const uint32_t block2 = NvBlockOffset(2);
    FlipByte(block2 + 300);
    const std::string stored = Chip(block2, kNvSettingsBlockSize);

    NvBlocksReset();  // the next start
    SetDefaultAll();
    const int32_t acvDefault = Acv(1);
    testing::internal::CaptureStderr();
    BackupLoadPhaseSettings(0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "settings of L2 reset: stored block damaged\n");
    EXPECT_EQ(Acv(0), 11100);
    EXPECT_EQ(Acv(1), acvDefault);
    Acv(0) = 11200;
    EXPECT_EQ(BackupSavePhaseSettings(0), kNvHeld);  // the start's save
    EXPECT_EQ(BackupSavePhaseSettings(0), kNvHeld);  // a restart's
    EXPECT_EQ(Chip(block2, kNvSettingsBlockSize), stored);
    EXPECT_EQ(BackupBlockLoadChecked(1, 0), 0);
    EXPECT_EQ(Acv(0), 11200);

    Acv(1) = 12300;
    EXPECT_EQ(BackupSavePhaseSettings(0), kNvSaved);
    NvBlocksReset();
    Acv(1) = 0;
    EXPECT_EQ(BackupBlockLoadChecked(2, 1), 0);
    EXPECT_EQ(Acv(1), 12300);

    // A block of zeros is damage too; an erased one (as the chip comes) was never written.
    for (const auto& [fill, note] : {std::pair<char, const char*>{'\0', "settings of L2 reset: stored block damaged\n"},
                                     {'\xFF', ""}}) {
        const std::string area(kNvSettingsBlockSize, fill);
        ASSERT_EQ(SpiNvmWriteBuf(block2, area.data(), kNvSettingsBlockSize), int32_t{kNvSettingsBlockSize});
        NvBlocksReset();
        testing::internal::CaptureStderr();
        BackupLoadPhaseSettings(0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), note) << int{fill};
    }
}

}  // namespace
