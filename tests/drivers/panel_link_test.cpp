#include "drivers/panel_link.h"

#include <gtest/gtest.h>

#include <thread>

#include "drivers/spi_device.h"
#include "platform/devices/panel_sim.h"

namespace {

class PanelLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::PanelSimReset();
        if (g_PanelLink.fd == 0) {
            ASSERT_EQ(SpiPanelOpen(), 0);
        }
        KeyEventBoxInit();
    }
};

TEST_F(PanelLinkTest, OpenIsRefusedTwiceAFailedOpenKeepsTheRecordClosedAndTheMailboxHoldsOne) {
    EXPECT_GT(g_PanelLink.fd, 0);
    EXPECT_EQ(SpiPanelOpen(), -1);
    SpiDev nv{0, 0, 25000000, 0, 8, "/dev/spidev9.9"};
    EXPECT_EQ(SpiDevOpen(&nv), -1);
    EXPECT_EQ(nv.fd, -1);
    EXPECT_EQ(SpiDevOpen(nullptr), -1);
    // The key mailbox holds one event.
    uint32_t ev = 99;
    EXPECT_EQ(KeyEventTake(&ev), -1);
    EXPECT_EQ(ev, 0u);
    EXPECT_EQ(KeyEventPost(KeyEventPack(1, 213, 4)), 0);
    EXPECT_EQ(KeyEventPost(KeyEventPack(0, 'U', 1)), -1);  // lost, not queued
    EXPECT_EQ(KeyEventTake(&ev), 0);
    EXPECT_EQ(ev, KeyEventPack(1, 213, 4));
    EXPECT_EQ(KeyEventTake(&ev), -1);
}

TEST_F(PanelLinkTest, AuxCommandsAndAnUnansweringController) {
    SpiAuxWrite4(0xFFF5);
    EXPECT_EQ(plat::PanelSimLamps(), 0x5);
    SpiAuxWrite1(3);
    EXPECT_EQ(plat::PanelSimAppRunning(), 1);
    SpiAuxWrite1(2);
    EXPECT_EQ(plat::PanelSimAppRunning(), 0);
    plat::PanelSimSetStatus(0x1234);
    EXPECT_EQ(SpiAuxRead16(), 0x1234);
    // An unanswering controller reads as no key.
    plat::PanelSimHold('U');
    plat::PanelSimSetUnresponsive(true);
    EXPECT_EQ(SpiKeyRead(), 0);
    EXPECT_EQ(plat::PanelSimKeyReads(), 0u);
    plat::PanelSimSetUnresponsive(false);
    EXPECT_EQ(SpiKeyRead(), 'U' << 8);
}

TEST_F(PanelLinkTest, ConcurrentCommandsNeverMixFrames) {
    // Lamp writes from one thread while another reads keys: each read sees a whole key word.
    plat::PanelSimHold('X');
    std::thread lamps([] {
        for (int i = 0; i < 2000; ++i)
            SpiAuxWrite4(static_cast<uint32_t>(i));
    });
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(SpiKeyRead(), 'X' << 8);
    lamps.join();
}

}  // namespace
