#include "panel/gui_thread.h"

#include <cstdio>

#include "GUI/lcd/lcd.h"
#include "core/control/measure/meas_records.h"
#include "core/system/state/sys_status.h"
#include "panel/panel_services.h"
#include "platform/host/clock.h"
#include "src/dev/board_lines.h"

// Paints whatever became invalid; the pages that invalidate come with the page manager. Until the page
// manager refreshes the display copy of the measurements for the page it shows, every pass copies all of it.
void GuiThread_Pass() {
    MeasDispCacheRefresh();
    GUI_RunAll();
}

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
