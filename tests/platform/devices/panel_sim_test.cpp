#include "platform/devices/panel_sim.h"

#include <gtest/gtest.h>

#include "tests/support/temp_root.h"

namespace {

void SendLine(uint8_t value) {
    uint8_t frame[4] = {value, 0, 0, 0xF2};
    ASSERT_TRUE(plat::PanelSimTransfer(frame, 4));
}

// The application-running line is what a reboot clears last: a black-box test reads it from the run folder.
TEST(PanelSimAux, EachLineFrameReplacesTheAuxFile) {
    testsupport::TempRoot root;
    plat::PanelSimReset();
    SendLine(1);
    EXPECT_EQ(root.Read("/var/run/panel-aux"), "0x1\n");
    SendLine(0xFE);  // only bit 0 is the line
    EXPECT_EQ(root.Read("/var/run/panel-aux"), "0x0\n");
    EXPECT_EQ(plat::PanelSimAppRunning(), 0);
}

}  // namespace
