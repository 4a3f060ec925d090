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
#include "storage/nv/settings_backup.h"
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
        EXPECT_EQ(std::count(b + 6, b + 32, 0), 26) << p;
        EXPECT_EQ(std::memcmp(b + 32, g_PresetStore[p], kPhaseBytes), 0) << p;
    }
    EXPECT_EQ(LoadAll(), "");
    EXPECT_EQ(std::memcmp(g_PresetStore, saved_, sizeof saved_), 0);
    EXPECT_EQ(PresetPhaseModeOf(0), 0);
    EXPECT_EQ(PresetPhaseModeOf(9), 0);
    EXPECT_EQ(PresetPhaseModeOf(10), -1);
}

// What each damage of the L2 backup leaves at the next start: the saved presets while the block or its
// copy is sound (a damaged block mended from the copy, said on the console and in its popup), else the L2
// records of every preset reset with the popup, said on the console unless the memory there was never
// written. L1 and L3 keep theirs.
TEST_F(PresetBackupTest, DamagedBlockComesFromItsCopyElseResetsThatPhaseAndSaysSo) {
    constexpr uint32_t kL2 = kPresetBackupOffset + 8192, kL2Copy = 77824 + 8192;
    const std::string sound = Chip(kL2, 8192);
    ASSERT_TRUE(Chip(kL2Copy, 8192) == sound) << "no copy";
    const std::string zeros(8192, '\0'), ones(8192, '\xFF');
    static constexpr char kMended[] = "preset block of L2 damaged: restored from its copy\n";
    struct Case {
        const char* name;
        const std::string* block;  // nullptr: left sound; else the bytes written over it
        const std::string* copy;
        bool flipBlock, flipCopy;
        bool reset;
        const char* note;
    } const kCases[] = {
        {"flipped block", nullptr, nullptr, true, false, false, kMended},
        {"zeroed block", &zeros, nullptr, false, false, false, kMended},
        {"flipped copy", nullptr, nullptr, false, true, false, ""},
        {"both flipped", nullptr, nullptr, true, true, true, "presets of L2 reset: stored block damaged\n"},
        {"both zeroed", &zeros, &zeros, false, false, true, "presets of L2 reset: stored block damaged\n"},
        {"block erased, copy flipped", &ones, nullptr, false, true, true,
         "presets of L2 reset: stored block damaged\n"},
        {"both erased (never written)", &ones, &ones, false, false, true, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(SpiNvmWriteBuf(kL2, sound.data(), 8192), 8192);
        ASSERT_EQ(SpiNvmWriteBuf(kL2Copy, sound.data(), 8192), 8192);
        if (c.block) {
            ASSERT_EQ(SpiNvmWriteBuf(kL2, c.block->data(), 8192), 8192);
        }
        if (c.copy) {
            ASSERT_EQ(SpiNvmWriteBuf(kL2Copy, c.copy->data(), 8192), 8192);
        }
        if (c.flipBlock) FlipByte(kL2 + 4000);
        if (c.flipCopy) FlipByte(kL2Copy + 4000);
        testing::internal::CaptureStderr();
        const bool mended = c.note == kMended;
        EXPECT_EQ(LoadAll(), c.reset  ? "Preset Data Error"
                             : mended ? "Preset Data Error\n(Restored from Backup)"
                                      : "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.note);
        EXPECT_EQ(std::memcmp(g_PresetStore[0], saved_, kPhaseBytes), 0);
        EXPECT_EQ(std::memcmp(g_PresetStore[1], (c.reset ? defaults_ : saved_) + kPhaseBytes, kPhaseBytes), 0);
        EXPECT_EQ(std::memcmp(g_PresetStore[2], saved_ + 2 * kPhaseBytes, kPhaseBytes), 0);
        if (!c.reset && !c.flipCopy) {
            EXPECT_TRUE(Chip(kL2, 8192) == sound) << "the block was not mended";
        }
    }
    // A block the memory refuses to read comes from its copy, and nothing is written to that memory; when
    // no read goes through the phase is reset, said as such.
    ASSERT_EQ(SpiNvmWriteBuf(kL2, sound.data(), 8192), 8192);
    ASSERT_EQ(SpiNvmWriteBuf(kL2Copy, sound.data(), 8192), 8192);
    std::memset(g_PresetStore, 0x77, sizeof g_PresetStore);
    plat::NvmSimClearLog();
    plat::NvmSimFailMessage(0);
    EXPECT_EQ(PresetBackupLoad(1), 0);
    EXPECT_EQ(std::memcmp(g_PresetStore[1], saved_ + kPhaseBytes, kPhaseBytes), 0);
    for (const auto& cmd : plat::NvmSimLog())
        EXPECT_NE(cmd.command, 0x02) << cmd.address;
    plat::NvmSimCutAfterWrites(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(PresetBackupLoad(1), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "presets of L2 reset: memory unreadable\n");
    plat::NvmSimCutAfterWrites(-1);
    EXPECT_EQ(PresetBackupLoad(3), kNvBadKind);
    EXPECT_EQ(PresetBackupSave(-1), kNvBadKind);
    // A pending clear request resets all three phases after they loaded, and is taken.
    std::memcpy(g_PresetStore, saved_, sizeof saved_);
    ASSERT_EQ(PresetBackupSaveAll(), kNvSaved);
    SysStatusSet(kSysResetSaveRequest);
    EXPECT_EQ(LoadAll(), "");
    EXPECT_EQ(std::memcmp(g_PresetStore, defaults_, sizeof defaults_), 0);
    EXPECT_FALSE(SysStatusTest(kSysResetSaveRequest));
}

// The power fails after each write of a stop's save that changes every phase. What the next start loads: each
// phase holds its old or its new records whole, never old and new records mixed, never its defaults. The change leaves the
// byte sum of each quarter of a block as it was (+1 and -1 next to each other, in the first and in the
// third quarter), so that a block torn between its quarters must fail by something else than its sum.
TEST_F(PresetBackupTest, ACutSaveLeavesEachPhaseOldOrNewAnUnchangedOneWritesNothing) {
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
    // The whole save of a stop, as it runs: its writes counted in the memory's command log.
    const auto writesOfTheSave = [] {
        size_t n = 0;
        for (const auto& cmd : plat::NvmSimLog())
            n += cmd.command == 0x02 && !cmd.failed;
        return n;
    };
    std::memcpy(g_PresetStore, oldStore, sizeof oldStore);
    SettingsBackupSaveAll();
    std::memcpy(g_PresetStore, newStore, sizeof newStore);
    plat::NvmSimClearLog();
    SettingsBackupSaveAll();
    const size_t writes = writesOfTheSave();
    ASSERT_GT(writes, 12u);
    for (size_t cut = 0; cut <= writes; ++cut) {
        SCOPED_TRACE(testing::Message() << "cut after " << cut << " of " << writes << " writes");
        std::memcpy(g_PresetStore, oldStore, sizeof oldStore);
        SettingsBackupSaveAll();
        std::memcpy(g_PresetStore, newStore, sizeof newStore);
        plat::NvmSimClearLog();
        plat::NvmSimCutAfterWrites(static_cast<int>(cut));
        SettingsBackupSaveAll();
        plat::NvmSimCutAfterWrites(-1);  // the power is back: the next start
        ASSERT_EQ(writesOfTheSave(), cut);

        // A block the cut left torn comes from its copy, which is said. Cuts between the pages of a block
        // that change nothing there leave the same bytes, which a start says once: each cut is a unit of
        // its own here, with nothing said before.
        store_.root.Write("/mnt/tst/Special/DamageTold", "");
        bool torn = false;
        for (uint32_t p = 0; p < 3; ++p) {
            const std::string block = Chip(kPresetBackupOffset + 8192 * p, 8192);
            torn |= !NvBlockSumOk(reinterpret_cast<const uint8_t*>(block.data()), 8192);
        }
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
        // New phases, then old ones: the cut touched only the phase it was writing, which kept one.
        static const std::string kAllowed[] = {"OOO", "NOO", "NNO", "NNN"};
        EXPECT_NE(std::find(std::begin(kAllowed), std::end(kAllowed), outcome), std::end(kAllowed))
            << outcome;
        EXPECT_EQ(popup, torn ? "Preset Data Error\n(Restored from Backup)" : "") << outcome;
        if (cut == writes) {
            EXPECT_EQ(outcome, "NNN");
        }
    }
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
        if (cmd.command == 0x02)
            blocks.insert(kPresetBackupOffset + (cmd.address - kPresetBackupOffset) / 8192 * 8192);
    EXPECT_EQ(blocks, (std::set<uint32_t>{61440, 77824 + 8192}));  // L2's block and its copy
    // A save the memory refuses is reported, not taken for done.
    PresetWordPut(PresetRecord(3, 1), 60, 78);
    plat::NvmSimCutAfterWrites(0);
    EXPECT_EQ(PresetBackupSaveAll(), kNvWriteFailed);
    plat::NvmSimCutAfterWrites(-1);
}

}  // namespace
