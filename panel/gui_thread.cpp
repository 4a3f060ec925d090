#include "panel/gui_thread.h"

#include <cstdio>

#include "GUI/gui.h"
#include "GUI/lcd/lcd.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/links/web_capture.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/sys_status.h"
#include "drivers/board_lines.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/hardcopy/hardcopy_sync.h"
#include "panel/pages/page_mgr.h"
#include "panel/panel_services.h"
#include "platform/host/clock.h"

uint32_t g_LcdApplied = 0;
int32_t g_LcdApplyCountdown = 0;

namespace {
constexpr int32_t kLcdApplyPasses = 50;

// The display takes the three bytes taken over 50 passes ago: contrast, brightness, saturation. A display
// that cannot take them keeps what it shows; the settings hold the values for the next try.
void ApplyLcdBytes(uint32_t bytes) {
    (void)SetLcdAdjustAll(static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8),
                          static_cast<uint8_t>(bytes >> 16));
}

void (*g_lcdApply)(uint32_t) = ApplyLcdBytes;
}  // namespace

void GuiThread_SetLcdApply(void (*apply)(uint32_t bytes)) {
    g_lcdApply = apply != nullptr ? apply : ApplyLcdBytes;
}

void GuiThread_Pass() {
    // The supervisor loop or the web server is copying the framebuffer: nothing may change it, nor move on
    // meanwhile.
    if (Hardcopy_IsPending() || g_WebScreenCopyOwner.load(std::memory_order_acquire) != 0) {
        panel::HardcopyGuiStandsStill();
        return;
    }
    if (g_LcdApplyCountdown > 0) {
        if (--g_LcdApplyCountdown == 0) {
            if (g_lcdApply != nullptr) g_lcdApply(g_LcdApplied);
            return;
        }
    } else if (const uint32_t word = IfaceLcdWord(); word != g_LcdApplied) {
        // A change made while a countdown runs waits for it: the panel's slider sends a burst of steps.
        g_LcdApplyCountdown = kLcdApplyPasses;
        g_LcdApplied = word;
    }
    panel::EditSnapshotTake();
    PageMgr_Tick();
    GUI_RunAll();
}

void* GuiThread(void*) {
    while (!SysStatusTest(kSysReady))
        plat::SleepMs(2);
    GuiConsolePrepare();
    GUI_Start();
    // Keys are taken from now on.
    std::printf("GuiThread: system ready\n");
    std::fflush(stdout);
    for (;;) {
        GuiThread_Pass();
        plat::SleepMs(2);
    }
    return nullptr;
}
