#include "src/dev/board_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/clock.h"
#include "tests/support/temp_root.h"

namespace {

TEST(BoardLines, ResetPulseDrivesTheLineLowThenHighWithItsWaits) {
    testsupport::TempRoot root;
    plat::SetTimeScale(100);
    uint64_t t0 = plat::NowMs();
    EXPECT_EQ(PeripheralResetPulse(), 0);
    uint64_t elapsed = plat::NowMs() - t0;
    plat::SetTimeScale(1);
    EXPECT_GE(elapsed, 1000u);  // 500 ms after each edge, in instrument time
    const std::string log = root.Read("/var/log/commands.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    const size_t low = log.find("echo 0 > /sys/class/leds/gpib_rst/brightness");
    EXPECT_NE(low, std::string::npos) << log;
    EXPECT_NE(log.find("echo 1 > /sys/class/leds/gpib_rst/brightness", low), std::string::npos) << log;
    EXPECT_EQ(root.Read("/sys/class/leds/gpib_rst/brightness"), "1\n");
}

TEST(BoardLines, ConsoleIsQuietedBeforeTheSelfTest) {
    testsupport::TempRoot root;
    DisplayLineSet(0);
    ConsoleCursorOff();
    EXPECT_EQ(root.Read("/sys/class/leds/display/brightness"), "0\n");
    EXPECT_EQ(root.Read("/sys/class/graphics/fbcon/cursor_blink"), "0\n");
    DisplayLineSet(5);
    EXPECT_EQ(root.Read("/sys/class/leds/display/brightness"), "1\n");
}

}  // namespace
