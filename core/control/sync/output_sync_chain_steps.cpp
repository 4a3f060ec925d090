// The per-row changes of the change chain (output_sync_chain.cpp).
#include "core/control/measure/meas_average.h"
#include "core/control/measure/measurement.h"
#include "core/control/setting_accessors.h"
#include "core/control/sync/output_sync.h"
#include "core/control/sync/output_sync_internal.h"
#include "core/params/access/acv_unit.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/limits/wave_voltage.h"
#include "core/params/param_dirty.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/service_flags.h"
#include "platform/host/clock.h"

using namespace core;
using namespace settings;

namespace outsync {

int32_t StoredValue(const SettingRow& row, uint32_t phase) {
    return Param(row.id, phase);
}

int ChangedPhase(const SettingRow& row, int32_t (*valueOf)(const SettingRow&, uint32_t)) {
    const uint32_t sel = Sel();
    if (ShDiffers(sel, row.shadow, valueOf(row, sel))) return static_cast<int>(sel);
    if (Wiring() == kWiring1P3W) return -1;
    for (uint32_t p = 0; p <= LastPhase(); ++p)
        if (p != sel && ShDiffers(p, row.shadow, valueOf(row, p))) return static_cast<int>(p);
    return -1;
}

void ApplyPhaseSetting(bool allPhases, const SettingRow& row, uint32_t phase) {
    const int32_t v = Param(row.id, phase);
    if (!allPhases || phase != Sel()) {
        SetSh(phase, row.shadow, v);
        row.write(v, regbus::Phase(phase));
        panel::DirtyClear(row.group);
        return;
    }
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        SetSh(p, row.shadow, v);
        row.write(v, regbus::Phase(p));
        Store(row.id, p, v);
    }
    ClearParamGroupMarks();
}

namespace {

constexpr uint32_t kRemoteSenseOffPauseMs = 100;

void SetOptionBits(uint32_t firstBit, uint32_t count, bool on) {
    for (uint32_t b = firstBit; b < firstBit + count; ++b) {
        if (on)
            g_OutputOptionWord.fetch_or(1u << b, kRelaxed);
        else
            g_OutputOptionWord.fetch_and(~(1u << b), kRelaxed);
    }
}

}  // namespace

void TakeOption(const SettingRow& row, int32_t value) {
    SetSh(0, row.shadow, value);
    SetOptionBits(row.optionBit, row.optionBits, (value & 1) != 0);
}

namespace {

void ShowLineLimit(int phase) {
    ShowMessage(3, "L%d ACV out of range\ndue to wave modification\n(Setting Voltage Limited)", phase + 1);
}

// The waveform of the phase taken, limited to what the waveform allows; true when the AC voltage was
// limited. In Vrms the voltage in force goes with it.
bool TakeWaveform(uint32_t p, int32_t wave, bool writeRegister, const RmsInForce& inForce) {
    const int phase = static_cast<int>(p);
    SetSh(p, kShwWaveform, wave);
    Store(kParamWaveShape, p, wave);
    if (writeRegister) Row(kSetWaveform).write(wave, regbus::Phase(p));
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
            acv = inForce.acv[p];
            dcv = inForce.dcv[p];
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
    BusReg_SetAcv(regbus::Phase(phase), acv);
    BusReg_SetDcv(regbus::Phase(phase), dcv);
    Store(kParamAcv, p, acv);
    Store(kParamDcv2, p, dcv);
    return limited;
}

}  // namespace

void WaveformChange(uint32_t phase) {
    const int32_t wave = Param(kParamWaveShape, phase);
    const RmsInForce inForce = RmsVoltagesInForce();
    if ((EditAll() || Wiring() == kWiring1P3W) && phase == Sel()) {
        char limited[32] = "";
        for (uint32_t p = 0; p <= LastPhase(); ++p) {
            if (!ShDiffers(p, kShwWaveform, wave)) continue;
            if (TakeWaveform(p, wave, Settled(), inForce))
                AppendLimitedPhase(limited, sizeof limited, static_cast<int>(p));
        }
        if (limited[0] != '\0') ShowWaveLimitMessage(limited);
        LineValueFromPhase(kParamAcvLine);
        LineValueFromPhase(kParamDcvLine);
        ClearParamGroupMarks();
    } else if (Settled()) {
        if (TakeWaveform(phase, wave, true, inForce)) ShowLineLimit(static_cast<int>(phase));
        panel::DirtyClear(kDirtyWave);
    }
    g_OutputRefresh.store(2, kRelaxed);
    SpreadVoltageToWaves();
    VoltSettingCheckAll(Mode(), Area());
}

void AcvChange(uint32_t phase) {
    const bool all = (IsBalanceActive() || EditAll()) && phase == Sel();
    ApplyPhaseSetting(all, Row(kSetAcv), phase);
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
        const int32_t phaseValue = settings::PhaseAcvOfLine(line, wiring == kWiring3P4W);
        for (uint32_t p = 0; p <= LastPhase(); ++p) {
            SetSh(p, kShwAcv, phaseValue);
            Row(kSetAcv).write(phaseValue, regbus::Phase(p));
            Store(kParamAcv, p, phaseValue);
        }
    }
    panel::DirtyClear(kDirtyLineAcv);
    panel::DirtyClear(kDirtyLineAcv2);
    SpreadVoltageToWaves();
    VoltSettingCheckAll(Mode(), Area());
}

void DcvChange(uint32_t phase) {
    const uint32_t wiring = Wiring();
    const int32_t v = Param(kParamDcv2, phase);
    if (wiring == kWiring1P3W) {
        const int32_t halves[2] = {v, -v};
        for (uint32_t p = 0; p < 2; ++p) {
            SetSh(p, kShwDcv, halves[p]);
            Row(kSetDcv).write(halves[p], regbus::Phase(p));
            Store(kParamDcv2, p, halves[p]);
        }
        ClearParamGroupMarks();
        LineValueFromPhase(kParamDcvLine);
    } else if (wiring == kWiring3P4W && EditAll() && phase == Sel()) {
        ApplyPhaseSetting(true, Row(kSetDcv), phase);
        LineValueFromPhase(kParamDcvLine);
    } else {
        ApplyPhaseSetting(false, Row(kSetDcv), phase);
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
                Row(kSetDcv).write(values[p], regbus::Phase(p));
                Store(kParamDcv2, p, values[p]);
            }
        }
    }
    panel::DirtyClear(kDirtyLineDcv);
    panel::DirtyClear(kDirtyLineDcv2);
}

int32_t EnableState(const SettingRow& row, uint32_t phase) {
    return row.key == kSetOnEnable ? GetOnPhaseState(static_cast<int>(phase))
                                   : GetOffPhaseState(static_cast<int>(phase));
}

void EnableChange(const SettingRow& row, uint32_t phase) {
    const int word = row.shadow;
    const uint32_t stateId = row.id;
    const int32_t state = EnableState(row, phase);
    if (!EditAll() || phase != Sel()) {
        SetSh(phase, word, state);
        ApplyPhaseStartStopEnable(static_cast<int>(phase));
        ClearPhaseAngleMarks();
        return;
    }
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        SetSh(p, word, state);
        paramPutState(stateId + p, state, p);
        ApplyPhaseStartStopEnable(static_cast<int>(p));
    }
    ClearPhaseAngleMarks();
}

void SignalChange(uint32_t phase) {
    const int32_t v = Param(kParamMainSig, phase);
    // Taken as played on every phase: a phase marked for a rewrite would take its own value back.
    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        SetSh(p, kShwSig, v);
        if (p != phase) Store(kParamMainSig, p, v);
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

void RemoteSenseChange(const SettingRow& row) {
    // Only a switch of the sensing in force takes the output down. A setting posted again with its
    // own value (the start-up re-send) is only written again: switching off for it would cancel an
    // output-on given after the post.
    const bool sensingOn = (g_OutputOptionWord.load(kRelaxed) >> row.optionBit) & 1u;
    if (sensingOn != ((GetRemoteSense() & 1) != 0) && OutputFlagTest(kOutFlagOutputOn)) {
        BusReg_SetOutputOnOff(0);
        OutputFlagClear(kOutFlagOutputOn);
        plat::SleepMs(kRemoteSenseOffPauseMs);
    }
    const int32_t value = GetRemoteSense();
    if (ShDiffers(0, row.shadow, value)) TakeOption(row, value);
}

}  // namespace outsync
