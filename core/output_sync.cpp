#include "core/output_sync.h"

#include "core/param_access.h"
#include "core/sys_status.h"

std::atomic<uint32_t> g_SyncFirstPassDone{0};
std::atomic<uint32_t> g_SlewRecheckReq{0};

// The per-setting comparison and writes are added here with the output-settings synchronisation. Until
// then a pass compares nothing and so finds nothing left to write: it reports the system ready (keys and
// the display wait for that) and ends as every pass does.
void SyncOutputSettings() {
    SysStatusSet(kSysReady);
    SysStatusClear(kSysResetDone);
    core::g_CtrlStartupWord.store(0, std::memory_order_relaxed);
    g_SyncFirstPassDone.store(1, std::memory_order_relaxed);
}
