#include "storage/nv/preset_backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>
#include <string>

#include "core/params/presets/preset_recall.h"
#include "core/params/presets/preset_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
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
    // A bad L2 block resets the L2 records of every preset; L1 and L3 keep theirs.
    const uint8_t zero[4] = {};
    ASSERT_EQ(SpiNvmWriteBuf(kPresetBackupOffset + 8192, zero, 4), 4);
    EXPECT_EQ(LoadAll(), "Preset Data Error");
    EXPECT_EQ(MsgQueue_Count(), 1u);
    EXPECT_EQ(std::memcmp(g_PresetStore[0], saved_, kPhaseBytes), 0);
    EXPECT_EQ(std::memcmp(g_PresetStore[1], defaults_ + kPhaseBytes, kPhaseBytes), 0);
    EXPECT_EQ(std::memcmp(g_PresetStore[2], saved_ + 2 * kPhaseBytes, kPhaseBytes), 0);
    // A pending clear request resets all three phases after they loaded, and is taken.
    std::memcpy(g_PresetStore, saved_, sizeof saved_);
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    SysStatusSet(kSysResetSaveRequest);
    EXPECT_EQ(LoadAll(), "");
    EXPECT_EQ(std::memcmp(g_PresetStore, defaults_, sizeof defaults_), 0);
    EXPECT_FALSE(SysStatusTest(kSysResetSaveRequest));
}

// The power fails after each write of a save that changes every phase. What the next start loads: each
// phase holds its old or its new records whole, or (the one block being written) its defaults with the
// popup; never old and new records mixed, never a phase the cut did not touch. The change leaves the
// byte sum of each quarter of a block as it was (+1 and -1 next to each other, in the first and in the
// third quarter), so that a block torn between its quarters must fail by something else than its sum.
TEST_F(PresetBackupTest, ACutSaveLosesOnlyTheBlockItWasWritingAnUnchangedOneWritesNothing) {
    constexpr size_t kEarly = 100 - 32, kLate = 5000 - 32;  // block bytes 100 and 5000, as record bytes
    uint8_t oldStore[sizeof g_PresetStore], newStore[sizeof g_PresetStore];
    std::memcpy(oldStore, saved_, sizeof oldStore);
    for (uint32_t p = 0; p < 3; ++p) {
        uint8_t* phase = oldStore + p * kPhaseBytes;
        phase[kEarly] = phase[kEarly + 1] = phase[kLate] = phase[kLate + 1] = 5;
    }
    std::memcpy(newStore, oldStore, sizeof newStore);
    for (uint32_t p = 0; p < 3; ++p) {
        uint8_t* phase = newStore + p * kPhaseBytes;
        phase[kEarly] = 6, phase[kEarly + 1] = 4, phase[kLate] = 6, phase[kLate + 1] = 4;
    }
    int cut = 0;
    for (bool done = false; !done && cut < 100; ++cut) {
        SCOPED_TRACE(testing::Message() << "cut after " << cut << " writes");
        std::memcpy(g_PresetStore, oldStore, sizeof oldStore);
        ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
        std::memcpy(g_PresetStore, newStore, sizeof newStore);
        plat::NvmSimCutAfterWrites(cut);
        done = PresetBackupSaveAll() == kNvSaved;
        plat::NvmSimCutAfterWrites(-1);  // the power is back: the next start

        const std::string popup = LoadAll();
        std::string outcome;
        for (uint32_t p = 0; p < 3; ++p) {
            const uint8_t* phase = g_PresetStore[p][0];
            const size_t at = p * kPhaseBytes;
            outcome += std::memcmp(phase, newStore + at, kPhaseBytes) == 0        ? 'N'
                       : std::memcmp(phase, oldStore + at, kPhaseBytes) == 0      ? 'O'
                       : std::memcmp(phase, defaults_ + at, kPhaseBytes) == 0     ? 'D'
                                                                                  : 'X';
        }
        // New phases, at most one lost, then old ones: the cut touched only the block it was writing.
        static const std::string kAllowed[] = {"OOO", "DOO", "NOO", "NDO", "NNO", "NND", "NNN"};
        EXPECT_NE(std::find(std::begin(kAllowed), std::end(kAllowed), outcome), std::end(kAllowed))
            << outcome;
        const bool lost = outcome.find('D') != std::string::npos;
        EXPECT_EQ(popup, lost ? "Preset Data Error" : "") << outcome;
        if (done) {
            EXPECT_EQ(outcome, "NNN");
        }
    }
    EXPECT_LT(cut, 100) << "the save never completed";
    // A save that changes nothing writes nothing: a cut during it has nothing to tear.
    plat::NvmSimClearLog();
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    for (const auto& cmd : plat::NvmSimLog())
        EXPECT_NE(cmd.command, 0x02) << cmd.address;
    PresetWordPut(PresetRecord(3, 1), 60, 77);
    plat::NvmSimClearLog();
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    std::set<uint32_t> blocks;
    for (const auto& cmd : plat::NvmSimLog())
        if (cmd.command == 0x02) blocks.insert((cmd.address - kPresetBackupOffset) / 8192);
    EXPECT_EQ(blocks, std::set<uint32_t>{1});
}

}  // namespace
