// The barcode commands at start: the LAN channel may serve before the key thread has loaded the code
// table, and neither a read nor a teach may go ahead of that load.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "core/control/barcode_table.h"
#include "drivers/barcode_scanner.h"
#include "platform/host/clock.h"
#include "tests/scpi/channel_test_fixture.h"

namespace {

class BarcodeStart : public scpitest::ChannelTest {
  protected:
    // The table as the process starts: no texts, not loaded; the key thread's start comes 100 ms later.
    void SetUp() override {
        {
            std::lock_guard<std::mutex> g(g_BarcodeLock);
            std::memset(g_BarcodeTable.rows, 0, sizeof g_BarcodeTable.rows);
        }
        g_BarcodeTable.loaded.store(0);
        keyThread = std::thread([] {
            plat::SleepMs(100);
            HidInit();
        });
    }
    void TearDown() override {
        if (keyThread.joinable()) keyThread.join();
        g_BarcodeTable.loaded.store(1);
    }
    std::thread keyThread;
};

TEST_F(BarcodeStart, AnEarlyReadWaitsForTheLoad) {
    EXPECT_EQ(ch.Run("SYST:BARC:MEM? RM0"), "Recall M0|");
}

TEST_F(BarcodeStart, AnEarlyTeachIsNotOverwrittenByTheLoad) {
    EXPECT_EQ(ch.Run("SYST:BARC:MEM RM3,\"ABC\""), "|");
    keyThread.join();
    EXPECT_EQ(ch.Run("SYST:BARC:MEM? RM3"), "ABC|");
}

}  // namespace
