#include <cstdio>
#include <cstring>

#include "core/system/links/web_capture.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "panel/hardcopy/bmp_writer.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/hardcopy/hardcopy_sync.h"
#include "panel/hardcopy/info_text.h"
#include "platform/host/clock.h"

namespace {

constexpr uint32_t kWebPollMs = 2;
constexpr uint64_t kWebWaitMs = 10000;
constexpr uint32_t kGuiWaitMs = 100;

// The web server's capture reads the framebuffer too; one that does not end within the wait has hung,
// and the copy gives up rather than hold the panel still for ever.
bool WaitWebCapture() {
    const uint64_t deadline = plat::NowMs() + kWebWaitMs;
    while (g_WebScreenCopyOwner.load(std::memory_order_acquire) != 0) {
        if (plat::NowMs() >= deadline) return false;
        plat::SleepMs(kWebPollMs);
    }
    return true;
}

void ShowSaved(const char* path) {
    // The popup's formatter takes no %s: the name goes into the text first, and the text has no '%'.
    const char* slash = std::strrchr(path, '/');
    char text[64];
    std::snprintf(text, sizeof text, "Screen Saved to\nUSB:/%s", slash != nullptr ? slash + 1 : path);
    ShowMessage(2, text);
}

}  // namespace

void Hardcopy_Run() {
    if (!WaitWebCapture()) {
        ShowMessage(2, "USB File Write Error!");
    } else {
        // The copy goes on after the wait in any case: a GUI thread that has not started never answers.
        panel::HardcopyWaitGuiStill(kGuiWaitMs);
        const char* path = panel::HardcopyPath();
        if (Bmp_WriteScreen(path) < 0) {
            ShowMessage(2, "USB File Write Error!");
        } else {
            Hardcopy_WriteInfoText();
            ShowSaved(path);
        }
    }
    SysStatusClear(kSysScreenCopyPending);
}
