#include "drivers/board_lines.h"

#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"

namespace {
int32_t (*g_startScreen)(int32_t, int32_t) = nullptr;
int (*g_graphicsStart)() = nullptr;
}  // namespace

// Set once at start-up, before the bring-up runs.
void HwConsoleSetGraphicsStart(int (*start)()) {
    g_graphicsStart = start;
}

// Set once at start-up, before the bring-up runs.
void HwConsoleSetStartScreen(int32_t (*screen)(int32_t x0, int32_t y0)) {
    g_startScreen = screen;
}

void DisplayLineSet(int on) {
    plat::System(on ? "echo 1 > /sys/class/leds/display/brightness"
                    : "echo 0 > /sys/class/leds/display/brightness");
}

void ConsoleCursorOff() {
    plat::System("echo 0 > /sys/class/graphics/fbcon/cursor_blink");
}

void GpibResetLineSet(int on) {
    plat::System(on ? "echo 1 > /sys/class/leds/gpib_rst/brightness"
                    : "echo 0 > /sys/class/leds/gpib_rst/brightness");
}

void ConsoleBlankOff() {
    plat::System("echo '\033[9;0]' > /dev/tty1");
}

void GuiConsolePrepare() {
    DisplayLineSet(0);
    ConsoleCursorOff();
    ConsoleBlankOff();
    plat::System("sync");
}

void HwConsolePrepare() {
    DisplayLineSet(0);
    ConsoleCursorOff();
    plat::System("sync");
    // The graphics library starts here, so the start-up screen can draw; the GUI thread's own start
    // later finds it running.
    if (g_graphicsStart != nullptr) g_graphicsStart();
    if (g_startScreen != nullptr) g_startScreen(0, 0);
}

int32_t PeripheralResetPulse() {
    GpibResetLineSet(0);
    plat::SleepMs(500);
    GpibResetLineSet(1);
    plat::SleepMs(500);
    return 0;
}
