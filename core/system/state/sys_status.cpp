#include "core/system/state/sys_status.h"

std::atomic<uint32_t> g_SysStatus{0};

void core::SysStatusReset() {
    g_SysStatus.store(0, std::memory_order_relaxed);
}

void sysRebootRequest() {
    SysStatusSet(kSysRebootRequest);
    SysStatusSet(kSysSetCommandsBarred);
    // A restart handled earlier in this run must not make the save skip this one.
    SysStatusClear(kSysRestartHandled);
    SysStatusSet(kSysRestartPending);
}
