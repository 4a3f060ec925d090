#include "core/control/sys_event.h"

#include <algorithm>
#include <cstdio>

#include "core/control/barcode_table.h"
#include "core/control/output_request.h"
#include "core/control/sync/output_pending.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/state/edit_state.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/wake_event.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

SysEventHooks g_hooks{};
plat::WakeEvent& g_pushed = *new plat::WakeEvent;     // ends the supervisor's rest; never destroyed
plat::WakeEvent& g_saveTaken = *new plat::WakeEvent;  // ends a reset's wait for the settings save

void RunHook(void (*hook)()) {
    if (hook != nullptr) hook();
}
bool OperationPending() {
    return g_hooks.operationPending != nullptr && g_hooks.operationPending();
}

StepRow g_sysEventRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, SysEvent_Init}, {{0}, {0}, SysEvent_Handle},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},   {{0}, {0}, StepRowIdle},
};

constexpr uint32_t kRemoteResetMask = 3u << kSysRemoteResetLow;
constexpr uint32_t kOpcTicks = 20;
// A *WAI holds its channels at most this many further ticks (of at least 1 ms) for a pending operation.
constexpr int32_t kOpcPendingTicks = 60000;
constexpr int kOutputOffWaitSteps = 300;  // of 10 ms: the factory default waits for the output to go off
constexpr uint32_t kOutputStatusNotReady = 1u << 7;
constexpr uint64_t kSaveWaitSeconds = 30;  // for the menu/control thread to take the settings-save request
constexpr uint64_t kSecondUs = 1000000;
constexpr uint32_t kOutputModes = 10;

uint32_t RemoteResetField() {
    return (g_SysStatus.load(std::memory_order_acquire) & kRemoteResetMask) >> kSysRemoteResetLow;
}

void SetRemoteResetField(uint32_t v) {
    uint32_t old = g_SysStatus.load(kRelaxed);
    while (!g_SysStatus.compare_exchange_weak(old, (old & ~kRemoteResetMask) | (v << kSysRemoteResetLow),
                                              std::memory_order_acq_rel, kRelaxed)) {
    }
}

// The steps both resets share.
void CommonResetSteps(bool factory) {
    g_SysFlags.fetch_or(kSysFlagResetRunning, kRelaxed);
    if (RemoteResetField() == 1) SetRemoteResetField(2);
    // The output goes off before the settings change under it.
    SetOutputOnOff(0);
    if (factory) {
        for (int i = 0; i < kOutputOffWaitSteps && OutputFlagTest(kOutFlagOutputOn); ++i)
            plat::SleepMs(10);
        g_MenuResetWords[0].store(1, kRelaxed);
        g_MenuResetWords[1].store(0, kRelaxed);
    }
    SetVoltRange(0);
    SetAcv(0, 0);
    SetDcv(0, 0);
    g_DispResetWords[0].store(0, kRelaxed);
    g_DispResetWords[1].store(0, kRelaxed);
    SetLcdAdjust0(50);
    SetLcdAdjust1(50);
    SetLcdAdjust2(50);
    SetDefaultAll();
    // The default tables do not know the crest factors of the stored waveforms nor how the limits of one
    // setting narrow another: the records are brought within their limits as at start-up.
    ArbAcvLimitUpdateAll();
    for (uint32_t mode = 0; mode < kOutputModes; ++mode) {
        FreqLimitCheck(mode);
        VoltSettingCheckAll(mode, 0);
        VoltSettingCheckAll(mode, 1);
    }
    // The menu/control thread saves the new settings and clears the request; a save that does not come
    // within the bound does not hold the supervisor loop any longer, and the request stays for it. The
    // saver's wake-up ends the wait at once; the 1 s steps still see a request cleared without one.
    SysStatusSet(kSysResetSaveRequest);
    const uint64_t endUs = plat::NowUs() + kSaveWaitSeconds * kSecondUs;
    for (uint64_t now = plat::NowUs(); now < endUs && SysStatusTest(kSysResetSaveRequest);
         now = plat::NowUs())
        g_saveTaken.WaitUntilUs(std::min(now + kSecondUs, endUs));
    RunHook(g_hooks.initRuntimeState);
    RunHook(g_hooks.parallelConfigUnits);
    SetHoldCountdown(20);
}

}  // namespace

StepObj g_SysEventObj{{1}, {0}, g_sysEventRows};
SysEventRing g_SysEventRing{};
std::atomic<uint8_t> g_SysFlags{0};
std::atomic<int32_t> g_OpcCountdown{50};
std::atomic<uint32_t> g_HoldCountdown{0};

// Set once at start-up, before the threads that run the resets exist.
void SysEvent_SetHooks(const SysEventHooks& hooks) {
    g_hooks = hooks;
}

int32_t SysEvent_Init(StepRow* row, uint32_t msg) {
    g_SysEventRing.lastEvent.store(0, kRelaxed);
    g_SysEventRing.writePtr = g_SysEventRing.slots;
    g_SysEventRing.readPtr = g_SysEventRing.slots;
    g_SysEventRing.writeIdx.store(0, kRelaxed);
    g_SysEventRing.readIdx.store(0, kRelaxed);
    StepRowSetNext(2, row);
    return static_cast<int32_t>(msg);
}

int32_t SysEvent_Handle(StepRow*, uint32_t msg) {
    uint32_t event = SysEvent_Pop();
    g_SysEventRing.lastEvent.store(event, kRelaxed);
    switch (event) {
        case kSysEventNone:
            g_SysFlags.fetch_and(static_cast<uint8_t>(~kSysFlagResetRunning), kRelaxed);
            if (RemoteResetField() == 2) {
                SetRemoteResetField(0);
                SysStatusSet(kSysResetDone);
            }
            break;
        case kSysEventFactoryDefault:
            LanSetDefault();
            RunHook(g_hooks.uartChannelRestart);
            g_BarcodeTable.reloadDefaults.store(1, std::memory_order_release);
            CommonResetSteps(true);
            break;
        case kSysEventResetOutput:
            CommonResetSteps(false);
            break;
        case kSysEventOpcTick:
            if (g_OpcCountdown.load(kRelaxed) < 1 &&
                (!OperationPending() || g_OpcCountdown.load(kRelaxed) <= -kOpcPendingTicks)) {
                g_SysFlags.fetch_and(static_cast<uint8_t>(~kSysFlagOpcPending), kRelaxed);
            } else {
                g_OpcCountdown.fetch_sub(1, kRelaxed);
                SysEvent_Push(kSysEventOpcTick);
            }
            break;
        default:
            break;
    }
    return static_cast<int32_t>(msg);
}

int32_t SysEvent_Run() {
    return StepObjRun(&g_SysEventObj);
}

uint32_t SysEvent_Push(uint32_t event) {
    // Pushed from several threads; the index is claimed atomically so two pushes never share a slot.
    uint32_t idx = g_SysEventRing.writeIdx.fetch_add(1, kRelaxed) % kSysEventSlots;
    g_SysEventRing.writeIdx.fetch_and(kSysEventSlots - 1, kRelaxed);
    g_SysEventRing.slots[idx].store(event, std::memory_order_release);
    g_pushed.Signal();
    return event;
}

uint32_t SysEvent_Pop() {
    uint32_t idx = g_SysEventRing.readIdx.load(kRelaxed);
    uint32_t event = g_SysEventRing.slots[idx].exchange(0, std::memory_order_acquire);
    g_SysEventRing.readIdx.store((idx + 1) % kSysEventSlots, kRelaxed);
    return event;
}

uint32_t SysEvent_HasWork() {
    const uint32_t idx = g_SysEventRing.readIdx.load(kRelaxed) % kSysEventSlots;
    if (g_SysEventRing.slots[idx].load(std::memory_order_acquire) != 0) return 1;
    if (g_SysFlags.load(kRelaxed) & (kSysFlagResetRunning | kSysFlagOpcPending)) return 1;
    return RemoteResetField() != 0 ? 1 : 0;
}

bool SysEvent_WaitUntilUs(uint64_t deadlineUs) {
    return g_pushed.WaitUntilUs(deadlineUs);
}

void SysEvent_SaveRequestTaken() {
    g_saveTaken.Signal();
}

void FactoryDefaultStart() {
    SysEvent_Push(kSysEventFactoryDefault);
    ShowMessage(2, "Resetting...");
}

void ResetDefaultStart() {
    SysEvent_Push(kSysEventResetOutput);
    ShowMessage(2, "Resetting...");
}

uint32_t OpcWaitStart() {
    g_OpcCountdown.store(kOpcTicks, kRelaxed);
    // A wait that is already counting keeps its one tick in the ring and counts from 20 again: a tick
    // per request would fill the eight slots and overwrite queued resets when *OPC? comes quickly.
    const uint8_t before = g_SysFlags.fetch_or(kSysFlagOpcPending, kRelaxed);
    if (!(before & kSysFlagOpcPending)) SysEvent_Push(kSysEventOpcTick);
    return 1;
}

uint32_t IsOpcPending() {
    return (g_SysFlags.load(kRelaxed) & kSysFlagOpcPending) ? 1 : 0;
}

uint32_t IsSystemReady() {
    if (g_SysFlags.load(kRelaxed) & kSysFlagResetRunning) return 0;
    if (RemoteResetField() != 0) return 0;
    if (SysStatusTest(kSysResetDone)) return 0;
    // The power stage says it is not ready (bit 7 of its output status word).
    if (core::g_OutputStatusMirror.load(kRelaxed) & kOutputStatusNotReady) return 0;
    return 1;
}

uint32_t IsSystemBusy() {
    if (!IsSystemReady()) return 1;
    if (SysStatusTest(kSysCaliProcessing) || SysStatusTest(kSysScreenCopyPending)) return 1;
    if (g_BusHold.load(std::memory_order_relaxed) != 0) return 1;
    return 0;
}

uint32_t IsOpcBusy(uint64_t ticket) {
    return IsSystemBusy() != 0 || OperationPending() || core::OutputWorkPending(ticket) ? 1 : 0;
}

void SetHoldCountdown(uint32_t n) {
    g_HoldCountdown.store(2 * n, kRelaxed);
}

namespace core {
void SysEventReset() {
    StepObjRewind(&g_SysEventObj, 1, 0);
    for (auto& slot : g_SysEventRing.slots)
        slot.store(0, kRelaxed);
    g_SysEventRing.writeIdx.store(0, kRelaxed);
    g_SysEventRing.readIdx.store(0, kRelaxed);
    g_SysEventRing.lastEvent.store(0, kRelaxed);
    g_SysFlags.store(0, kRelaxed);
    g_OpcCountdown.store(50, kRelaxed);
    g_HoldCountdown.store(0, kRelaxed);
}
}  // namespace core
