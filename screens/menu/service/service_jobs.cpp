#include "screens/menu/service/service_jobs.h"

#include <atomic>

#include "core/control/parallel/parallel_frame.h"
#include "core/control/sync/output_sync.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "sysadmin/firmware/fw_update.h"

namespace service_jobs {
namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kCalDataItem = 19, kLeaveItem = 25;
constexpr uint32_t kLinkOn = 1u << 0, kLinkLeave = 1u << 1;
constexpr uint32_t kLinkUp = 1u << 16;
constexpr uint32_t kAnnounceWaitMs = 200, kLeaveWaitMs = 1000, kLinkDownTimeoutMs = 5000, kPollMs = 10;

bool ParallelRunning() {
    return g_ParallelActive.load(std::memory_order_acquire) == 1;
}
bool IsMaster() {
    return GetParallelPosition() == 1;
}

void WriteCtrl(uint32_t set, uint32_t clear) {
    uint32_t was = g_ParallelLink.ctrl.load(kRelaxed);
    while (!g_ParallelLink.ctrl.compare_exchange_weak(was, (was | set) & ~clear, kRelaxed)) {
    }
    BusReg_SetParallelCtrl(static_cast<int32_t>((was | set) & ~clear));
}

bool WaitLinkDown() {
    const uint64_t start = plat::NowMs();
    while ((BusReg_GetParallelStatus() & kLinkUp) != 0) {
        if (plat::NowMs() - start >= kLinkDownTimeoutMs) return false;
        plat::SleepMs(kPollMs);
    }
    return true;
}
}  // namespace

bool RefusedWithOutputOn() {
    if (!OutputFlagTest(kOutFlagOutputOn)) return false;
    FwUpd_ShowStatus(5, 0, 0);
    return true;
}

bool UsbUsable(bool slaveReplies) {
    if (!UsbMemoryMounted()) {
        ShowMessage(2, "USB Memory Unconnected");
        if (slaveReplies) SlaveReply(1);
        return false;
    }
    if (g_UsbState.usbAccessError.load(kRelaxed) == 1) {
        ShowMessage(2, "USB Memory Access Error");
        if (slaveReplies) SlaveReply(0);
        return false;
    }
    return true;
}

void ClosePersistent() {
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
}

void Sync() {
    plat::System("sync");
}

bool IsActiveSlave() {
    return ParallelRunning() && !IsMaster();
}

void SlaveReply(uint32_t value) {
    if (IsActiveSlave()) ParallelSendCmd(core::LinkOwnAddress(), kCalDataItem, value);
}

void MasterAnnounce(uint32_t item) {
    if (!ParallelRunning() || !IsMaster()) return;
    ParallelSendCmd(core::kLinkAllSlaves, item, 0);
    plat::SleepMs(kAnnounceWaitMs);
}

bool LeaveParallelLink(uint32_t slaveValue) {
    if (!ParallelRunning()) return true;
    if (IsMaster()) {
        WriteCtrl(0, kLinkOn);
        ParallelMaster_RequestRestart();
        return true;
    }
    ParallelSendCmd(core::LinkOwnAddress(), kLeaveItem, slaveValue);
    plat::SleepMs(kLeaveWaitMs);
    g_ParallelActive.store(0, std::memory_order_release);
    g_SlewRecheckReq.store(1, kRelaxed);
    ParallelSlave_RequestRestart();
    WriteCtrl(kLinkLeave, kLinkOn);
    return WaitLinkDown();
}

}  // namespace service_jobs
