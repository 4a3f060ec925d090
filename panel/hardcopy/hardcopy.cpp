#include "panel/hardcopy/hardcopy.h"

#include <cstdio>

#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "storage/file_util.h"

uint32_t g_HardcopyCounter = 0;

namespace {

constexpr uint32_t kNames = 1000;
char g_path[32];

// Shows why the stick cannot take a copy; true when it can.
bool UsbMemoryUsable() {
    if (!UsbMemoryMounted()) {
        ShowMessage(2, "USB Memory Unconnected");
        return false;
    }
    if (g_UsbState.usbAccessError.load(std::memory_order_acquire) == 1) {
        ShowMessage(2, "USB Memory Access Error");
        return false;
    }
    return true;
}

}  // namespace

void Hardcopy_KeyRequest() {
    if (UsbMemoryUsable()) Hardcopy_Request();
}

void Hardcopy_Request() {
    // The path buffer belongs to the copy in progress until its bit is cleared.
    if (Hardcopy_IsPending() || !UsbMemoryUsable()) return;
    for (uint32_t tries = 0; tries < kNames; ++tries) {
        // The newly-mounted flag is taken on every try, so that a wrap of the counter cannot leave it set
        // for a second restart further on.
        const bool restart = g_UsbState.usbNewlyMounted.exchange(0, std::memory_order_acq_rel) != 0;
        if (restart || g_HardcopyCounter >= kNames) g_HardcopyCounter = 0;
        std::snprintf(g_path, sizeof g_path, "/mnt/sd1/QXDIMC%03u.bmp", g_HardcopyCounter);
        ++g_HardcopyCounter;
        if (FileSize(g_path) < 1) {
            SysStatusSet(kSysScreenCopyPending);
            return;
        }
    }
    ShowMessage(2, "Hardcopy Fail!\n(Too Many Files in USB)");
}

int Hardcopy_IsPending() {
    return SysStatusTest(kSysScreenCopyPending) ? 1 : 0;
}

const char* panel::HardcopyPath() {
    return g_path;
}
