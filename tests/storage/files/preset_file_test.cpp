#include "storage/files/preset_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "core/params/presets/preset_recall.h"
#include "core/params/presets/preset_store.h"
#include "core/system/links/usb_state.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "tests/support/default_store.h"

namespace {

constexpr const char* kFile = "/mnt/sd1/qx/Preset3.Set";

class PresetFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_UsbState.statusB.store(core::kUsbMounted);
        PresetClearAll();
        ASSERT_EQ(PresetRangeCheckRun(1, 3), 0);            // the present settings of model type 2
        PresetWordPut(PresetRecord(3, 0), 47, 0x0001E240);  // 1234.56 Hz
        PresetRecord(3, 1)[kPresetWaveform] = 200;
    }
    // The saved file, changed by `edit` and resealed when asked.
    std::string Edited(const std::function<void(std::string&)>& edit, bool reseal) {
        std::string f = store_.root.Read(kFile);
        edit(f);
        if (reseal && f.size() == kPresetFileSize)
            storage::DataFileSeal(reinterpret_cast<uint8_t*>(f.data()), f.size());
        return f;
    }
    void TearDown() override { g_UsbState.statusB.store(0); }
    test::DefaultStore store_;
};

TEST_F(PresetFileTest, SavedFileIsTheFramedBigEndianPreset) {
    ASSERT_EQ(PresetSaveToUsb(3), int32_t(kPresetFileSize));
    const std::string f = store_.root.Read(kFile);
    ASSERT_EQ(f.size(), kPresetFileSize);
    const auto* b = reinterpret_cast<const uint8_t*>(f.data());
    EXPECT_EQ(std::string(f.data(), 8), std::string("VRN-4160"));
    EXPECT_EQ(std::string(f.data() + 48, 8), std::string("\x04\x24\x00\x00\x00\x03\x00\x05", 8));
    EXPECT_EQ(storage::LoadBe32(b + 2512), SumBytesButLast4(b, kPresetFileSize));
    EXPECT_EQ(storage::LoadBe32(b + 64 + 4 * 47), 0x0001E240u);
    EXPECT_EQ(b[880 + kPresetWaveform], 200);

    // Loaded into another preset, it gives the same records.
    std::memset(g_PresetFileImg, 0, kPresetFileSize);
    store_.root.Write("/mnt/sd1/qx/Preset4.Set", f);
    ASSERT_EQ(PresetLoadFromUsb(4), 1);
    for (uint32_t p = 0; p < 3; ++p)
        EXPECT_EQ(std::memcmp(PresetRecord(4, p), PresetRecord(3, p), kPresetRecordSize), 0) << p;
}

TEST_F(PresetFileTest, ReceivedPresetsAreCheckedAndRepairedNumbersBounded) {
    ASSERT_GT(PresetSaveToUsb(3), 0);
    auto at = [](std::string& f, size_t i, char v) { f[i] = v; };
    struct Case {
        const char* what;
        std::function<void(std::string&)> edit;
        bool reseal;
        int32_t result;
    } cases[] = {
        {"2515 bytes", [](std::string& f) { f.pop_back(); }, false, -200},
        {"trailer", [&](std::string& f) { at(f, 100, 1); }, false, -200},
        {"unknown model filling its field",
         [](std::string& f) { std::memcpy(f.data(), "ABCDEFGHIJKLMNOP", 16); }, true, -201},
        {"size field", [&](std::string& f) { at(f, 15, 0x15); }, true, -200},
        {"kind", [&](std::string& f) { at(f, 51, 1); }, true, -200},
        {"version 4", [&](std::string& f) { at(f, 55, 4); }, true, -200},
        {"version 2", [&](std::string& f) { at(f, 55, 2); }, true, 1},
        {"L2 output mode 12, L1 frequency beyond every model",
         [&](std::string& f) { at(f, 880, 12), at(f, 64 + 4 * 47, 0x7F); }, true, 1},
    };
    for (const Case& c : cases) {
        PresetClear(0);
        store_.root.Write("/mnt/sd1/qx/Preset0.Set", Edited(c.edit, c.reseal));
        EXPECT_EQ(PresetLoadFromUsb(0), c.result) << c.what;
    }
    // The last was repaired field by field: the defaults took the fields' place.
    EXPECT_EQ(PresetRecord(0, 1)[kPresetOutputMode], 0);
    EXPECT_EQ(PresetRecord(0, 1)[kPresetWaveform], 200);
    EXPECT_EQ(PresetWordGet(PresetRecord(0, 0), 47), 5000);
    EXPECT_STREQ(g_RejectedModelText, "ABCDEFGHIJKL");  // no terminator in the field: 12 characters
    store_.root.Write("/mnt/sd1/qx/Preset0.Set", "");
    EXPECT_EQ(PresetLoadFromUsb(0), -100);
    uint8_t data[kPresetFileSize] = {};
    for (int32_t n : {10, -1}) {
        EXPECT_EQ(PresetSaveToUsb(n) + PresetLoadFromUsb(n) + PresetImageApply(n, kPresetFileSize) +
                      PresetRemoteWrite(n, kPresetFileSize, data),
                  -4);
    }
    EXPECT_EQ(PresetRemoteWrite(0, 0, data), -1);
    EXPECT_EQ(PresetRemoteWrite(0, kPresetFileSize - 1, data), -200);
}

}  // namespace
