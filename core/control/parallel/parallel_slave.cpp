// The parallel slave object: joins the link, answers the master's requests addressed to it (or to all
// slaves) and follows the link state. It stops the web and fieldbus threads while it is part of a system.
#include <cstring>

#include "core/control/hooks/core_services.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/control/sync/output_sync.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/identity.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/fw_update_state.h"
#include "platform/host/clock.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kStart = 9200, kJoin = 9201, kAnswer = 9202, kListen = 9207, kJoined = 9208, kLeave = 9209;
constexpr uint32_t kLinkUp = 1u << 16, kJoinAll = 0xFu << 20;

int32_t g_rxCopy = 0;                       // copy of the own receive counter, 0-4095
std::atomic<uint32_t> g_threadsStopped{0};  // 1: slave mode stopped the web and fieldbus threads
bool g_waitShown = false;

uint32_t ReadStatus() {
    const uint32_t status = BusReg_GetParallelStatus();
    g_ParallelLink.status.store(status, kRelaxed);
    return status;
}
void WriteCtrl(uint32_t value) {
    g_ParallelLink.ctrl.store(value, kRelaxed);
    BusReg_SetParallelCtrl(static_cast<int32_t>(value));
}
void Send(uint32_t item, uint32_t value) {
    ParallelSendCmd(core::LinkOwnAddress(), item, value);
}
void RestartThreadsIfStopped() {
    if (g_threadsStopped.exchange(0, kRelaxed) != 0) g_ThreadCtl.control.store(kIfaceStart, kRelaxed);
}
void BecomeActive() {
    MsgQueue_Clear();
    if (MsgPopup_IsPersistent()) MsgPopup_Close();  // the wait for the link ends with the join
    g_ParallelActive.store(1, std::memory_order_release);
    g_SlewRecheckReq.store(1, kRelaxed);
    ScreenRequest_AskOutsideCalibration(ScreenRequest::kAdvanceScreen);
    g_ThreadCtl.control.store(kIfaceStop, kRelaxed);
    g_threadsStopped.store(1, kRelaxed);
}

void SendSerial() {
    if (GetParallelPosition() != 0) return;
    char serial[sizeof g_SerialNo];
    IdentityTextRead(g_SerialNo, sizeof g_SerialNo, serial);
    const size_t length = (strnlen(serial, sizeof serial) + 1) & ~size_t{1};
    for (size_t i = 0; i < length && i + 1 < sizeof serial + 1; i += 2) {
        const uint32_t first = static_cast<uint8_t>(serial[i]);
        const uint32_t second = i + 1 < sizeof serial ? static_cast<uint8_t>(serial[i + 1]) : 0;
        Send(26 + static_cast<uint32_t>(i / 2), first * 100 + second);
    }
}

void Answer(uint32_t frame) {
    const uint32_t item = core::LinkFrameItem(frame), value = core::LinkFrameValue(frame);
    switch (item) {
        case 0:
            Send(0, core::kLinkVersion);
            break;
        case 1:
            Send(1, g_ModelId.load(kRelaxed));
            break;
        case 2:
            if (value != 1) break;
            Send(2, 0);
            if (g_PhaseFault.load(kRelaxed) != 0 && GetParallelPosition() == 0 &&
                g_ParallelActive.load(kRelaxed) == 1)
                Send(20, 1);
            BecomeActive();
            plat::SleepMs(1000);
            SendSerial();
            break;
        case 11: {
            const sysadmin::LanCfg lan = LanCfgRead();
            for (uint32_t k = 0; k < 4; ++k)
                Send(11 + k, lan.IP[k]);
            break;
        }
        case 36:
            Send(36, core::g_HwVariant.load(kRelaxed));
            break;
        case 15:
        case 16:
        case 17:
        case 18:
        case 19:
            // The service jobs of the panel's lists, run here as the master asked.
            core::CallHook(core::Services().serviceItem, item, value);
            break;
        default:
            break;
    }
}

uint32_t Listen() {
    const int32_t counter = BusReg_GetSlaveCounter(0) & 0xFFF;
    uint32_t next = kListen;
    if (counter != g_rxCopy) {
        g_rxCopy = (g_rxCopy + 1) % 4096;
        const uint32_t frame =
            static_cast<uint32_t>(BusReg_GetLinkRxWord(0, static_cast<uint32_t>(g_rxCopy)));
        const uint32_t address = core::LinkFrameAddress(frame);
        if (address == core::LinkOwnAddress() || address == core::kLinkAllSlaves) {
            g_ParallelLink.lastFrame.store(frame, kRelaxed);
            next = kAnswer;
        }
    }
    if ((ReadStatus() & kLinkUp) == 0 && g_ParallelActive.load(kRelaxed) == 1) {
        ShowMessageHold("Slave Wait Connecting..");
        g_ParallelActive.store(0, std::memory_order_release);
        g_SlewRecheckReq.store(1, kRelaxed);
        WriteCtrl(0);
        plat::SleepMs(1000);
        return kJoin;
    }
    return next;
}

uint32_t AfterJoin() {
    const uint32_t status = ReadStatus();
    if ((status & kLinkUp) == 0) {
        plat::SleepMs(50);
        if (!g_waitShown) ShowMessageHold("Slave Wait Connecting..");
        g_waitShown = true;
        return kJoined;
    }
    g_rxCopy = BusReg_GetSlaveCounter(0) & 0xFFF;
    if ((status & kJoinAll) != kJoinAll) return kListen;
    BecomeActive();
    return kAnswer;
}

int32_t SlaveIdle(StepRow* row, uint32_t msg) {
    return core::ParallelRoleIdle(row, msg, kStart, kJoin, g_ParallelSlaveFlags);
}

int32_t SlaveRun(StepRow* row, uint32_t msg) {
    if (core::ParallelRestartTaken(g_ParallelSlaveFlags)) {
        StepObjPostMsg(kLeave, row);
        return static_cast<int32_t>(msg);
    }
    uint32_t next = 0;
    switch (msg) {
        case kJoin:
            RestartThreadsIfStopped();
            g_ParallelActive.store(0, std::memory_order_release);
            g_SlewRecheckReq.store(1, kRelaxed);
            WriteCtrl(0);
            WriteCtrl(1);
            plat::SleepMs(100);
            g_waitShown = false;
            next = kJoined;
            break;
        case kJoined:
            next = AfterJoin();
            break;
        case kListen:
            next = Listen();
            break;
        case kAnswer:
            Answer(g_ParallelLink.lastFrame.load(kRelaxed));
            plat::SleepMs(50);
            next = kListen;
            break;
        case kLeave:
            RestartThreadsIfStopped();
            WriteCtrl(0);
            // The start-up update check has run and found nothing: a wait popup of the link is stale.
            if (c2000Checked.load(kRelaxed) == 2) {
                MsgQueue_Clear();
                if (MsgPopup_IsPersistent()) MsgPopup_Close();
            }
            StepObjPostState(1, kStart, row);
            return static_cast<int32_t>(msg);
        default:
            return static_cast<int32_t>(msg);
    }
    StepObjPostMsg(next, row);
    return static_cast<int32_t>(msg);
}

StepRow g_slaveRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, SlaveIdle},   {{0}, {0}, SlaveRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};
}  // namespace

StepObj g_ParallelSlaveObj{{1}, {kStart}, g_slaveRows};

int32_t ParallelSlave_Step() {
    return StepObjRunMsg(&g_ParallelSlaveObj);
}

namespace core {
void ParallelSlaveReset() {
    StepObjRewind(&g_ParallelSlaveObj, 1, kStart);
    g_rxCopy = 0;
    g_threadsStopped.store(0);
    g_waitShown = false;
}
}  // namespace core
