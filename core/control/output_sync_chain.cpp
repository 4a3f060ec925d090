// The change chain: with mode and range unchanged, the first changed setting in priority order is written;
// one per pass.
#include "core/control/measure/meas_average.h"
#include "core/control/measure/measurement.h"
#include "core/control/output_sync.h"
#include "core/control/output_sync_internal.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/acv_unit.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_dirty.h"
#include "core/params/limits/wave_voltage.h"
#include "core/regbus/regbus.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/parallel_link.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

using namespace core;
using panel::DirtyTest;

namespace outsync {

namespace {

constexpr uint32_t kRemoteSenseOffPauseMs = 100;

using PhaseWriter = void (*)(int32_t v, uint32_t phase);

void WriteAcv(int32_t v, uint32_t p) {
    BusReg_SetAcv(static_cast<int>(p), v);
}
void WriteDcv(int32_t v, uint32_t p) {
    BusReg_SetDcv(static_cast<int>(p), v);
}
void WriteGain(int32_t v, uint32_t p) {
    BusReg_SetGain(v, static_cast<int>(p));
}
void WriteIrms(int32_t v, uint32_t p) {
    BusReg_SetIrmsLimit(v, static_cast<int>(p));
}
void WriteOnPhase(int32_t v, uint32_t p) {
    BusReg_SetOnPhase(v, static_cast<int>(p));
}
void WriteOffPhase(int32_t v, uint32_t p) {
    BusReg_SetOffPhase(v, static_cast<int>(p));
}
void WriteSource(int32_t v, uint32_t p) {
    BusReg_SetSource(v, static_cast<int>(p));
}
void WriteDuty(int32_t v, uint32_t p) {
    BusReg_SetDuty(static_cast<int>(p), v);
}

// A per-phase setting changed on line `sel`: compared only while settled; a marked group always counts.
bool PhaseChanged(int word, uint32_t id, ParamDirtyFlag group) {
    const uint32_t sel = Sel();
    return (Settled() && ShDiffers(sel, word, Param(id, sel))) || DirtyTest(group);
}

// Single handling: the selected line's value into its shadow word and register; a group mark (left from an
// edit of all phases) is taken as done, so it cannot hold the chain at this entry. All-phase handling:
// every phase of the wiring takes the selected line's value, is written and stored, and the groups are
// cleared.
void ApplyPhaseSetting(bool allPhases, int word, uint32_t id, PhaseWriter write, ParamDirtyFlag group) {
    const uint32_t sel = Sel();
    const int32_t v = Param(id, sel);
    if (!allPhases) {
        SetSh(sel, word, v);
        write(v, sel);
        panel::DirtyClear(group);
        return;
    }
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        SetSh(p, word, v);
        write(v, p);
        Store(id, p, v);
    }
    MarkParamGroupChanged(0, kParamNone);
}

void SetOptionBits(uint32_t firstBit, uint32_t count, bool on) {
    for (uint32_t b = firstBit; b < firstBit + count; ++b) {
        if (on)
            g_OutputOptionWord.fetch_or(1u << b, kRelaxed);
        else
            g_OutputOptionWord.fetch_and(~(1u << b), kRelaxed);
    }
}

// An option setting compared on L1: stores it and sets its option bits from bit 0 of the value.
bool OptionChanged(int word, int32_t value, uint32_t firstBit, uint32_t count) {
    if (!ShDiffers(0, word, value)) return false;
    SetSh(0, word, value);
    SetOptionBits(firstBit, count, (value & 1) != 0);
    return true;
}

void ShowLineLimit(int phase) {
    ShowMessage(3, "L%d ACV out of range\ndue to wave modification\n(Setting Voltage Limited)", phase + 1);
}

// The waveform of the phase taken: its voltages from the records of the new waveform, limited to what
// the waveform allows; true when the AC voltage was limited.
bool TakeWaveform(uint32_t p, int32_t wave, bool writeRegister) {
    const int phase = static_cast<int>(p);
    SetSh(p, kShwWaveform, wave);
    Store(kParamWaveShape, p, wave);
    if (writeRegister) BusReg_SetWaveform(phase, wave + 1);
    int32_t acv;
    int32_t dcv;
    bool limited = false;
    if (GetAcvUnit() == 1 && IsAcvUnitVppOfPhase(phase)) {
        acv = GetAcvSetVpp(phase);
        dcv = GetDcvSetVpp(phase);
        if (IsAcvOverVppLimitOfPhase(acv, phase) > 0 && !NvWritesDisabled()) {
            acv = GetAcvMaxVppOfPhase(phase);
            limited = true;
        }
    } else {
        if (GetAcvUnit() == 1) {
            acv = GetAcvSetRms(phase);
            dcv = GetDcvSetRms(phase);
        } else {
            acv = ShI(p, kShwSpreadFirst);
            dcv = ShI(p, kShwSpreadFirst + 2);
        }
        Store(kParamDcv2, p, dcv);
        VoltSettingCheckAll(Mode(), Area());
        if (AcvExceedsMax(acv, phase) != 0) {
            acv = GetAcvLimitMax(phase);
            limited = true;
        }
    }
    SetSh(p, kShwAcv, acv);
    SetSh(p, kShwDcv, dcv);
    BusReg_SetAcv(phase, acv);
    BusReg_SetDcv(phase, dcv);
    Store(kParamAcv, p, acv);
    Store(kParamDcv2, p, dcv);
    return limited;
}

void WaveformChange() {
    const uint32_t sel = Sel();
    const int32_t wave = Param(kParamWaveShape, sel);
    if (EditAll() || Wiring() == kWiring1P3W) {
        char limited[32] = "";
        for (uint32_t p = 0; p <= LastPhase(); ++p) {
            if (!ShDiffers(p, kShwWaveform, wave)) continue;
            if (TakeWaveform(p, wave, Settled()))
                AppendLimitedPhase(limited, sizeof limited, static_cast<int>(p));
        }
        if (limited[0] != '\0') ShowWaveLimitMessage(limited);
        LineValueFromPhase(kParamAcvLine);
        LineValueFromPhase(kParamDcvLine);
        MarkParamGroupChanged(0, kParamNone);
    } else if (Settled()) {
        if (TakeWaveform(sel, wave, true)) ShowLineLimit(static_cast<int>(sel));
        panel::DirtyClear(kDirtyWave);
    }
    g_OutputRefresh.store(2, kRelaxed);
    SpreadVoltageToWaves();
    VoltSettingCheckAll(Mode(), Area());
}

void AcvChange() {
    const bool all = IsBalanceActive() || EditAll();
    ApplyPhaseSetting(all, kShwAcv, kParamAcv, WriteAcv, kDirtyAcv);
    if (all) {
        LineValueFromPhase(kParamAcvLine);
        g_OutputRefresh.store(1, kRelaxed);
    }
    SpreadVoltageToWaves();
    VoltSettingCheckAll(Mode(), Area());
}

void LineAcvChange() {
    const int32_t line = Param1(kParamAcvLine);
    SetSh(kLineShadow, kShwAcv, line);
    const uint32_t wiring = Wiring();
    if (wiring == kWiring3P4W || wiring == kWiring1P3W) {
        const int32_t phaseValue =
            wiring == kWiring3P4W ? static_cast<int32_t>(line / kSqrt3 + 0.5) : line / 2;
        for (uint32_t p = 0; p <= LastPhase(); ++p) {
            SetSh(p, kShwAcv, phaseValue);
            WriteAcv(phaseValue, p);
            Store(kParamAcv, p, phaseValue);
        }
    }
    panel::DirtyClear(kDirtyLineAcv);
    panel::DirtyClear(kDirtyLineAcv2);
    SpreadVoltageToWaves();
    VoltSettingCheckAll(Mode(), Area());
}

void DcvChange() {
    const uint32_t wiring = Wiring();
    const int32_t v = Param(kParamDcv2, Sel());
    if (wiring == kWiring1P3W) {
        const int32_t halves[2] = {v, -v};
        for (uint32_t p = 0; p < 2; ++p) {
            SetSh(p, kShwDcv, halves[p]);
            WriteDcv(halves[p], p);
            Store(kParamDcv2, p, halves[p]);
        }
        MarkParamGroupChanged(0, kParamNone);
        LineValueFromPhase(kParamDcvLine);
    } else if (wiring == kWiring3P4W && EditAll()) {
        ApplyPhaseSetting(true, kShwDcv, kParamDcv2, WriteDcv, kDirtyDcv);
        LineValueFromPhase(kParamDcvLine);
    } else {
        ApplyPhaseSetting(false, kShwDcv, kParamDcv2, WriteDcv, kDirtyDcv);
    }
}

void LineDcvChange() {
    const int32_t line = Param1(kParamDcvLine);
    SetSh(kLineShadow, kShwDcv, line);
    const uint32_t mode = Mode();
    if (GetPhaseBalanceMode() == 1 && EditAll() && (mode == kModeAcDcInt || mode == kModeAcDcSync)) {
        const uint32_t wiring = Wiring();
        int32_t values[3] = {line, line, line};
        if (wiring == kWiring1P3W) {
            values[0] = line / 2;
            values[1] = -(line / 2);
        }
        if (wiring != kWiring1P2W) {
            for (uint32_t p = 0; p <= LastPhase(); ++p) {
                SetSh(p, kShwDcv, values[p]);
                WriteDcv(values[p], p);
                Store(kParamDcv2, p, values[p]);
            }
        }
    }
    panel::DirtyClear(kDirtyLineDcv);
    panel::DirtyClear(kDirtyLineDcv2);
}

void EnableChange(int word, uint32_t stateId, int32_t (*getState)(int)) {
    const uint32_t sel = Sel();
    const int32_t state = getState(static_cast<int>(sel));
    if (!EditAll()) {
        SetSh(sel, word, state);
        ApplyPhaseStartStopEnable(static_cast<int>(sel));
        MarkPhaseAngleChanged(0);
        return;
    }
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        SetSh(p, word, state);
        paramPutValue(1, stateId + p, state, p);
        ApplyPhaseStartStopEnable(static_cast<int>(p));
    }
    MarkPhaseAngleChanged(0);
}

void SignalChange() {
    const uint32_t sel = Sel();
    const int32_t v = Param(kParamMainSig, sel);
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        if (EditAll()) {
            SetSh(p, kShwSig, v);
            Store(kParamMainSig, p, v);
        } else if (p == sel) {
            SetSh(p, kShwSig, v);
        } else {
            SetMainSig(v, static_cast<int>(p));
        }
    }
    BusReg_SetSignal(v);
}

void SlewChange() {
    const int32_t selection = GetSlewRate();
    SetSh(0, kShwSlew, selection);
    const uint32_t value =
        SlewValueFor(selection, g_CtrlFwVersion.load(kRelaxed), g_ModelId.load(kRelaxed), Wiring(),
                     g_ParallelActive.load(kRelaxed) == 1, g_VoltSlewWord.load(kRelaxed));
    g_VoltSlewWord.store(value, kRelaxed);
    BusReg_SetVoltSlew(static_cast<int32_t>(value));
    g_SlewRecheckReq.store(0, kRelaxed);
}

void MarkWritten(Pass* pass) {
    Sh(0, kShwWritten) = 1;
    pass->apply = true;
}

// The group re-checks of edits made to all phases; false when the chain ends here.
bool GroupRechecks() {
    const bool allPhases = EditAll() || Wiring() == kWiring1P3W;
    if (allPhases && (DirtyTest(kDirtyFreqLimitHigh) || DirtyTest(kDirtyFreqLimitLow))) {
        FreqLimitCheck(Mode());
        MarkParamGroupChanged(0, kParamNone);
    }
    if (allPhases && (DirtyTest(kDirtyVpkHigh) || DirtyTest(kDirtyVpkLow))) {
        VpkLimitCheck(Area());
        MarkParamGroupChanged(0, kParamNone);
    }
    if (!DirtyTest(kDirtyVoltLimit)) return true;
    if (allPhases) {
        VoltLimitCheck(Area());
        MarkParamGroupChanged(0, kParamNone);
        return false;
    }
    // A voltage-limit mark left from an edit of all phases has nothing to apply to a single phase: it is
    // dropped, so that it does not hold every later change back.
    panel::DirtyClear(kDirtyVoltLimit);
    return true;
}

}  // namespace

void ChangeChain(Pass* pass) {
    if (!GroupRechecks()) return;
    const uint32_t sel = Sel();
    const bool edit = EditAll();
    const bool splitPhase = Wiring() == kWiring1P3W;

    // 1 waveform: always compared. A single line that is not settled yet takes its waveform in the
    // settling pass, which this entry would otherwise never let run.
    if ((ShDiffers(sel, kShwWaveform, Param(kParamWaveShape, sel)) || DirtyTest(kDirtyWave)) &&
        (edit || splitPhase || Settled())) {
        WaveformChange();
        return MarkWritten(pass);
    }
    // 2 duty
    if (PhaseChanged(kShwDuty, kParamWaveDuty, kDirtyDuty)) {
        if (edit || Settled())
            ApplyPhaseSetting(edit, kShwDuty, kParamWaveDuty, WriteDuty, kDirtyDuty);
        else
            panel::DirtyClear(kDirtyDuty);
        g_OutputRefresh.store(1, kRelaxed);
        return MarkWritten(pass);
    }
    // 3 AC voltage
    if (PhaseChanged(kShwAcv, kParamAcv, kDirtyAcv)) {
        AcvChange();
        return MarkWritten(pass);
    }
    // 4 line AC voltage
    if (ShDiffers(kLineShadow, kShwAcv, Param1(kParamAcvLine)) &&
        (DirtyTest(kDirtyLineAcv) || DirtyTest(kDirtyLineAcv2))) {
        LineAcvChange();
        return MarkWritten(pass);
    }
    // 5 DC voltage
    if (PhaseChanged(kShwDcv, kParamDcv2, kDirtyDcv)) {
        DcvChange();
        return MarkWritten(pass);
    }
    // 6 line DC voltage
    if (ShDiffers(kLineShadow, kShwDcv, Param1(kParamDcvLine)) &&
        (DirtyTest(kDirtyLineDcv) || DirtyTest(kDirtyLineDcv2))) {
        LineDcvChange();
        return MarkWritten(pass);
    }
    // 7 gain, 8 rms current limit
    if (PhaseChanged(kShwGain, kParamGain, kDirtyGain)) {
        ApplyPhaseSetting(edit, kShwGain, kParamGain, WriteGain, kDirtyGain);
        return MarkWritten(pass);
    }
    if (PhaseChanged(kShwIrms, kParamCurrLimit2, kDirtyIrms)) {
        ApplyPhaseSetting(edit, kShwIrms, kParamCurrLimit2, WriteIrms, kDirtyIrms);
        return MarkWritten(pass);
    }
    // 9, 10 peak current limits
    if (PhaseChanged(kShwIpkHigh, kParamIpkMax, kDirtyIpkHigh)) {
        ApplyPhaseSetting(edit || splitPhase, kShwIpkHigh, kParamIpkMax, WriteIpkHigh, kDirtyIpkHigh);
        return MarkWritten(pass);
    }
    if (PhaseChanged(kShwIpkLow, kParamIpkMin, kDirtyIpkLow)) {
        ApplyPhaseSetting(edit || splitPhase, kShwIpkLow, kParamIpkMin, WriteIpkLow, kDirtyIpkLow);
        return MarkWritten(pass);
    }
    // 11, 12 phase enables
    if ((Settled() && ShDiffers(sel, kShwOnEnable, GetOnPhaseState(static_cast<int>(sel)))) ||
        DirtyTest(kDirtyOnEnable)) {
        EnableChange(kShwOnEnable, kParamOnPhase, GetOnPhaseState);
        return MarkWritten(pass);
    }
    if ((Settled() && ShDiffers(sel, kShwOffEnable, GetOffPhaseState(static_cast<int>(sel)))) ||
        DirtyTest(kDirtyOffEnable)) {
        EnableChange(kShwOffEnable, kParamOffPhase, GetOffPhaseState);
        return MarkWritten(pass);
    }
    // 13, 14 phase angles
    if (PhaseChanged(kShwOnPhase, kParamOnPhase, kDirtyOnPhase)) {
        ApplyPhaseSetting(edit, kShwOnPhase, kParamOnPhase, WriteOnPhase, kDirtyOnPhase);
        return MarkWritten(pass);
    }
    if (PhaseChanged(kShwOffPhase, kParamOffPhase, kDirtyOffPhase)) {
        ApplyPhaseSetting(edit, kShwOffPhase, kParamOffPhase, WriteOffPhase, kDirtyOffPhase);
        return MarkWritten(pass);
    }
    // 15-17 synchronisation phase and the L2, L3 angles (their words depend on the synchronisation phase)
    if (ShDiffers(0, kShwSyncPhase, Param1(kParamSyncPhase))) {
        SetSh(0, kShwSyncPhase, Param1(kParamSyncPhase));
        BusReg_SetSyncPhase(ShI(0, kShwSyncPhase));
        BusReg_SetPhaseAngleL2(ShI(0, kShwAngleL2));
        BusReg_SetPhaseAngleL3(ShI(0, kShwAngleL3));
        return MarkWritten(pass);
    }
    if (ShDiffers(0, kShwAngleL2, Param1(kParamBalance2))) {
        SetSh(0, kShwAngleL2, Param1(kParamBalance2));
        BusReg_SetPhaseAngleL2(ShI(0, kShwAngleL2));
        return MarkWritten(pass);
    }
    if (ShDiffers(0, kShwAngleL3, Param1(kParamBalance3))) {
        SetSh(0, kShwAngleL3, Param1(kParamBalance3));
        BusReg_SetPhaseAngleL3(ShI(0, kShwAngleL3));
        return MarkWritten(pass);
    }
    // 18 signal selection: only while settled
    if (Settled() && ShDiffers(sel, kShwSig, Param(kParamMainSig, sel))) {
        SignalChange();
        return MarkWritten(pass);
    }
    // 19 signal source
    if (PhaseChanged(kShwSrc, kParamMainSrc, kDirtySource)) {
        ApplyPhaseSetting(IsBalanceActive() || edit || splitPhase, kShwSrc, kParamMainSrc, WriteSource,
                          kDirtySource);
        return MarkWritten(pass);
    }
    // 20 output relay
    if (OptionChanged(kShwOutputRelay, GetOutputRelay(), kOptOutputRelay, 1)) {
        pass->options = true;
        return;
    }
    // 21 remote sensing
    if (ShDiffers(0, kShwRemoteSense, GetRemoteSense())) {
        // Only a switch of the sensing in force takes the output down. A setting posted again with its
        // own value (the start-up re-send) is only written again: switching off for it would cancel an
        // output-on given after the post.
        const bool sensingOn = (g_OutputOptionWord.load(kRelaxed) >> kOptRemoteSense) & 1u;
        if (sensingOn != ((GetRemoteSense() & 1) != 0) && OutputFlagTest(kOutFlagOutputOn)) {
            BusReg_SetOutputOnOff(0);
            OutputFlagClear(kOutFlagOutputOn);
            plat::SleepMs(kRemoteSenseOffPauseMs);
        }
        OptionChanged(kShwRemoteSense, GetRemoteSense(), kOptRemoteSense, 1);
        pass->options = true;
        Sh(0, kShwWritten) = 1;
        return;
    }
    // 22 slew
    if (ShDiffers(0, kShwSlew, GetSlewRate()) || g_SlewRecheckReq.load(kRelaxed) != 0) {
        SlewChange();
        return MarkWritten(pass);
    }
    // 23 external control, 24 relock
    if (OptionChanged(kShwExtControl, GetExtControl(), kOptExtControl, 1)) {
        pass->options = true;
        return;
    }
    if (OptionChanged(kShwRelock, GetRelock(), kOptRelock, 2)) {
        pass->options = true;
        Sh(0, kShwWritten) = 1;
        return;
    }
    // 25, 26 measurement averaging and pacing: no register
    if (ShDiffers(0, kShwAvgCount, Param1(kParamAvgCount))) {
        SetSh(0, kShwAvgCount, Param1(kParamAvgCount));
        MeasAvg_ResetAll(Param1(kParamAvgCount));
        return;
    }
    if (ShDiffers(0, kShwUpdateRate, GetUpdateRate())) {
        SetSh(0, kShwUpdateRate, GetUpdateRate());
        MeasUpdateRate_Set(GetUpdateRate());
        return;
    }
    // 27, 28 current limit modes
    if (OptionChanged(kShwIrmsLimitMode, GetIrmsLimitMode(), kOptIrmsLimitMode, 1)) {
        pass->options = true;
        Sh(0, kShwWritten) = 1;
        return;
    }
    if (OptionChanged(kShwIpkLimitMode, GetIpkLimitMode(), kOptIpkLimitMode, 1)) {
        for (uint32_t p = 0; p <= LastPhase(); ++p)
            ApplyIpkLimits(static_cast<int>(p));
        pass->options = true;
        Sh(0, kShwWritten) = 1;
        return;
    }
    // 29 phase set-change, 30 output impedance
    if (OptionChanged(kShwSetChange, GetPhaseSetChange(), kOptSetChange, 3)) {
        pass->options = true;
        return;
    }
    if (OptionChanged(kShwImpedance, GetOutputImpedance(), kOptImpedance, 1)) {
        if (GetOutputImpedance() == 1 && GetSlewRate() == 2) SetSlewRate(1);
        pass->options = true;
        return;
    }
    // 31 nothing changed and settled: the second such pass reports the system ready.
    if (Settled()) {
        g_CtrlQuietPasses.fetch_add(1, kRelaxed);
        if (Sh(0, kShwWritten) != 1) {
            SysStatusSet(kSysReady);
            SysStatusClear(kSysResetDone);
        } else {
            Sh(0, kShwWritten) = 0;
        }
        return;
    }
    // 32 not settled
    SettlingPass(pass);
}

}  // namespace outsync
