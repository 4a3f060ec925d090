#include "src/dev/board_lines.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "tests/support/temp_root.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TEST(BoardLines, ResetPulseDrivesTheLineLowThenHighWithItsWaits) {
    testsupport::TempRoot root;
    plat::SetTimeScale(100);
    uint64_t t0 = plat::NowMs();
    EXPECT_EQ(PeripheralResetPulse(), 0);
    uint64_t elapsed = plat::NowMs() - t0;
    plat::SetTimeScale(1);
    EXPECT_GE(elapsed, 1000u);  // 500 ms after each edge, in instrument time
    auto log = Lines(root.Read("/var/log/commands.log"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("echo 0 > /sys/class/leds/gpib_rst/brightness"), std::string::npos) << log[0];
    EXPECT_NE(log[1].find("echo 1 > /sys/class/leds/gpib_rst/brightness"), std::string::npos) << log[1];
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
