// The parallel master object: drops and re-establishes the link, waits for every slave, runs the
// version/model hand-shake and supervises the link. It runs in the timer thread and blocks it for its
// waits, all on the platform clock.
#include <cstdio>

#include "core/control/hooks/core_services.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/control/sync/output_sync.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kStart = 9100, kDrop = 9101, kAllSeen = 9102, kRecount = 9103, kHandshake = 9104,
                   kUpdating = 9105, kSupervise = 9109, kWait = 9110, kStop = 9111;
constexpr uint32_t kLinkUp = 1u << 16, kJoinAll = 0xFu << 20;
// Tries of a slave update's wait (1 s apart) by update kind 1-4.
constexpr uint32_t kUpdateTries[5] = {0, 420, 120, 280, 180};

uint32_t g_lastStep = 0;
uint32_t g_mostSeen = 0;  // the most slaves seen in the present connect wait

bool ParallelFamily() {
    return IsParallelSystem(g_ModelId.load(kRelaxed));
}
bool SingleUnitModel() {
    return IsSingleUnit(g_ModelId.load(kRelaxed));
}
void ApplyAllIpkLimits() {
    for (int p = 0; p < 3; ++p)
        ApplyIpkLimits(p);
}
uint32_t ReadStatus() {
    const uint32_t status = BusReg_GetParallelStatus();
    g_ParallelLink.status.store(status, kRelaxed);
    return status;
}
uint32_t Seen(uint32_t status) {
    return (status >> 8) & 0xFFu;
}
uint32_t Expected() {
    const int32_t units = GetParallelNumber();
    return units > 1 ? static_cast<uint32_t>(units - 1) : 0;
}
void WriteCtrl(uint32_t value) {
    g_ParallelLink.ctrl.store(value, kRelaxed);
    BusReg_SetParallelCtrl(static_cast<int32_t>(value));
}
void SetCtrlBit(uint32_t bit, bool on) {
    const uint32_t ctrl = g_ParallelLink.ctrl.load(kRelaxed);
    WriteCtrl(on ? ctrl | bit : ctrl & ~bit);
}
void Deactivate() {
    g_ParallelActive.store(0, std::memory_order_release);
    g_SlewRecheckReq.store(1, kRelaxed);
}

// Errors 6, 7 and 9 end the connection attempt.
uint32_t FailureExit(uint8_t error) {
    SetCtrlBit(1u << 0, false);
    if (error == 7) core::g_ParallelMostSeen.store(g_mostSeen, kRelaxed);
    plat::SleepMs(5);
    MsgQueue_Clear();
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    if (!ParallelFamily()) {
        ScreenRequest_AskOutsideCalibration(ScreenRequest::kParallelRetry);
    } else {
        SysStatusSet(kSysParallelLinkFault);
        if (error == 7) SetParallelEnable(0);
    }
    g_ParallelLink.errorNumber.store(error, kRelaxed);
    ShowErrorMessageHold(2, "Parallel Communication \nError(%d)", error);
    return kStop;
}

void DropLink(uint32_t waitMs) {
    Deactivate();
    g_ParallelLink.joined.store(0, kRelaxed);
    WriteCtrl(2);
    plat::SleepMs(waitMs);
    SetCtrlBit(1u << 0, true);
    plat::SleepMs(500);
}

uint32_t WaitStep() {
    const uint32_t expected = Expected();
    if (g_lastStep == kDrop) {
        core::ParallelSlavesClear();
        g_mostSeen = 0;
        const int tries = ParallelFamily() ? 80 : 60;
        for (int t = 1; t <= tries; ++t) {
            const uint32_t seen = Seen(ReadStatus());
            if (seen == expected) return kAllSeen;
            if (seen > g_mostSeen) g_mostSeen = seen;
            if (t % 10 == 5) ShowMessage(2, "Master Wait Connecting..");
            core::CallHook(core::Services().beepService);
            plat::SleepMs(50);
        }
        return FailureExit(7);
    }
    if (g_lastStep == kAllSeen) {
        const int tries = ParallelFamily() ? 10 : 5;
        for (int t = 0; t < tries; ++t) {
            const uint32_t status = ReadStatus();
            if (status & kLinkUp) return kRecount;
            std::printf("ID:%d retry:%d\n", static_cast<int>(status & 0xFFu), t);
            std::fflush(stdout);
            ShowMessageHold("Master Wait Connecting..");
            plat::SleepMs(50);
        }
        return FailureExit(6);
    }
    for (int t = 0; t < 10; ++t) {
        if (Seen(ReadStatus()) == expected) return kHandshake;
        ShowMessageHold("Master Wait Connecting..");
    }
    return FailureExit(9);
}

uint32_t Handshake() {
    const uint32_t seen = Seen(ReadStatus());
    for (uint32_t n = 1; n <= seen && n <= 5; ++n)
        g_ParallelLink.slave[n].rxCount.store(BusReg_GetSlaveCounter(static_cast<int>(n)) & 0xFFF, kRelaxed);
    plat::SleepMs(500);
    ParallelSendCmd(core::kLinkAllSlaves, 0, 0);
    if (SingleUnitModel()) {
        core::CallHook(core::Services().backupRebase, 1);
        ApplyAllIpkLimits();
    }
    SetOutputImpedance(0);
    if (GetSlewRate() == 2) SetSlewRate(1);
    g_ParallelLink.joined.store((ReadStatus() & kJoinAll) == kJoinAll ? 1 : 0, kRelaxed);
    return kSupervise;
}

// Polls and relays every seen slave; true when all of them were quiet.
bool PollAll(uint32_t seen) {
    bool quiet = true;
    for (uint32_t n = 1; n <= seen && n <= 5; ++n)
        if (core::ParallelPollSlave(static_cast<int>(n))) quiet = false;
    return quiet;
}

uint32_t Supervise() {
    const uint32_t seen = Seen(g_ParallelLink.status.load(kRelaxed));
    PollAll(seen);
    const bool active = g_ParallelActive.load(kRelaxed) == 1;
    if (!active && g_ParallelLink.joined.load(kRelaxed) == seen) {
        g_ParallelActive.store(1, std::memory_order_release);
        g_SlewRecheckReq.store(1, kRelaxed);
        ScreenRequest_AskOutsideCalibration(ScreenRequest::kAdvanceScreen);
        plat::SleepMs(500);
        MsgQueue_Clear();
        if (MsgPopup_IsPersistent()) MsgPopup_Close();
        if (SysStatusTest(kSysParallelMismatch))
            ShowErrorMessageHold(2, "Parallel Version or\n Model Mismatch");
    } else if (!active && GetParallelEnable() == 1) {
        for (int pass = 0; pass < 200 && g_ParallelLink.joined.load(kRelaxed) != seen; ++pass) {
            plat::SleepMs(5);
            PollAll(seen);
            ShowMessageHold("Parallel Version Check..");
        }
        if (g_ParallelLink.joined.load(kRelaxed) != seen) {
            plat::SleepMs(5);
            ScreenRequest_AskOutsideCalibration(ScreenRequest::kParallelRetry);
            return kStop;
        }
    }
    const uint32_t status = ReadStatus();
    if ((status & kLinkUp) == 0 && g_ParallelActive.load(kRelaxed) == 1) {
        if (ParallelFamily()) SysStatusSet(kSysParallelLinkFault);
        g_ParallelLink.errorNumber.store(8, kRelaxed);
        ShowErrorMessageHold(2, "Parallel Communication \nError(8)");
        Deactivate();
        if (g_ParallelLink.updateKind.load(kRelaxed) == 0) {
            SetParallelEnable(0);
            g_ParallelLink.ctrl.fetch_and(~1u, kRelaxed);
            return kStop;
        }
        MsgQueue_Clear();
        if (MsgPopup_IsPersistent()) MsgPopup_Close();
        return kUpdating;
    }
    if ((g_ParallelLink.ctrl.load(kRelaxed) & 1u) == 0) return kStop;
    return kSupervise;
}

uint32_t SlavesUpdating() {
    DropLink(1000);
    const uint32_t kind = g_ParallelLink.updateKind.load(kRelaxed);
    const uint32_t tries = kind < 5 ? kUpdateTries[kind] : 0;
    bool done = false;
    for (uint32_t t = 0; t < tries && !done; ++t) {
        ShowMessageHold("Slave is currently updating.\n Please wait...");
        done = Seen(ReadStatus()) == Expected();
        if (!done) plat::SleepMs(1000);
    }
    g_ParallelLink.updateKind.store(0, kRelaxed);
    MsgQueue_Clear();
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    if (done) {
        SysStatusClear(kSysParallelLinkFault);
        return kDrop;
    }
    SetCtrlBit(1u << 0, false);
    plat::SleepMs(5);
    ShowErrorMessageHold(2, "Slave update failed.\n Please reboot and try again.");
    SysStatusSet(kSysParallelLinkFault);
    return kStop;
}

int32_t MasterIdle(StepRow* row, uint32_t msg) {
    return core::ParallelRoleIdle(row, msg, kStart, kDrop, g_ParallelMasterFlags);
}

int32_t MasterRun(StepRow* row, uint32_t msg) {
    if (core::ParallelRestartTaken(g_ParallelMasterFlags)) {
        StepObjPostMsg(kStop, row);
        return static_cast<int32_t>(msg);
    }
    uint32_t next = 0;
    switch (msg) {
        case kDrop:
            DropLink(500);
            g_lastStep = kDrop;
            next = kWait;
            break;
        case kAllSeen:
            SetCtrlBit(1u << 2, true);
            g_lastStep = kAllSeen;
            next = kWait;
            break;
        case kRecount:
            g_lastStep = kRecount;
            next = kWait;
            break;
        case kWait:
            next = WaitStep();
            break;
        case kHandshake:
            g_lastStep = kHandshake;
            next = Handshake();
            break;
        case kSupervise:
            g_lastStep = kSupervise;
            next = Supervise();
            break;
        case kUpdating:
            next = SlavesUpdating();
            break;
        case kStop:
            for (ParallelSlaveRec& rec : g_ParallelLink.slave) {
                rec.sysError1.store(0, kRelaxed);
                rec.startupError.store(0, kRelaxed);
                rec.sysError4.store(0, kRelaxed);
                rec.rawFault.store(0, kRelaxed);
            }
            if (SingleUnitModel()) {
                core::CallHook(core::Services().backupRebase, 0);
                ApplyAllIpkLimits();
            }
            StepObjPostState(1, kStart, row);
            return static_cast<int32_t>(msg);
        default:
            return static_cast<int32_t>(msg);
    }
    StepObjPostMsg(next, row);
    return static_cast<int32_t>(msg);
}

StepRow g_masterRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, MasterIdle},  {{0}, {0}, MasterRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};
}  // namespace

StepObj g_ParallelMasterObj{{1}, {kStart}, g_masterRows};

int32_t ParallelMaster_Step() {
    return StepObjRunMsg(&g_ParallelMasterObj);
}

bool core::ParallelPollSlave(int n) {
    ParallelSlaveRec& rec = g_ParallelLink.slave[n];
    const int32_t counter = BusReg_GetSlaveCounter(n) & 0xFFF;
    if (counter == rec.rxCount.load(kRelaxed)) return false;
    rec.rxCount.store((rec.rxCount.load(kRelaxed) + 1) % 4096, kRelaxed);
    ParallelRelay(n);
    return true;
}

namespace core {
std::atomic<uint32_t> g_ParallelMostSeen{0};

void ParallelMasterReset() {
    StepObjRewind(&g_ParallelMasterObj, 1, kStart);
    g_lastStep = 0;
    g_mostSeen = 0;
    g_ParallelMostSeen.store(0, kRelaxed);
}
}  // namespace core
