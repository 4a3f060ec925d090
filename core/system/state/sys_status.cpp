#include "core/system/state/sys_status.h"

std::atomic<uint32_t> g_SysStatus{0};

void core::SysStatusReset() {
    g_SysStatus.store(0, std::memory_order_relaxed);
}
