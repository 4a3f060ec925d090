#include "storage/nv/preset_backup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/params/presets/preset_recall.h"
#include "core/params/presets/preset_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "platform/devices/spi.h"
#include "src/dev/spi_nvm.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "storage/nv/nv_blocks.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/default_store.h"

namespace {

constexpr size_t kPhaseBytes = kPresetCount * kPresetRecordSize;

class PresetBackupTest : public test::NvTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(NvTest::SetUp());
        core::SysStatusReset();
        PresetClearAll();
        std::memcpy(defaults_, g_PresetStore, sizeof defaults_);
        ASSERT_EQ(PresetRangeCheckRun(1, 9), 0);
        PresetWordPut(PresetRecord(9, 2), 47, 123456);
        std::memcpy(saved_, g_PresetStore, sizeof saved_);
        ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    }
    // Loads all three blocks into a store that holds something else; the popup text it left.
    std::string LoadAll() {
        std::memset(g_PresetStore, 0x77, sizeof g_PresetStore);
        MsgQueue_Clear();
        PresetBackupLoadAll();
        char text[64];
        MsgQueue_CopyText(text, sizeof text);
        return MsgQueue_Count() != 0 ? text : "";
    }
    test::DefaultStore store_;
    uint8_t defaults_[sizeof g_PresetStore];
    uint8_t saved_[sizeof g_PresetStore];
};

TEST_F(PresetBackupTest, BlocksHoldTheTenRecordsOfTheirPhase) {
    for (uint32_t p = 0; p < 3; ++p) {
        uint8_t b[8192];
        ASSERT_EQ(SpiNvmReadBuf(kPresetBackupOffset + 8192 * p, b, 8192), 8192);
        EXPECT_EQ(storage::LoadLe(b, 4), SumBytesFrom4(b, 8192));
        EXPECT_EQ(storage::LoadLe(b + 4, 2), 1060u);
        EXPECT_EQ(std::memcmp(b + 32, g_PresetStore[p], kPhaseBytes), 0) << p;
    }
    EXPECT_EQ(LoadAll(), "");
    EXPECT_EQ(std::memcmp(g_PresetStore, saved_, sizeof saved_), 0);
    EXPECT_EQ(PresetPhaseModeOf(9), 0);
    EXPECT_EQ(PresetPhaseModeOf(10), -1);
}

TEST_F(PresetBackupTest, BadBlockOrClearRequestGivesTheDefaultPresets) {
    // A bad L2 block resets every preset; L3's block loads again after it.
    const uint8_t zero[4] = {};
    ASSERT_EQ(SpiNvmWriteBuf(kPresetBackupOffset + 8192, zero, 4), 4);
    EXPECT_EQ(LoadAll(), "Preset Data Error");
    EXPECT_EQ(std::memcmp(g_PresetStore, defaults_, 2 * kPhaseBytes), 0);
    EXPECT_EQ(std::memcmp(g_PresetStore[2], saved_ + 2 * kPhaseBytes, kPhaseBytes), 0);
    // A pending clear request resets all three phases after they loaded, and is taken.
    std::memcpy(g_PresetStore, saved_, sizeof saved_);
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    SysStatusSet(kSysResetSaveRequest);
    EXPECT_EQ(LoadAll(), "");
    EXPECT_EQ(std::memcmp(g_PresetStore, defaults_, sizeof defaults_), 0);
    EXPECT_FALSE(SysStatusTest(kSysResetSaveRequest));
}

}  // namespace
