#include "storage/preset_backup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/params/preset_recall.h"
#include "core/params/preset_store.h"
#include "core/system/msg_ring.h"
#include "core/system/sys_status.h"
#include "platform/spi.h"
#include "src/dev/spi_nvm.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "storage/nv_blocks.h"
#include "tests/support/default_store.h"

namespace {

class PresetBackupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SpiDevClose(&g_NvSpi);
        plat::NvmSimReset();
        ASSERT_EQ(SpiNvmInit(), 0);
        ASSERT_EQ(plat::NvmSimErase(), 0);
        core::SysStatusReset();
        MsgQueue_Clear();
        PresetClearAll();
        std::memcpy(defaults_, g_PresetStore, sizeof defaults_);
        for (uint32_t n : {2u, 9u})
            ASSERT_EQ(PresetRangeCheckRun(1, n), 0);
        PresetWordPut(PresetRecord(9, 2), 47, 123456);
        std::memcpy(saved_, g_PresetStore, sizeof saved_);
    }
    void TearDown() override { SpiDevClose(&g_NvSpi); }
    static std::vector<uint8_t> Block(uint32_t phase) {
        std::vector<uint8_t> b(8192);
        EXPECT_EQ(SpiNvmReadBuf(kPresetBackupOffset + 8192 * phase, b.data(), 8192), 8192);
        return b;
    }
    static bool StoreIs(const uint8_t (&bytes)[sizeof g_PresetStore]) {
        return std::memcmp(g_PresetStore, bytes, sizeof bytes) == 0;
    }
    test::DefaultStore store_;
    uint8_t defaults_[sizeof g_PresetStore];
    uint8_t saved_[sizeof g_PresetStore];
};

TEST_F(PresetBackupTest, BlocksHoldTheTenRecordsOfTheirPhase) {
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    for (uint32_t p = 0; p < 3; ++p) {
        const std::vector<uint8_t> b = Block(p);
        EXPECT_EQ(storage::LoadLe(b.data(), 4), SumBytesFrom4(b.data(), b.size()));
        EXPECT_EQ(storage::LoadLe(b.data() + 4, 2), 1060u);
        EXPECT_EQ(std::memcmp(b.data() + 32, g_PresetStore[p], 8160), 0) << p;
    }
    PresetClearAll();
    PresetBackupLoadAll();
    EXPECT_TRUE(StoreIs(saved_));
    EXPECT_EQ(MsgQueue_Count(), 0u);
    EXPECT_EQ(PresetPhaseModeOf(9), 0);
    EXPECT_EQ(PresetPhaseModeOf(10), -1);
}

TEST_F(PresetBackupTest, AnyBadBlockGivesTheDefaultPresetsAndAMessage) {
    const uint8_t flip = 0x01, zero[4] = {};
    struct Case {
        const char* what;
        uint32_t offset;
        const uint8_t* bytes;
        uint32_t n;
    } cases[] = {
        {"a record byte of L3", kPresetBackupOffset + 2 * 8192 + 5000, &flip, 1},
        {"the sum of L2", kPresetBackupOffset + 8192, zero, 4},
    };
    for (const Case& c : cases) {
        std::memcpy(g_PresetStore, saved_, sizeof saved_);
        ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
        std::vector<uint8_t> was(c.n);
        SpiNvmReadBuf(c.offset, was.data(), c.n);
        std::vector<uint8_t> now(c.bytes, c.bytes + c.n);
        if (c.n == 1) now[0] ^= was[0];
        SpiNvmWriteBuf(c.offset, now.data(), c.n);
        PresetBackupLoadAll();
        char text[64];
        MsgQueue_CopyText(text, sizeof text);
        EXPECT_STREQ(text, "Preset Data Error") << c.what;
        // The bad block resets every preset; the phases after it load their backup again.
        for (uint32_t p = 0; p < 3; ++p) {
            const bool reset = c.offset >= kPresetBackupOffset + 8192 * p;
            EXPECT_EQ(std::memcmp(g_PresetStore[p], reset ? defaults_ + 8160 * p : saved_ + 8160 * p, 8160),
                      0)
                << c.what << " L" << p + 1;
        }
        MsgQueue_Clear();
    }
}

TEST_F(PresetBackupTest, ClearRequestResetsEveryPhaseAfterLoading) {
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    SysStatusSet(kSysResetSaveRequest);
    PresetBackupLoadAll();
    EXPECT_TRUE(StoreIs(defaults_));
    EXPECT_FALSE(SysStatusTest(kSysResetSaveRequest));
}

}  // namespace
