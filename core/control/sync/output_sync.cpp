// One synchronisation pass and the writers its parts share.
#include "core/control/sync/output_sync.h"

#include "core/control/measure/meas_records.h"
#include "core/control/setting_accessors.h"
#include "core/control/sync/output_pending.h"
#include "core/control/sync/output_sync_internal.h"
#include "core/params/access/acv_unit.h"
#include "core/params/defaults/param_init.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/limits/wave_voltage.h"
#include "core/params/param_dirty.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/stage/wave_numbers.h"

using namespace core;
using namespace outsync;

// The power stage starts with nothing applied: the first pass writes every output register.
std::atomic<uint32_t> g_FullRewriteReq{1};
std::atomic<uint32_t> g_BalanceRecheckReq{0};
std::atomic<uint32_t> g_RemoteRecallBusy{0};
std::atomic<uint32_t> g_SyncFirstPassDone{0};
std::atomic<uint32_t> g_SettleWritesDone{0};
std::atomic<uint32_t> g_SlewRecheckReq{0};
std::atomic<uint32_t> g_PhaseModeChanged{0};

namespace core {

std::atomic<uint32_t> g_VoltSlewWord{0};

void OutputSyncReset() {
    g_FullRewriteReq.store(1, std::memory_order_relaxed);
    for (auto* word : {&g_BalanceRecheckReq, &g_RemoteRecallBusy, &g_SyncFirstPassDone, &g_SettleWritesDone,
                       &g_SlewRecheckReq, &g_PhaseModeChanged, &g_VoltSlewWord})
        word->store(0, std::memory_order_relaxed);
}

uint32_t SlewValueFor(int32_t selection, uint32_t revision, uint32_t modelType, uint32_t phaseMode,
                      bool parallelActive, uint32_t previous) {
    if (selection < 0 || selection > 2) return previous;
    if (revision != 1) {
        static constexpr uint32_t kOther[3] = {300, 80, 50};
        return kOther[selection];
    }
    if (VaClassOfModel(modelType) == kFamilyNone) return previous;
    // Both unit families of revision 1 take the same values.
    if (selection == 0) return 300;
    if (selection == 2) return 10;
    return parallelActive || phaseMode == kWiring1P2W ? 40 : 25;
}

}  // namespace core

namespace outsync {

namespace {

constexpr int32_t kIdleFrequency = 5000;  // 50.00 Hz
constexpr int32_t kIdleIrms = 2100;       // 21.00 A
constexpr int32_t kIdleGain = 10000;
constexpr uint32_t kRemoteRecallPauseMs = 200;
// The signal a synchronised output follows: its mode above the signal selection.
constexpr uint32_t kSignalModeShift = 8;

}  // namespace

void WritePhaseFromShadow(uint32_t phase) {
    const int p = static_cast<int>(phase);
    BusReg_SetAcv(regbus::Phase(p), ShI(phase, kShwAcv));
    BusReg_SetDcv(regbus::Phase(p), ShI(phase, kShwDcv));
    BusReg_SetFreq(ShI(phase, kShwFreq), regbus::Phase(p));
    BusReg_SetIrmsLimit(ShI(phase, kShwIrms), regbus::Phase(p));
    BusReg_SetGain(ShI(phase, kShwGain), regbus::Phase(p));
    BusReg_SetOnPhase(ShI(phase, kShwOnPhase), regbus::Phase(p));
    BusReg_SetOffPhase(ShI(phase, kShwOffPhase), regbus::Phase(p));
    BusReg_SetWaveform(regbus::Phase(p), ShI(phase, kShwWaveform) + 1);
    BusReg_SetDuty(regbus::Phase(p), ShI(phase, kShwDuty));
    ApplyPhaseStartStopEnable(p);
    ApplyIpkLimits(p);
}

void WriteIdlePhase(uint32_t phase) {
    const int p = static_cast<int>(phase);
    SetSh(phase, kShwAcv, 0);
    SetSh(phase, kShwDcv, 0);
    BusReg_SetAcv(regbus::Phase(p), 0);
    BusReg_SetDcv(regbus::Phase(p), 0);
    Store(kParamAcv, phase, 0);
    Store(kParamDcv2, phase, 0);
    BusReg_SetFreq(kIdleFrequency, regbus::Phase(p));
    BusReg_SetIrmsLimit(kIdleIrms, regbus::Phase(p));
    BusReg_SetGain(kIdleGain, regbus::Phase(p));
    BusReg_SetOnPhase(0, regbus::Phase(p));
    BusReg_SetOffPhase(0, regbus::Phase(p));
    BusReg_SetWaveform(regbus::Phase(p), kWaveCodeSin);
    ApplyPhaseStartStopEnable(p);
    ApplyIpkLimits(p);
}

void TakeWaveVoltages(uint32_t phase, bool limit, char* limited, unsigned size) {
    const int p = static_cast<int>(phase);
    int32_t acv;
    int32_t dcv;
    bool wasLimited = false;
    if (GetAcvUnit() == 1 && IsAcvUnitVppOfPhase(p)) {
        acv = GetAcvSetVpp(p);
        dcv = GetDcvSetVpp(p);
        if (limit && IsAcvOverVppLimitOfPhase(acv, p) > 0 && !NvWritesDisabled()) {
            acv = GetAcvMaxVppOfPhase(p);
            wasLimited = true;
        }
    } else {
        acv = GetAcvSetRms(p);
        dcv = GetDcvSetRms(p);
        Store(kParamDcv2, phase, dcv);
        // Shown in Vpp units although held in the rms set: the rms record limits are re-derived first.
        if (GetAcvUnit() == 1) VoltSettingCheckAll(Mode(), Area());
        if (limit && AcvExceedsMax(acv, p) != 0) {
            acv = GetAcvLimitMax(p);
            wasLimited = true;
        }
    }
    const uint32_t mode = Mode();
    if (mode == kModeDcInt) acv = 0;
    if (mode == kModeAcInt || mode == kModeAcAdd || mode == kModeAcSync) dcv = 0;
    if (wasLimited) AppendLimitedPhase(limited, size, p);
    SetSh(phase, kShwAcv, acv);
    SetSh(phase, kShwDcv, dcv);
}

void BalanceRebuild(uint32_t lastPhase) {
    if (NvWritesDisabled()) return;
    ParamTableInit();
    // The phases' settings blocks of the non-volatile memory are staged and written by the block store.
    for (uint32_t p = 0; p <= lastPhase; ++p)
        OutputPhaseInit(static_cast<int>(p));
    if (GetParallelPosition() == 1 && g_ParallelActive.load(kRelaxed) == 1) {
        for (int p = 0; p < 3; ++p) {
            BusReg_SetIpkLimitHigh(GetIpkMax(p), regbus::Phase(p));
            BusReg_SetIpkLimitLow(GetIpkMin(p), regbus::Phase(p));
        }
    }
}

uint32_t MeasuredFrequency100(uint32_t phase) {
    // Every phase record holds the one measured frequency.
    const float f = g_MeasLive[phase < 3 ? phase : 0].Get(kMfFreq);
    if (!(f > 0.0f)) return 0;
    return static_cast<uint32_t>(f * 100.0f);
}

void FrequencyStep(Pass* pass) {
    const uint32_t mode = Mode();
    const uint32_t sel = Sel();
    if (!SyncMode(mode)) {
        SyncReadingSeen(false, 0, false);
        g_ParamFlags.fetch_and(~kFlagSyncMissing, kRelaxed);
        int changed = -1;
        if (panel::DirtyTest(kDirtyFreq))
            changed = static_cast<int>(sel);
        else if (Settled())
            changed = ChangedPhase(settings::Row(settings::kSetFreq), StoredValue);
        if (changed < 0) return;
        const uint32_t phase = static_cast<uint32_t>(changed);
        const int32_t value = Param(kParamFreq, phase);
        // A change found on another line than the selected one is that line's alone.
        if ((!IsBalanceActive() && !EditAll() && Wiring() != kWiring1P3W) || phase != sel) {
            SetSh(phase, kShwFreq, value);
            BusReg_SetFreq(value, regbus::Phase(phase));
            SetWaveDuty(GetDutyForFreq(value, changed), changed, 999, 1);
            // A mark left from an edit of all phases is taken as done, or it would rewrite every pass.
            panel::DirtyClear(kDirtyFreq);
        } else {
            for (uint32_t p = 0; p <= LastPhase(); ++p) {
                SetWaveDuty(GetDutyForFreq(value, static_cast<int>(p)), static_cast<int>(p), 999, 1);
                SetSh(p, kShwFreq, value);
                BusReg_SetFreq(value, regbus::Phase(p));
                Store(kParamFreq, p, value);
            }
            g_OutputRefresh.store(1, kRelaxed);
            ClearParamGroupMarks();
        }
        Sh(0, kShwWritten) = 1;
        pass->apply = true;
        return;
    }
    const uint32_t measured = MeasuredFrequency100(sel);
    Sh(sel, kShwMeasFreq) = measured;
    const bool inWindow = measured >= 1000 && measured <= 210000;
    SyncReadingSeen(true, mode << kSignalModeShift | static_cast<uint32_t>(GetMainSig()), inWindow);
    if (inWindow) {
        g_ParamFlags.fetch_and(~kFlagSyncMissing, kRelaxed);
        Sh(sel, kShwFreq) = measured;
    } else {
        g_ParamFlags.fetch_or(kFlagSyncMissing, kRelaxed);
    }
    if ((g_ParamFlags.load(kRelaxed) & kFlagSyncMissing) && Sh(sel, kShwFreq) != 0) {
        Sh(sel, kShwFreq) = 0;
        if (OutputFlagTest(kOutFlagOutputOn)) SysStatusSet(kSysSyncSourceMissing);
    }
}

}  // namespace outsync

namespace {

void SelectedLineStep() {
    const uint32_t line = static_cast<uint32_t>(GetSelectedLine()) & 3u;
    if (line == Sel()) return;
    const uint32_t mode = Mode();
    const bool forceL1 = Wiring() == kWiring1P3W && (mode <= kModeAcInt || mode >= kModeAcDcSync);
    const uint32_t next = forceL1 ? 0 : line;
    // Only a change of the line in use starts a new settling pass.
    if (next == Sel()) return;
    if (EditAll()) OutputFlagClear(kOutFlagSettled);
    SetSel(next);
}

void BalanceStep(Pass* pass) {
    const int32_t balance = GetPhaseBalanceMode();
    if (!ShDiffers(0, kShwBalanceMode, balance) && g_BalanceRecheckReq.load(kRelaxed) != 1) return;
    SetSh(0, kShwBalanceMode, balance);
    if (g_BalanceRecheckReq.load(kRelaxed) == 0 && g_SyncFirstPassDone.load(kRelaxed) == 1 &&
        Wiring() == kWiring3P4W)
        BalanceRebuild(2);
    g_OutputRefresh.store(1, kRelaxed);
    Sh(0, kShwWritten) = 1;
    pass->apply = true;
}

void EndOfPass(const Pass& pass) {
    if (pass.apply) BusReg_Apply(1);
    if (pass.options) {
        BusReg_SetServiceFlags(static_cast<int32_t>(g_OutputOptionWord.load(kRelaxed)));
        BusReg_Apply(1);
    }
    g_CtrlStartupWord.store(0, kRelaxed);
    g_BalanceRecheckReq.store(0, kRelaxed);
    g_SyncFirstPassDone.store(1, kRelaxed);
}

}  // namespace

uint64_t SyncPartsTakenUp() {
    // The group marks of edits of all phases are taken up within the pass that meets them.
    bool rest = Settled() && !ShDiffers(0, kShwAcvUnit, GetAcvUnit()) &&
                g_FullRewriteReq.load(kRelaxed) == 0 && g_BalanceRecheckReq.load(kRelaxed) == 0 &&
                !ShDiffers(0, kShwBalanceMode, GetPhaseBalanceMode()) &&
                !ShDiffers(0, kShwPhaseMode, static_cast<int32_t>(Wiring())) &&
                !ShDiffers(0, kShwMode, static_cast<int32_t>(Mode())) &&
                !ShDiffers(0, kShwRange, static_cast<int32_t>(GetVoltRangeCode()));
    if (rest && !SyncMode(Mode())) rest = ChangedPhase(settings::Row(settings::kSetFreq), StoredValue) < 0;
    // Off the settled state the links do not compare: none of them is found taken up.
    return rest ? ChainLinksTakenUp() : ~((uint64_t{2} << kSyncRestPart) - 1);
}

bool SyncOutputSettings() {
    Pass pass;
    SelectedLineStep();
    // The control task takes the unit change first.
    if (ShDiffers(0, kShwAcvUnit, GetAcvUnit())) return false;
    if (GetRemoteSense() == 1 && RemoteSenseBlockReason() != 0) SetRemoteSense(0);
    if (g_RemoteRecallBusy.load(kRelaxed) == 1) plat::SleepMs(kRemoteRecallPauseMs);
    BalanceStep(&pass);
    if (ShDiffers(0, kShwPhaseMode, static_cast<int32_t>(Wiring())) || g_FullRewriteReq.load(kRelaxed) == 1)
        FullRewrite(&pass);
    // A mode or range change ends its pass without the strobe: the settling pass that follows raises it.
    if (ShDiffers(0, kShwMode, static_cast<int32_t>(Mode()))) {
        ModeChange(&pass);
    } else if (ShDiffers(0, kShwRange, static_cast<int32_t>(GetVoltRangeCode()))) {
        RangeChange(&pass);
    } else {
        ChangeChain(&pass);
        FrequencyStep(&pass);
        EndOfPass(pass);
        // The frequency and the balance mode are written beside the chain: a pass that wrote either has
        // taken up a change too.
        return pass.settled && !pass.apply && !pass.options;
    }
    SpreadVoltageToWaves();
    VoltSettingCheckAll(Mode(), Area());
    return false;
}
