// The stored barcode code table: the bytes of the file, the loads it refuses and when the scanner saves.
#include "storage/files/barcode_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/layer_hooks.h"
#include "core/control/barcode_table.h"
#include "drivers/barcode_scanner.h"
#include "tests/support/temp_root.h"

namespace {

constexpr const char* kPath = "/mnt/tst/Bar/Barcode.Bar";

std::string Row(int action) {
    std::lock_guard<std::mutex> g(g_BarcodeLock);
    return std::string(g_BarcodeTable.rows[action + 1], strnlen(g_BarcodeTable.rows[action + 1], 16));
}

void PutRow(int action, const char* text) {
    std::lock_guard<std::mutex> g(g_BarcodeLock);
    std::memset(g_BarcodeTable.rows[action + 1], 0, kBarcodeTextLen);
    std::strncpy(g_BarcodeTable.rows[action + 1], text, kBarcodeTextLen);
}

// Stores the big-endian sum of all bytes but the last four into the last four, computed here.
void Reseal(std::string& f) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 4 < f.size(); ++i)
        sum += static_cast<uint8_t>(f[i]);
    for (int b = 0; b < 4; ++b)
        f[f.size() - 4 + b] = static_cast<char>(sum >> (24 - 8 * b));
}

class BarcodeFileTest : public ::testing::Test {
  protected:
    void SetUp() override { WireLayerHooks(); }
    testsupport::TempRoot root_;
};

TEST_F(BarcodeFileTest, MissingFileIsReplacedByTheDefaults) {
    EXPECT_EQ(BarcodeFileLoad(), -100);
    HidInit();
    const std::string f = root_.Read(kPath);
    ASSERT_EQ(f.size(), 1668u);
    EXPECT_EQ(f.substr(48, 4), std::string("\x04\x24\x00\x64", 4));
    EXPECT_EQ(f.substr(16, 4), std::string("Bar\0", 4));
    EXPECT_EQ(f.substr(24, 8), std::string("Barcode\0", 8));
    EXPECT_EQ(f.substr(64, 10), std::string("Recall M0\0", 10));
    EXPECT_EQ(f.substr(64 + 16 * 11, 10), "Output OFF");
    EXPECT_EQ(f.substr(256, 1408), std::string(1408, '\0'));
    std::string sealed = f;
    Reseal(sealed);
    EXPECT_EQ(sealed, f);
    EXPECT_EQ(BarcodeFileLoad(), 1);
}

TEST_F(BarcodeFileTest, RefusedFilesLeaveTheTableAloneTaughtRowsAreStored) {
    HidInit();
    const std::string good = root_.Read(kPath);
    ASSERT_EQ(good.size(), 1668u);
    const struct {
        const char* what;
        std::function<void(std::string&)> spoil;
        int32_t result;
    } cases[] = {
        {"one text byte changed", [](std::string& f) { f[64 + 16 * 3 + 2] ^= 1; }, -200},
        {"one padding byte changed", [](std::string& f) { f[900] = 1; }, -200},
        {"trailer changed", [](std::string& f) { f[1667] ^= 0x80; }, -200},
        {"size field wrong, resealed", [](std::string& f) { f[15] = 0x85, Reseal(f); }, -200},
        {"kind wrong, resealed", [](std::string& f) { f[51] = 0, Reseal(f); }, -200},
        {"one byte short", [](std::string& f) { f.pop_back(); }, -102},
    };
    for (const auto& c : cases) {
        std::string f = good;
        c.spoil(f);
        root_.Write(kPath, f);
        PutRow(3, "kept");
        testing::internal::CaptureStderr();
        EXPECT_EQ(BarcodeFileLoad(), c.result) << c.what;
        // A file that is there but refused is a loss the console tells.
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "barcode codes reset: stored file damaged\n")
            << c.what;
        EXPECT_EQ(Row(3), "kept") << c.what;
    }
    // The model text is not checked: a table from another model loads.
    std::string other = good;
    std::memcpy(&other[0], "OTHER-MODEL1", 12);
    Reseal(other);
    root_.Write(kPath, other);
    EXPECT_EQ(BarcodeFileLoad(), 1);
    EXPECT_EQ(Row(3), "Recall M3");
    HidInit();
    ASSERT_EQ(BarcodeRemoteTeach(5, "0123456789ABCDEF"), 5);
    EXPECT_EQ(root_.Read(kPath).substr(64 + 16 * 5, 16), "0123456789ABCDEF");
    PutRow(5, "lost");
    EXPECT_EQ(BarcodeFileLoad(), 1);
    EXPECT_EQ(Row(5), "0123456789ABCDEF");
    // The next start loads the taught table instead of the defaults.
    HidInit();
    EXPECT_EQ(Row(5), "0123456789ABCDEF");
    g_BarcodeTable.reloadDefaults.store(1);
    EXPECT_EQ(BarcodeLineMatch(1, 0), -1);
    EXPECT_EQ(root_.Read(kPath).substr(64 + 16 * 5, 10), std::string("Recall M5\0", 10));
}

}  // namespace
