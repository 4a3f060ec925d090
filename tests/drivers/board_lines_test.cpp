#include "drivers/board_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/host/clock.h"
#include "tests/support/temp_root.h"

namespace {

std::string g_order;

TEST(BoardLines, ResetPulseDrivesTheLineLowThenHighWithItsWaits) {
    testsupport::TempRoot root;
    plat::SetTimeScale(100);
    uint64_t t0 = plat::NowMs();
    EXPECT_EQ(PeripheralResetPulse(), 0);
    uint64_t elapsed = plat::NowMs() - t0;
    plat::SetTimeScale(1);
    EXPECT_GE(elapsed, 1000u);  // 500 ms after each edge, in instrument time
    // Two writes, the line left high (their order in the running program: tests/system).
    const std::string log = root.Read("/var/log/commands.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_EQ(root.Read("/sys/class/leds/gpib_rst/brightness"), "1\n");
}

TEST(BoardLines, ConsolePrepareStartsTheGraphicsBeforeTheStartScreen) {
    testsupport::TempRoot root;
    HwConsoleSetGraphicsStart([] {
        g_order += "G";
        return 0;
    });
    HwConsoleSetStartScreen([](int32_t, int32_t) {
        g_order += "S";
        return int32_t{0};
    });
    HwConsolePrepare();
    HwConsoleSetGraphicsStart(nullptr);
    HwConsoleSetStartScreen(nullptr);
    EXPECT_EQ(g_order, "GS");
}

TEST(BoardLines, GuiConsolePrepareDarkensTheDisplayAndStopsCursorAndBlanking) {
    testsupport::TempRoot root;
    GuiConsolePrepare();
    EXPECT_EQ(root.Read("/sys/class/leds/display/brightness"), "0\n");
    EXPECT_EQ(root.Read("/sys/class/graphics/fbcon/cursor_blink"), "0\n");
    EXPECT_EQ(root.Read("/dev/tty1"), "\033[9;0]\n");
    const std::string log = root.Read("/var/log/commands.log");
    EXPECT_NE(log.rfind("sync"), std::string::npos) << log;
}

}  // namespace
