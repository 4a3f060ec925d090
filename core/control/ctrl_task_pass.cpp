// The control task's periodic pass: the services around the output-settings synchronisation.
#include "core/control/ctrl_task.h"
#include "core/control/output_request.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/control/setting_accessors.h"
#include "core/control/sync/output_pending.h"
#include "core/control/sync/output_sync.h"
#include "core/control/sys_event.h"
#include "core/control/trig_act.h"
#include "core/params/access/acv_unit_convert.h"
#include "core/params/access/param_access.h"
#include "core/params/limits/wave_voltage.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/waves/arb_mem.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/fw_update_state.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

using namespace core;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

CtrlTaskPowerOnEntries g_powerOnEntries{};
constexpr uint32_t kReconfigMask = 3u << kSysReconfigLow;
constexpr int32_t kParallelMaster = 1, kParallelSlave = 0;
constexpr uint32_t kArbDelayPasses = 30;
// The part of core::NotePartsTakenUp for the task's own settings step and the waveform download; the
// synchronisation counts the others.
constexpr unsigned kTaskStepsPart = core::kOutputParts - 1;
static_assert(kTaskStepsPart != kSyncRestPart);
// Input status bits of the three edge detectors: external on/off, trigger inputs 1 and 2.
constexpr uint32_t kEdgeInputBit[3] = {2, 6, 7};

std::atomic<uint32_t>* L1() {
    return g_OutputShadow[0];
}

// Stores value in a shadow word of L1 when it differs; true when it did.
bool Take(int word, int32_t value) {
    if (L1()[word] == static_cast<uint32_t>(value)) return false;
    L1()[word] = static_cast<uint32_t>(value);
    return true;
}

void SetOptionBit(uint32_t bit, bool on) {
    if (on)
        g_OutputOptionWord.fetch_or(1u << bit, kRelaxed);
    else
        g_OutputOptionWord.fetch_and(~(1u << bit), kRelaxed);
}

void ReconfigHandshake() {
    uint32_t status = g_SysStatus.load(std::memory_order_acquire);
    if (((status & kReconfigMask) >> kSysReconfigLow) != 1) return;
    const bool applied = L1()[kShwMode] == GetOutputMode() && L1()[kShwRange] == GetVoltRangeCode();
    if (SeqSimIsActive() == 0 && !applied) return;
    while (!g_SysStatus.compare_exchange_weak(status, (status & ~kReconfigMask) | (2u << kSysReconfigLow),
                                              std::memory_order_acq_rel, kRelaxed)) {
    }
}

void ParallelStep() {
    if (c2000Checked.load(kRelaxed) != 2) return;
    const int32_t position = GetParallelPosition();
    const int32_t enable = GetParallelEnable();
    bool changed = false;
    if (Take(kShwParPosition, position)) {
        if (position & 1)
            g_ParallelLink.ctrl.fetch_or(2u, kRelaxed);
        else
            g_ParallelLink.ctrl.fetch_and(~2u, kRelaxed);
        changed = true;
    }
    if (Take(kShwParEnable, enable)) {
        if (enable & 1) {
            g_ParallelLink.ctrl.fetch_or(1u, kRelaxed);
        } else {
            g_ParallelLink.ctrl.fetch_and(~1u, kRelaxed);
            BusReg_SetParallelCtrl(0);
            g_ParallelActive.store(0, kRelaxed);
            g_SlewRecheckReq.store(1, kRelaxed);
            SysStatusClear(kSysParallelMismatch);
        }
        changed = true;
    }
    if (!changed) return;
    // A unit whose parallel operation is off never connects: its link stays off, so a master's attempt
    // could only end in a communication error on every start of a stand-alone unit.
    if (enable == 1)
        ParallelWaitConnect(position);
    else if (position == kParallelSlave || position == kParallelMaster)
        ParallelSlave_RequestRestart();
}

// The peak-hold clear mask of each clear item.
constexpr int32_t kPeakClearMask[] = {255, 0x11, 0x22, 0x44, 0x88};

// The settings of step 6 that are compared only while the AC voltage unit is unchanged, in their order.
bool UnitSettingsStep() {
    int32_t v = GetMonitorSource1Item();
    if (Take(kShwMonitor1, v)) {
        SetMonitorSource1(v);
        return true;
    }
    v = GetMonitorSource2Item();
    if (Take(kShwMonitor2, v)) {
        SetMonitorSource2(v);
        return true;
    }
    v = GetTriggerWidth();
    if (static_cast<int32_t>(L1()[kShwTrigWidth] / 10) != v) {
        L1()[kShwTrigWidth] = static_cast<uint32_t>(v * 10);
        BusReg_SetTrigWidth(v * 10);
        return true;
    }
    v = GetTriggerSource();
    if (Take(kShwTrigSource, v)) {
        BusReg_SetTrigOutSource(v);
        return true;
    }
    struct Impedance {
        uint32_t id;
        int (*write)(int32_t);
    };
    static constexpr Impedance kImpedance[6] = {
        {kParamInductanceL1, BusReg_SetL1Inductance}, {kParamInductanceL2, BusReg_SetL2Inductance},
        {kParamInductanceL3, BusReg_SetL3Inductance}, {kParamResistanceL1, BusReg_SetL1Resistance},
        {kParamResistanceL2, BusReg_SetL2Resistance}, {kParamResistanceL3, BusReg_SetL3Resistance},
    };
    for (int i = 0; i < 6; ++i) {
        v = paramGetValue(kImpedance[i].id, 0);
        if (Take(kShwImpedanceFirst + i, v)) {
            kImpedance[i].write(v);
            return true;
        }
    }
    return false;
}

// True when it took a change up.
bool SettingsStep() {
    const int32_t holdTime = GetPeakHoldTime();
    if (Take(kShwPeakHoldTime, holdTime)) {
        BusReg_SetPeakHoldTime(holdTime);
        return true;
    }
    if (L1()[kShwPeakClear] != 0) {
        L1()[kShwPeakClear] = 0;
        const int32_t item = GetPeakClearItem();
        if (item >= 0 && item <= 4) BusReg_PeakHoldClear(kPeakClearMask[item]);
        return true;
    }
    const int32_t unit = GetAcvUnit();
    if (L1()[kShwAcvUnit] == static_cast<uint32_t>(unit)) return UnitSettingsStep();
    if (OutputFlagTest(kOutFlagOutputOn)) {
        BusReg_SetOutputOnOff(0);
        OutputFlagClear(kOutFlagOutputOn);
    }
    L1()[kShwAcvUnit] = static_cast<uint32_t>(unit);
    BusReg_SetVoltUnit(unit);
    (void)AcvUnitConvertAll(0);
    WaveVoltageRecheck();
    return true;
}

void ArbUpdateStep() {
    // Both are published with release after the factor and the slot's samples they announce.
    const uint8_t flags = g_ArbChanged.flags.load(std::memory_order_acquire);
    const uint16_t pending = g_ArbChanged.pendingTable.load(std::memory_order_acquire);
    if (flags & kArbStartDelay) {
        g_ArbChanged.flags.fetch_and(static_cast<uint8_t>(~kArbStartDelay), kRelaxed);
        L1()[kShwArbDelay] = kArbDelayPasses;
    } else if (pending == 0 && (flags & kArbWriteFactorTable)) {
        BusReg_WriteFloatTable();
        BusReg_Apply(1);
        plat::SleepMs(5);
        g_ArbChanged.flags.fetch_and(static_cast<uint8_t>(~kArbWriteFactorTable), kRelaxed);
        if (g_ArbChanged.flags.load(kRelaxed) & kArbOutputOnAfter) {
            g_ArbChanged.flags.fetch_and(static_cast<uint8_t>(~kArbOutputOnAfter), kRelaxed);
            SetOutputOnOff(1);
        }
    } else if (pending != 0 && L1()[kShwArbDelay] == 0) {
        // Taken in one exchange: a store that lands after it is written on a later pass, not cleared unseen.
        const int slot = g_ArbChanged.pendingTable.exchange(0, std::memory_order_acquire) - 1;
        // Slot and length are within the table range, the only thing the download refuses.
        if (slot >= 0 && slot < kArbSlots) (void)BusReg_WriteArbTable(g_ArbMem[slot], kArbSamples, slot);
        WaveVoltageRecheck();
        BusReg_SetArbUpdate(1);
    } else if (L1()[kShwArbDelay] > 0) {
        --L1()[kShwArbDelay];
    }
}

// A changed waveform table or its factors still on their way to the stage.
bool ArbUpdatePending() {
    constexpr uint8_t kArbWork = kArbStartDelay | kArbWriteFactorTable;
    return g_ArbChanged.pendingTable.load(std::memory_order_acquire) != 0 ||
           (g_ArbChanged.flags.load(std::memory_order_acquire) & kArbWork) != 0 || L1()[kShwArbDelay] != 0;
}

void SeqSimStep() {
    if (L1()[kShwSeqSimEntry] != 0) {
        L1()[kShwSeqSimEntry] = 0;
        if (OutputFlagTest(kOutFlagOutputOn) && L1()[kShwRemoteSense] == 1) {
            BusReg_SetOutputOnOff(0);
            OutputFlagClear(kOutFlagOutputOn);
            plat::SleepMs(100);
        }
        g_SeqSimOutputReset.store(0, kRelaxed);
        SetOptionBit(kOptRemoteSense, false);
        BusReg_SetServiceFlags(static_cast<int32_t>(g_OutputOptionWord.load(kRelaxed)));
    }
    g_SyncFirstPassDone.store(0, kRelaxed);
}

// Runs the power-on action once its countdown has run out; false when the pass ends here.
bool PowerOnStep() {
    uint16_t countdown = g_PowerOnCountdown.load(kRelaxed);
    if ((countdown & kPowerOnArmed) == 0) return true;
    if (countdown > kPowerOnArmed) g_PowerOnCountdown.store(--countdown, kRelaxed);
    if (countdown != kPowerOnArmed) return true;
    g_PowerOnCountdown.store(0, kRelaxed);
    const uint32_t mode = GetOutputMode();
    switch (paramGetValue(kParamPowerOnState, 0)) {
        case 1:
            SetOutputOnOff(1);
            break;
        case 2:
            if (!IsIntMode(mode)) {
                ShowErrorMessageHold(2, "Power ON Fail");
                return false;
            }
            if (g_powerOnEntries.seq != nullptr) g_powerOnEntries.seq();
            break;
        case 3:
            if (mode != kModeAcDcInt) {
                ShowErrorMessageHold(2, "Power ON Fail");
                return false;
            }
            if (g_powerOnEntries.sim != nullptr) g_powerOnEntries.sim();
            break;
        default:
            break;
    }
    return true;
}

}  // namespace

namespace core {

uint32_t CtrlEdgeDetect(int channel, uint32_t inputWord) {
    if (channel < 0 || channel > 2) return 0;
    std::atomic<uint32_t>* w = &L1()[kShwEdgeFirst + 3 * channel];  // high count, low count, pulse seen
    std::atomic<uint32_t>& high = w[0];
    std::atomic<uint32_t>& low = w[1];
    std::atomic<uint32_t>& pulse = w[2];
    if ((inputWord >> kEdgeInputBit[channel]) & 1u) {
        if (low != 0) pulse = 0;
        ++high;
        low = 0;
    } else {
        high = 0;
        ++low;
    }
    if (high > 1) {
        high = 0;
        pulse = 1;
    }
    if (low == 2) {
        const uint32_t fired = pulse;
        low = 0;
        pulse = 0;
        return fired;
    }
    return 0;
}

void CtrlTaskPass(StepRow*) {
    const uint32_t busy = IsSystemBusy();
    if (L1()[kShwBusy] != busy && L1()[kShwWritten] == 0) {
        L1()[kShwBusy] = busy;
        BusReg_SetPowerStageEnable(static_cast<int32_t>(busy));
        plat::SleepMs(50);
    }
    if (g_BusHold.load(kRelaxed) != 0) return;
    if (L1()[kShwHoldOff] != 0) {
        --L1()[kShwHoldOff];
        return;
    }
    // The changes up to here are what this pass can take up.
    const uint64_t issued = SettingsChangesIssued();
    ReconfigHandshake();
    ParallelStep();
    const bool settingTaken = SettingsStep();
    ArbUpdateStep();

    const uint32_t inputs = static_cast<uint32_t>(BusReg_Reserved0());
    if (GetExtControl() == 1 && CtrlEdgeDetect(0, inputs) != 0 && !OutputFlagTest(kOutFlagOutputOn))
        OutputToggle();

    bool quiet = !settingTaken && !ArbUpdatePending();
    // A SEQ/SIM function's runner owns the output: nothing of the settings is for this task to take up.
    uint64_t takenUp = ~uint64_t{0};
    if (SeqSimIsActive() != 0) {
        SeqSimStep();
    } else {
        quiet = SyncOutputSettings() && quiet;
        // Compared only while a change waits for it: an idle pass reads no setting twice.
        if (!SettingsChangeTaken(issued)) takenUp = SyncPartsTakenUp();
        if (CtrlEdgeDetect(1, inputs) != 0) TrigAct_Input(0);
        if (CtrlEdgeDetect(2, inputs) != 0) TrigAct_Input(1);
    }
    // The settings step takes one change a pass: the one it took leaves the rest of its list unseen.
    if (settingTaken || ArbUpdatePending()) takenUp &= ~(uint64_t{1} << kTaskStepsPart);
    NotePartsTakenUp(issued, takenUp);
    if (quiet) g_CtrlQuietPasses.fetch_add(1, kRelaxed);
    PowerOnStep();
}

}  // namespace core

// Set once at start-up, before the control task runs.
void CtrlTask_SetPowerOnEntries(const CtrlTaskPowerOnEntries& entries) {
    g_powerOnEntries = entries;
}
