#include "drivers/barcode_scanner.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "core/control/barcode_table.h"
#include "platform/devices/hid.h"
#include "tests/support/temp_root.h"

namespace {

class BarcodeScannerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::HidSimPlug(true);
        HidInit();
        g_BarcodeTable.tableChanged.store(0);
        g_BarcodeTable.reloadDefaults.store(0);
        Poll();  // opens the device
        ASSERT_EQ(HidIsOpen(), 1);
    }
    void TearDown() override { plat::HidSimPlug(false); }
    // Polls until the queue is drained (and once more); the usage codes reported.
    static std::vector<int> Poll() {
        std::vector<int> keys;
        do {
            if (int32_t k = HidPoll()) keys.push_back(k);
        } while (plat::HidSimPending() > 0);
        return keys;
    }
    static void Report(std::vector<uint8_t> r) {
        plat::HidSimQueueReport(r.data(), static_cast<int>(r.size()));
    }
    static int32_t Scan(const std::string& text) {
        EXPECT_EQ(plat::HidSimTypeText(text, nullptr), 0) << text;
        EXPECT_TRUE(Poll().empty()) << text;  // a scanned line types characters, not keys
        return BarcodeLineMatch(1, 0);
    }
    testsupport::TempRoot root_;
};

TEST_F(BarcodeScannerTest, ScannedLinesMatchTheirAction) {
    const std::pair<const char*, int32_t> cases[] = {
        {"Recall M3", 3},
        {"Recall M0", 0},
        {"Output ON", 10},
        {"Output OFF", 11},
        {"recall m3", -1},
        {"Recall M", -1},
        {"Recall M33", -1},
        {"No such code", -1},
        {"Output OFF and then some", -1},  // cut to 15 characters: "Output OFF and "
    };
    for (const auto& [text, action] : cases)
        EXPECT_EQ(Scan(text), action) << text;
    EXPECT_EQ(BarcodeLineMatch(1, 0), -1);  // a line is consumed by its match
}

// A key stays reported once while its code keeps appearing; released and pressed again it is new.
TEST_F(BarcodeScannerTest, HeldKeyIsReportedOnce) {
    for (int i = 0; i < 3; ++i)
        Report({0, 0, 89, 0, 0, 0, 0, 0});
    Report({0, 0, 89, 90, 0, 0, 0, 0});  // a second key joins the held one
    Report({0, 0, 0, 0, 0, 0, 0, 0});
    Report({0, 0, 89, 0, 0, 0, 0, 0});
    EXPECT_EQ(Poll(), (std::vector<int>{89, 90, 89}));
}

// What a read tells decides whether the device and the line typed so far survive.
TEST_F(BarcodeScannerTest, OnlyAGoneDeviceClosesIt) {
    const std::pair<int, bool> cases[] = {
        {-EAGAIN, true}, {-EINTR, true}, {-EIO, true}, {-ENODEV, false}, {0, false}};
    for (const auto& [result, keptOpen] : cases) {
        HidInit();
        Poll();
        Report({2, 0, 21, 0, 0, 0, 0, 0});  // 'R'
        plat::HidSimQueueResult(result);
        Poll();
        EXPECT_EQ(HidIsOpen(), keptOpen ? 1 : 0) << result;
        HidPoll();  // a closed device opens again, with a fresh line
        EXPECT_EQ(std::string(g_BarcodeTable.rows[0]), keptOpen ? "R" : "") << result;
    }
    plat::HidSimPlug(false);
    HidPoll();
    EXPECT_EQ(HidIsOpen(), 0);
    plat::HidSimPlug(true);
    plat::HidSimFailInfo(true);
    HidPoll();
    EXPECT_EQ(HidIsOpen(), 0);  // a device that does not say what it is stays closed
}

// Malformed reports type nothing and press nothing; the device stays open.
TEST_F(BarcodeScannerTest, MalformedReportsAreIgnored) {
    const std::vector<std::vector<uint8_t>> cases = {
        {0, 0, 21},                                     // short report
        {0},                                            // one byte
        {0, 0, 1, 1, 1, 1, 1, 1},                       // roll-over error
        {0, 0, 2, 3, 0, 0, 0, 0},                       // error codes
        {4, 0, 21, 0, 0, 0, 0, 0},                      // right CTRL: no character, no key of the keypad
        {0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // no first key, garbage behind it
    };
    for (const auto& r : cases) {
        Report(r);
        Report({0, 0, 0, 0, 0, 0, 0, 0});
        std::vector<int> keys = Poll();
        for (int k : keys)
            EXPECT_EQ(k, 21) << "only the CTRL report's own key may be seen";
        EXPECT_EQ(g_BarcodeTable.lineLength, 0);
        EXPECT_EQ(HidIsOpen(), 1);
    }
}

TEST_F(BarcodeScannerTest, TeachingBindsALineAndTheDefaultsCanReturn) {
    EXPECT_EQ(BarcodeLineMatch(0, 5), -1);  // nothing scanned: nothing taught
    ASSERT_EQ(plat::HidSimTypeText("Recall M0", nullptr), 0);
    Poll();
    EXPECT_EQ(BarcodeLineMatch(0, 99), 11);  // the slot is clamped
    EXPECT_EQ(g_BarcodeTable.tableChanged.exchange(0), 1);
    EXPECT_EQ(Scan("Recall M0"), 0);  // the lowest action wins

    const std::pair<const char*, int32_t> remote[] = {
        {"", -1}, {"0123456789abcdefg", -1}, {"0123456789abcdef", 4}};
    for (const auto& [text, result] : remote)
        EXPECT_EQ(BarcodeRemoteTeach(4, text), result) << text;
    EXPECT_EQ(g_BarcodeTable.tableChanged.load(), 2);
    EXPECT_EQ(std::string(g_BarcodeTable.rows[5], 16), "0123456789abcdef");

    g_BarcodeTable.reloadDefaults.store(1);
    EXPECT_EQ(Scan("Recall M4"), 4);
    EXPECT_EQ(Scan("Output OFF"), 11);
}

// The remote teach writes the line buffer the key thread is typing into.
TEST_F(BarcodeScannerTest, RemoteTeachAndScanningShareTheLine) {
    std::thread teacher([] {
        for (int i = 0; i < 200; ++i)
            BarcodeRemoteTeach(i % 12, "Taught");
    });
    for (int i = 0; i < 200; ++i) {
        plat::HidSimTypeText("Recall M7", nullptr);
        Poll();
        BarcodeLineMatch(1, 0);
    }
    teacher.join();
    EXPECT_EQ(g_BarcodeTable.lineComplete, 0);
}

}  // namespace
