// The units of a parallel system before this unit's boot image or application is replaced: the master
// tells its slaves what is updated and leaves the link, a slave drops off the link.
#include "core/control/parallel/parallel_frame.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/links/parallel_link.h"
#include "platform/host/clock.h"
#include "sysadmin/firmware/fw_update.h"

namespace {

constexpr uint32_t kLinkOn = 1u << 0, kLinkMaster = 1u << 1;
constexpr uint32_t kLinkUp = 1u << 16;  // the link still carries frames
constexpr uint32_t kUpdateItem = 25;
constexpr uint64_t kLinkDownTimeoutMs = 5000;

bool WaitLinkDown() {
    const uint64_t start = plat::NowMs();
    while ((BusReg_GetParallelStatus() & kLinkUp) != 0) {
        if (plat::NowMs() - start >= kLinkDownTimeoutMs) return false;
        plat::SleepMs(10);
    }
    return true;
}

}  // namespace

bool FwUpd_PrepareParallel(uint32_t updateValue) {
    if (g_ParallelActive.load(std::memory_order_acquire) != 1) return true;
    auto& ctrl = g_ParallelLink.ctrl;
    if (GetParallelPosition() != 1) {  // a slave
        BusReg_SetParallelCtrl(static_cast<int32_t>(ctrl.fetch_and(~kLinkOn) & ~kLinkOn));
        ParallelMaster_RequestRestart();
        return true;
    }
    const uint32_t slaves = (g_ParallelLink.status.load(std::memory_order_acquire) >> 8) & 0xFFu;
    ParallelSendCmd(slaves, kUpdateItem, updateValue);
    plat::SleepMs(1000);
    g_ParallelActive.store(0, std::memory_order_release);
    ParallelSlave_RequestRestart();
    uint32_t was = ctrl.load();
    while (!ctrl.compare_exchange_weak(was, (was | kLinkMaster) & ~kLinkOn)) {
    }
    BusReg_SetParallelCtrl(static_cast<int32_t>((was | kLinkMaster) & ~kLinkOn));
    return WaitLinkDown();
}
