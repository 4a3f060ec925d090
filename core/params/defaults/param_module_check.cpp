#include "core/params/defaults/param_module_check.h"

#include "core/params/param_store.h"
#include "core/regbus/reg_read.h"
#include "core/system/config/model_table.h"
#include "platform/host/clock.h"

namespace core {

void PowerModuleCheck(uint32_t vaClass) {
    // A module that is not ready skips the whole check: its class would mean nothing.
    for (int p = 0; p < static_cast<int>(kPhases); ++p) {
        int32_t ready = BusReg_GetModulePresent(p);
        plat::SleepUs(1);
        if (ready <= 0) return;
    }
    uint32_t mask = 0;
    for (int p = 0; p < static_cast<int>(kPhases); ++p) {
        const uint32_t cls = static_cast<uint32_t>(BusReg_GetModuleType(p));
        g_ParamStore.unit[p].moduleClass = cls;
        if (cls != vaClass) mask |= 1u << p;
    }
    g_ModuleErrMask.store(mask, std::memory_order_relaxed);
}

void FirmwareVersionCheck() {
    const uint32_t ctrl = BusReg_GetStatusHigh();
    g_CtrlFwVersion.store(ctrl, std::memory_order_relaxed);
    uint32_t mask = 0;
    for (int p = 0; p < static_cast<int>(kPhases); ++p) {
        const uint32_t version = static_cast<uint32_t>(BusReg_GetModuleVersion(p));
        g_ParamStore.unit[p].fwVersion = version;
        if (version != ctrl) mask |= 1u << p;
    }
    g_FwErrMask.store(mask, std::memory_order_relaxed);
}

}  // namespace core
