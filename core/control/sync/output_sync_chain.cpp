// The change chain: with mode and range unchanged, the first changed setting in priority order is written;
// one per pass. Each link names its setting's row, how a change is seen and what is done with it.
#include "core/control/measure/meas_average.h"
#include "core/control/measure/measurement.h"
#include "core/control/setting_accessors.h"
#include "core/control/sync/output_pending.h"
#include "core/control/sync/output_sync.h"
#include "core/control/sync/output_sync_internal.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_dirty.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/sys_status.h"

using namespace core;
using namespace settings;
using panel::DirtyTest;

namespace outsync {

namespace {

// What the chain read at the start of its pass, and the value a link's test read for its change.
struct Now {
    uint32_t sel;
    bool edit;
    bool splitPhase;
    int32_t value = 0;
    uint32_t phase = 0;  // the phase whose change a per-phase link takes
};

// How a pass that took a link ends: the apply strobe with "written"; the option word alone; the option
// word with "written"; nothing (a setting without a register).
enum class End : uint8_t { kStrobe, kOptions, kOptionsWritten, kNone };

struct Link {
    Setting setting;
    bool (*changed)(const SettingRow& row, Now& now);
    void (*apply)(const SettingRow& row, const Now& now);
    End end;
};

// --- Tests ---

// The first phase whose value differs from its shadow word, into now.phase.
bool TakeChangedPhase(const SettingRow& row, Now& now, int32_t (*valueOf)(const SettingRow&, uint32_t)) {
    const int phase = ChangedPhase(row, valueOf);
    if (phase < 0) return false;
    now.phase = static_cast<uint32_t>(phase);
    return true;
}
// A per-phase setting changed: a marked group (an edit of all phases) on the selected line; values are
// compared only while settled.
bool MarkedOrChanged(const SettingRow& row, Now& now, int32_t (*valueOf)(const SettingRow&, uint32_t)) {
    if (DirtyTest(row.group)) {
        now.phase = now.sel;
        return true;
    }
    return Settled() && TakeChangedPhase(row, now, valueOf);
}
bool PhaseChanged(const SettingRow& row, Now& now) {
    return MarkedOrChanged(row, now, StoredValue);
}
// The selected line's waveform is always compared. A single line that is not settled yet takes its
// waveform in the settling pass, which this link would otherwise never let run.
bool WaveformChanged(const SettingRow& row, Now& now) {
    if ((ShDiffers(now.sel, row.shadow, Param(row.id, now.sel)) || DirtyTest(row.group)) &&
        (now.edit || now.splitPhase || Settled())) {
        now.phase = now.sel;
        return true;
    }
    return Settled() && TakeChangedPhase(row, now, StoredValue);
}
bool LineAcvChanged(const SettingRow& row, Now&) {
    return ShDiffers(kLineShadow, row.shadow, Param1(row.id)) &&
           (DirtyTest(row.group) || DirtyTest(kDirtyLineAcv2));
}
bool LineDcvChanged(const SettingRow& row, Now&) {
    return ShDiffers(kLineShadow, row.shadow, Param1(row.id)) &&
           (DirtyTest(row.group) || DirtyTest(kDirtyLineDcv2));
}
bool EnableChanged(const SettingRow& row, Now& now) {
    return MarkedOrChanged(row, now, EnableState);
}
// The signal selection is compared only while settled.
bool SignalChanged(const SettingRow& row, Now& now) {
    return Settled() && TakeChangedPhase(row, now, StoredValue);
}
// A setting of L1 compared with its shadow word; the value read is kept for the change.
bool L1Changed(const SettingRow& row, Now& now) {
    now.value = Param1(row.id);
    return ShDiffers(0, row.shadow, now.value);
}
bool SlewChanged(const SettingRow& row, Now& now) {
    return L1Changed(row, now) || g_SlewRecheckReq.load(kRelaxed) != 0;
}

// --- Changes ---

void ApplyEdit(const SettingRow& row, const Now& now) {
    ApplyPhaseSetting(now.edit, row, now.phase);
}
void ApplyEditOrSplit(const SettingRow& row, const Now& now) {
    ApplyPhaseSetting(now.edit || now.splitPhase, row, now.phase);
}
void ApplySource(const SettingRow& row, const Now& now) {
    ApplyPhaseSetting(IsBalanceActive() || now.edit || now.splitPhase, row, now.phase);
}
// Off the settled state only an edit of all phases writes the duty; a single line's mark is dropped.
void ApplyDuty(const SettingRow& row, const Now& now) {
    if (now.edit || Settled())
        ApplyPhaseSetting(now.edit, row, now.phase);
    else
        panel::DirtyClear(row.group);
    g_OutputRefresh.store(1, kRelaxed);
}
void ApplyWaveform(const SettingRow&, const Now& now) {
    WaveformChange(now.phase);
}
void ApplyAcv(const SettingRow&, const Now& now) {
    AcvChange(now.phase);
}
void ApplyLineAcv(const SettingRow&, const Now&) {
    LineAcvChange();
}
void ApplyDcv(const SettingRow&, const Now& now) {
    DcvChange(now.phase);
}
void ApplyLineDcv(const SettingRow&, const Now&) {
    LineDcvChange();
}
void ApplyEnable(const SettingRow& row, const Now& now) {
    EnableChange(row, now.phase);
}
void ApplySignal(const SettingRow&, const Now& now) {
    SignalChange(now.phase);
}
void ApplySlew(const SettingRow&, const Now&) {
    SlewChange();
}
void ApplyRemoteSense(const SettingRow& row, const Now&) {
    RemoteSenseChange(row);
}
// The L2 and L3 angle words depend on the synchronisation phase: written again with it.
void ApplySyncPhase(const SettingRow& row, const Now& now) {
    SetSh(0, row.shadow, now.value);
    BusReg_SetSyncPhase(ShI(0, row.shadow));
    BusReg_SetPhaseAngleL2(ShI(0, Row(kSetAngleL2).shadow));
    BusReg_SetPhaseAngleL3(ShI(0, Row(kSetAngleL3).shadow));
}
void ApplyAngleL2(const SettingRow& row, const Now& now) {
    SetSh(0, row.shadow, now.value);
    BusReg_SetPhaseAngleL2(ShI(0, row.shadow));
}
void ApplyAngleL3(const SettingRow& row, const Now& now) {
    SetSh(0, row.shadow, now.value);
    BusReg_SetPhaseAngleL3(ShI(0, row.shadow));
}
void ApplyOption(const SettingRow& row, const Now& now) {
    TakeOption(row, now.value);
}
void ApplyIpkLimitMode(const SettingRow& row, const Now& now) {
    TakeOption(row, now.value);
    for (uint32_t p = 0; p <= LastPhase(); ++p)
        ApplyIpkLimits(static_cast<int>(p));
}
// Output impedance on takes the fastest slew down to the middle one.
void ApplyImpedance(const SettingRow& row, const Now& now) {
    TakeOption(row, now.value);
    if (GetOutputImpedance() == 1 && GetSlewRate() == 2) SetSlewRate(1);
}
// Measurement averaging and pacing: no register.
void ApplyAvgCount(const SettingRow& row, const Now& now) {
    SetSh(0, row.shadow, now.value);
    MeasAvg_ResetAll(now.value);
}
void ApplyUpdateRate(const SettingRow& row, const Now& now) {
    SetSh(0, row.shadow, now.value);
    MeasUpdateRate_Set(now.value);
}

// clang-format off
constexpr Link kChain[] = {
    {kSetWaveform,      WaveformChanged, ApplyWaveform,     End::kStrobe},
    {kSetDuty,          PhaseChanged,    ApplyDuty,         End::kStrobe},
    {kSetAcv,           PhaseChanged,    ApplyAcv,          End::kStrobe},
    {kSetLineAcv,       LineAcvChanged,  ApplyLineAcv,      End::kStrobe},
    {kSetDcv,           PhaseChanged,    ApplyDcv,          End::kStrobe},
    {kSetLineDcv,       LineDcvChanged,  ApplyLineDcv,      End::kStrobe},
    {kSetGain,          PhaseChanged,    ApplyEdit,         End::kStrobe},
    {kSetIrms,          PhaseChanged,    ApplyEdit,         End::kStrobe},
    {kSetIpkHigh,       PhaseChanged,    ApplyEditOrSplit,  End::kStrobe},
    {kSetIpkLow,        PhaseChanged,    ApplyEditOrSplit,  End::kStrobe},
    {kSetOnEnable,      EnableChanged,   ApplyEnable,       End::kStrobe},
    {kSetOffEnable,     EnableChanged,   ApplyEnable,       End::kStrobe},
    {kSetOnPhase,       PhaseChanged,    ApplyEdit,         End::kStrobe},
    {kSetOffPhase,      PhaseChanged,    ApplyEdit,         End::kStrobe},
    {kSetSyncPhase,     L1Changed,       ApplySyncPhase,    End::kStrobe},
    {kSetAngleL2,       L1Changed,       ApplyAngleL2,      End::kStrobe},
    {kSetAngleL3,       L1Changed,       ApplyAngleL3,      End::kStrobe},
    {kSetSignal,        SignalChanged,   ApplySignal,       End::kStrobe},
    {kSetSource,        PhaseChanged,    ApplySource,       End::kStrobe},
    {kSetOutputRelay,   L1Changed,       ApplyOption,       End::kOptions},
    {kSetRemoteSense,   L1Changed,       ApplyRemoteSense,  End::kOptionsWritten},
    {kSetSlew,          SlewChanged,     ApplySlew,         End::kStrobe},
    {kSetExtControl,    L1Changed,       ApplyOption,       End::kOptions},
    {kSetRelock,        L1Changed,       ApplyOption,       End::kOptionsWritten},
    {kSetAvgCount,      L1Changed,       ApplyAvgCount,     End::kNone},
    {kSetUpdateRate,    L1Changed,       ApplyUpdateRate,   End::kNone},
    {kSetIrmsLimitMode, L1Changed,       ApplyOption,       End::kOptionsWritten},
    {kSetIpkLimitMode,  L1Changed,       ApplyIpkLimitMode, End::kOptionsWritten},
    {kSetSetChange,     L1Changed,       ApplyOption,       End::kOptions},
    {kSetImpedance,     L1Changed,       ApplyImpedance,    End::kOptions},
};
// clang-format on

// A link's test and change read the row's shadow word; a per-phase test reads every phase, an L1 test
// L1 only; a generic change writes through the row's writer.
constexpr bool LinksFitRows() {
    for (const Link& l : kChain) {
        const SettingRow& r = Row(l.setting);
        if (r.shadow == kNoShadow) return false;
        if (l.changed == PhaseChanged && (r.lines != Lines::kPerPhase || r.group == kNoGroup)) return false;
        if ((l.changed == L1Changed || l.changed == SlewChanged) && r.lines != Lines::kL1) return false;
        if ((l.apply == ApplyEdit || l.apply == ApplyEditOrSplit || l.apply == ApplySource ||
             l.apply == ApplyDuty) &&
            r.write == nullptr)
            return false;
        if ((l.apply == ApplyOption || l.apply == ApplyImpedance || l.apply == ApplyIpkLimitMode ||
             l.apply == ApplyRemoteSense) &&
            r.optionBits == 0)
            return false;
    }
    return true;
}
// GCC cannot compare function addresses while compiling with UndefinedBehaviorSanitizer (VRN_UBSAN): this
// check is left to the other builds.
#ifndef VRN_UBSAN
static_assert(LinksFitRows(), "each link's test and change suit its setting's row");
#endif

constexpr bool EachSettingOnce() {
    for (unsigned i = 0; i < std::size(kChain); ++i)
        for (unsigned j = i + 1; j < std::size(kChain); ++j)
            if (kChain[i].setting == kChain[j].setting) return false;
    return true;
}
static_assert(EachSettingOnce(), "a setting has one place in the chain");

void EndPass(End end, Pass* pass) {
    switch (end) {
        case End::kStrobe:
            Sh(0, kShwWritten) = 1;
            pass->apply = true;
            break;
        case End::kOptionsWritten:
            Sh(0, kShwWritten) = 1;
            pass->options = true;
            break;
        case End::kOptions:
            pass->options = true;
            break;
        case End::kNone:
            break;
    }
}

// The group re-checks of edits made to all phases; false when the chain ends here.
bool GroupRechecks() {
    const bool allPhases = EditAll() || Wiring() == kWiring1P3W;
    if (allPhases && (DirtyTest(kDirtyFreqLimitHigh) || DirtyTest(kDirtyFreqLimitLow))) {
        FreqLimitCheck(Mode());
        ClearParamGroupMarks();
    }
    if (allPhases && (DirtyTest(kDirtyVpkHigh) || DirtyTest(kDirtyVpkLow))) {
        VpkLimitCheck(Area());
        ClearParamGroupMarks();
    }
    if (!DirtyTest(kDirtyVoltLimit)) return true;
    if (allPhases) {
        VoltLimitCheck(Area());
        ClearParamGroupMarks();
        return false;
    }
    // A voltage-limit mark left from an edit of all phases has nothing to apply to a single phase: it is
    // dropped, so that it does not hold every later change back.
    panel::DirtyClear(kDirtyVoltLimit);
    return true;
}

}  // namespace

uint64_t ChainLinksTakenUp() {
    static_assert(std::size(kChain) < core::kOutputParts - 2, "a part of the chain for each link");
    Now now{Sel(), EditAll(), Wiring() == kWiring1P3W};
    uint64_t takenUp = ~uint64_t{0};
    for (unsigned i = 0; i < std::size(kChain); ++i)
        if (kChain[i].changed(Row(kChain[i].setting), now)) takenUp &= ~(uint64_t{1} << i);
    return takenUp;
}

void ChangeChain(Pass* pass) {
    if (!GroupRechecks()) return;
    Now now{Sel(), EditAll(), Wiring() == kWiring1P3W};
    for (const Link& link : kChain) {
        const SettingRow& row = Row(link.setting);
        if (!link.changed(row, now)) continue;
        link.apply(row, now);
        return EndPass(link.end, pass);
    }
    // Nothing changed and settled: the second such pass reports the system ready.
    if (Settled()) {
        pass->settled = true;
        if (Sh(0, kShwWritten) != 1) {
            SysStatusSet(kSysReady);
            SysStatusClear(kSysResetDone);
        } else {
            Sh(0, kShwWritten) = 0;
        }
        return;
    }
    SettlingPass(pass);
}

}  // namespace outsync
