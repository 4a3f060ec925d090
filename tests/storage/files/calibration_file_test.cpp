// Calibration files on USB memory: the bytes written and the loads that must leave the page alone.
#include "storage/files/calibration_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/control/calibration/cal_page.h"
#include "core/system/links/usb_state.h"
#include "tests/support/temp_root.h"

namespace {

void FillPage(uint16_t* page, uint16_t seed) {
    uint16_t sum = 0;
    for (int w = 0; w < regbus::kCalChecksumWord; ++w)
        sum = static_cast<uint16_t>(sum + (page[w] = static_cast<uint16_t>(seed + w * 257)));
    page[regbus::kCalChecksumWord] = sum;
    page[255] = 0xBEEF;
}

TEST(CalibrationFile, SavedPageLoadsBackAndCorruptFilesLeaveThePageUnchanged) {
    testsupport::TempRoot root;
    g_UsbState.statusB.store(core::kUsbMounted);
    uint16_t* page = regbus::CalPage(2);
    FillPage(page, 0x1234);
    ASSERT_EQ(CalibrationFileSave(2), 1);
    const std::string goodBytes = root.Read("/mnt/sd1/qx/Calibration_W");
    ASSERT_EQ(goodBytes.size(), 512u);  // words little-endian, the unused last one too
    EXPECT_EQ(goodBytes.substr(0, 2) + goodBytes.substr(510), "\x34\x12\xEF\xBE");
    std::string badSum = goodBytes;
    badSum[0] ^= 1;
    const std::string zeros(512, '\0');  // a zero checksum never passes
    const struct {
        const char* what;
        const std::string* content;
        size_t size;
        int32_t expected;
    } cases[] = {
        {"missing", nullptr, 0, -100},        {"empty", &goodBytes, 0, -100},
        {"511 bytes", &goodBytes, 511, -200}, {"513 bytes", &goodBytes, 513, -200},
        {"checksum", &badSum, 512, -200},     {"all zero", &zeros, 512, -200},
        {"a good page", &goodBytes, 512, 1},
    };
    for (const auto& c : cases) {
        FillPage(page, 99);
        uint16_t before[256];
        std::memcpy(before, page, sizeof before);
        std::remove((root.path() + "/mnt/sd1/qx/Calibration_W").c_str());
        if (c.content != nullptr) {
            std::string content = *c.content + std::string(1, 'x');
            root.Write("/mnt/sd1/qx/Calibration_W", content.substr(0, c.size));
        }
        EXPECT_EQ(CalibrationFileLoad(2), c.expected) << c.what;
        if (c.expected == 1) {
            // Every word of the file, little-endian, lands in the page: the one seeded 0x1234 above.
            for (int w = 0; w < 256; ++w) {
                const auto b = [&](int i) { return static_cast<uint8_t>(goodBytes[2 * w + i]); };
                ASSERT_EQ(page[w], static_cast<uint16_t>(b(0) | b(1) << 8)) << "word " << w;
            }
            EXPECT_EQ(page[0], 0x1234);
            EXPECT_EQ(page[255], 0xBEEF);
        } else {
            EXPECT_EQ(std::memcmp(page, before, sizeof before), 0) << c.what;
        }
    }
}

}  // namespace
