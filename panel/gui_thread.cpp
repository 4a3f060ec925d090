#include "panel/gui_thread.h"

#include <cstdio>

#include "core/system/sys_status.h"
#include "panel/panel_services.h"
#include "platform/clock.h"
#include "src/dev/board_lines.h"

// Nothing is drawn until the graphics library and the page manager exist.
void GuiThread_Pass() {}

void* GuiThread(void*) {
    GuiConsolePrepare();
    while (!SysStatusTest(kSysReady))
        plat::SleepMs(2);
    // Keys are taken from now on; until the display exists this line is the sign of it.
    std::printf("GuiThread: system ready\n");
    std::fflush(stdout);
    for (;;) {
        if (!Hardcopy_IsPending()) GuiThread_Pass();
        plat::SleepMs(2);
    }
    return nullptr;
}
