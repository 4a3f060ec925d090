#include "panel/panel_services.h"

#include "core/system/state/sys_status.h"

std::atomic<uint32_t> g_Up40ms{0};

int Hardcopy_IsPending() {
    return SysStatusTest(kSysScreenCopyPending) ? 1 : 0;
}

void Hardcopy_Write() {
    // There is no screen to copy until the graphics library exists: the request is answered as a
    // failed write, not left pending.
    ShowMessage(2, "USB File Write Error!");
    SysStatusClear(kSysScreenCopyPending);
}
