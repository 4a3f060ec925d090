// What the loads of a start find damaged in the memory of a unit in use is said on the console, and in the
// popup its kind has, once: a later start that finds the same damage says nothing, one that finds the item
// sound forgets it, so that its next damage is said again. A memory never written says nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "core/params/presets/preset_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "storage/data_reset_note.h"
#include "storage/files/barcode_file.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/preset_backup.h"
#include "storage/nv/settings_backup.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/default_store.h"

namespace {

constexpr uint32_t kConfigText = 768, kConfigTextSize = 3072;
constexpr uint32_t kBlockSize = 8192;
constexpr uint32_t kSettingsL1 = 4096, kSettingsL2 = 12288;
constexpr uint32_t kPresetsL1 = 53248, kPresetsL2 = 61440, kPresetsL3 = 69632;
constexpr uint32_t kCopies = 77824;
constexpr char kTold[] = "/mnt/tst/Special/DamageTold";
constexpr char kPresetError[] = "Preset Data Error";
constexpr char kPresetMended[] = "Preset Data Error\n(Restored from Backup)";

class StartDamageTest : public test::NvTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(NvTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(InUse());
    }
    // A unit in use: its identity, the 3P4W settings blocks, the presets' blocks and copies and the
    // configuration text written, nothing said before.
    void InUse() {
        ASSERT_EQ(plat::NvmSimErase(), 0);
        g_ModelId = 5, g_BrandId = 1;
        IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "SN-77", 5);
        PresetClearAll();
        SettingsBackupSaveAll();
        ASSERT_GT(BarcodeFileSave(), 0);
        store_.root.Write(kTold, "");
    }
    // The loads of a start, in the start's order: the lines they printed and the popup left showing.
    static std::pair<std::string, std::string> Start() {
        NvBlocksReset();
        MsgQueue_Clear();
        testing::internal::CaptureStderr();
        IdentityBlockLoad();
        BackupLoadPhaseSettings(1);
        LoadSystemConfig();
        PresetBackupLoadAll();
        BarcodeFileLoad();  // the key thread's, once the menu/control thread runs
        const std::string lines = testing::internal::GetCapturedStderr();
        char popup[64] = "";
        if (MsgQueue_Count() != 0) MsgQueue_CopyText(popup, sizeof popup);
        return {lines, popup};
    }
    static void Fill(uint32_t at, uint32_t length, char byte) {
        const std::string bytes(length, byte);
        ASSERT_EQ(SpiNvmWriteBuf(at, bytes.data(), length), static_cast<int32_t>(length));
    }
    test::DefaultStore store_;
};

// An area found erased (all 0xFF, as the chip comes) on a unit that had it written lost what it held.
TEST_F(StartDamageTest, ErasedAreasOfAUnitInUseAreSaidOnce) {
    const std::string erasedAll =
        "identity block empty: restored from /mnt/tst/Special/SpecialData\n"
        "settings of L1 reset: stored block erased\n"
        "settings of L2 reset: stored block erased\n"
        "settings of L3 reset: stored block erased\n"
        "network and interface configuration reset: stored text erased\n"
        "presets of L1 reset: stored block erased\n"
        "presets of L2 reset: stored block erased\n"
        "presets of L3 reset: stored block erased\n";
    const struct {
        const char* name;
        void (*erase)();
        std::string lines;
        const char* popup;
    } cases[] = {
        {"configuration text", [] { Fill(kConfigText, kConfigTextSize, '\xFF'); },
         "network and interface configuration reset: stored text erased\n", ""},
        {"settings block", [] { Fill(kSettingsL1, kBlockSize, '\xFF'); },
         "settings of L1 reset: stored block erased\n", ""},
        {"preset block and its copy",
         [] {
             Fill(kPresetsL2, kBlockSize, '\xFF');
             Fill(kCopies + kBlockSize, kBlockSize, '\xFF');
         },
         "presets of L2 reset: stored block erased\n", kPresetError},
        // The copy of block 0 on the internal store mends block 0 alone.
        {"whole memory", [] { ASSERT_EQ(plat::NvmSimErase(), 0); }, erasedAll, kPresetError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(InUse());
        c.erase();
        EXPECT_EQ(Start(), std::make_pair(c.lines, std::string(c.popup)));
        EXPECT_EQ(Start(), std::make_pair(std::string(), std::string())) << "said again";
        // The stop's save writes what the start holds; the next start finds it sound and forgets it.
        SettingsBackupSaveAll();
        EXPECT_EQ(Start(), std::make_pair(std::string(), std::string()));
        EXPECT_EQ(store_.root.Read(kTold), "");
        c.erase();
        EXPECT_EQ(Start().first, c.lines) << "a new damage is said";
    }
    // A memory never written (a unit without a model type) loses nothing: only the presets' popup of every
    // such start.
    ASSERT_EQ(plat::NvmSimErase(), 0);
    store_.root.Write("/mnt/tst/Special/SpecialData", "");
    EXPECT_EQ(Start(), std::make_pair(std::string(), std::string(kPresetError)));
}

// A preset block that fails (a save cut between clearing its sum and writing it again, a flipped byte)
// beside a sound copy is mended from the copy and said, as block 0's mend is.
TEST_F(StartDamageTest, PresetBlocksMendedFromTheirCopiesAreSaidOnce) {
    Fill(kPresetsL1, 4, '\0');
    FlipByte(kPresetsL3 + 5000);
    EXPECT_EQ(Start(), std::make_pair(std::string("preset block of L1 damaged: restored from its copy\n"
                                                  "preset block of L3 damaged: restored from its copy\n"),
                                      std::string(kPresetMended)));
    EXPECT_EQ(Start(), std::make_pair(std::string(), std::string()));
    EXPECT_EQ(Chip(kPresetsL1, kBlockSize), Chip(kCopies, kBlockSize));
    EXPECT_EQ(Chip(kPresetsL3, kBlockSize), Chip(kCopies + 2 * kBlockSize, kBlockSize));
}

// A damaged block that is held (its stored bytes kept until a user changes what it holds) is said at the
// start that finds it, not at every start while it stays; once it was found sound, its next damage is said.
TEST_F(StartDamageTest, HeldDamageIsSaidOnceWhileItStays) {
    FlipByte(kSettingsL2 + 300);
    FlipByte(kConfigText + 20);
    const std::string lines =
        "settings of L2 reset: stored block damaged\n"
        "network and interface configuration reset: stored text damaged\n";
    EXPECT_EQ(Start().first, lines);
    SettingsBackupSaveAll();  // held: the stored bytes stay
    EXPECT_EQ(Start().first, "");
    EXPECT_EQ(Start().first, "");
    // Mended by hand (the flipped bits back): found sound and forgotten.
    FlipByte(kSettingsL2 + 300);
    FlipByte(kConfigText + 20);
    EXPECT_EQ(Start().first, "");
    FlipByte(kSettingsL2 + 300);
    FlipByte(kConfigText + 20);
    EXPECT_EQ(Start().first, lines);
}

// Every start writes the barcode file when it finds none, and the program never writes an empty file: on a
// unit in use a barcode file missing or empty lost the taught codes, and is said once, as a damaged one is.
// A new unit's first start finds none and loses nothing.
TEST_F(StartDamageTest, LostBarcodeFileOfAUnitInUseIsSaidOnce) {
    const std::string path = "/mnt/tst/Bar/Barcode.Bar";
    const struct {
        const char* name;
        std::function<void()> spoil;
        const char* line;
    } cases[] = {
        {"deleted", [&] { std::filesystem::remove(store_.root.path() + path); },
         "barcode codes reset: stored file missing\n"},
        {"emptied", [&] { store_.root.Write(path, ""); }, "barcode codes reset: stored file empty\n"},
        {"byte flipped",
         [&] {
             std::string f = store_.root.Read(path);
             f[70] ^= 1;
             store_.root.Write(path, f);
         },
         "barcode codes reset: stored file damaged\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Twice: a file found sound again is forgotten, so that its next loss is said again.
        for (int round = 0; round < 2; ++round) {
            ASSERT_GT(BarcodeFileSave(), 0);
            EXPECT_EQ(Start().first, "");
            c.spoil();
            EXPECT_EQ(Start().first, c.line);
            EXPECT_EQ(Start().first, "") << "said again";
        }
    }
    ASSERT_EQ(plat::NvmSimErase(), 0);
    std::filesystem::remove(store_.root.path() + "/mnt/tst/Special/SpecialData");
    std::filesystem::remove(store_.root.path() + path);
    store_.root.Write(kTold, "");
    EXPECT_EQ(Start().first, "");
}

// The record keeps one line per item, "<print> <key>", the print being the FNV-1a 64-bit hash of the
// item's bytes (a record written by an earlier start must still name the same damage).
TEST_F(StartDamageTest, TheRecordKeepsTheHashOfEachDamage) {
    const std::string found = "a";
    testing::internal::CaptureStderr();
    EXPECT_TRUE(StoredDataTell("k", StoredDataPrint(reinterpret_cast<const uint8_t*>(found.data()), 1), "said"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "said\n");
    EXPECT_EQ(store_.root.Read(kTold), "af63dc4c8601ec8c k\n");
}

}  // namespace
