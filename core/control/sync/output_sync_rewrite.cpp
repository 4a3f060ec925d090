// The wholesale rewrites (wiring, output mode, range) and the settling pass that follows them.
#include "core/control/ctrl_task_state.h"
#include "core/control/setting_accessors.h"
#include "core/control/sync/output_sync.h"
#include "core/control/sync/output_sync_internal.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/limits/wave_voltage.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/sys_status.h"

using namespace core;

namespace outsync {

namespace {

constexpr int32_t kAngleHalf = 1800, kAngleThird = 1200, kAngleTwoThirds = 2400;

// The shadow words of one phase's non-voltage settings, taken from the store.
void CopyPhaseSettingsToShadow(uint32_t p) {
    const int phase = static_cast<int>(p);
    SetSh(p, kShwFreq, Param(kParamFreq, p));
    SetSh(p, kShwIrms, Param(kParamCurrLimit2, p));
    SetSh(p, kShwGain, Param(kParamGain, p));
    SetSh(p, kShwOnPhase, Param(kParamOnPhase, p));
    SetSh(p, kShwOffPhase, Param(kParamOffPhase, p));
    SetSh(p, kShwWaveform, Param(kParamWaveShape, p));
    SetSh(p, kShwDuty, Param(kParamWaveDuty, p));
    SetSh(p, kShwOnEnable, GetOnPhaseState(phase));
    SetSh(p, kShwOffEnable, GetOffPhaseState(phase));
    SetSh(p, kShwIpkHigh, Param(kParamIpkMax, p));
    SetSh(p, kShwIpkLow, Param(kParamIpkMin, p));
}

// The shadow words of one phase taken from the store: the settings a rewrite writes.
void CopyPhaseToShadow(uint32_t p) {
    SetSh(p, kShwAcv, Param(kParamAcv, p));
    SetSh(p, kShwDcv, Param(kParamDcv2, p));
    CopyPhaseSettingsToShadow(p);
}

void StoreVoltagesFromShadow(uint32_t p) {
    Store(kParamAcv, p, ShI(p, kShwAcv));
    Store(kParamDcv2, p, ShI(p, kShwDcv));
}

// Words 10, 11 and 12 (L2 and L3 angle, synchronisation phase) from the store, written.
void WriteAnglesFromStore() {
    SetSh(0, kShwAngleL2, Param1(kParamBalance2));
    SetSh(0, kShwAngleL3, Param1(kParamBalance3));
    SetSh(0, kShwSyncPhase, Param1(kParamSyncPhase));
    BusReg_SetSyncPhase(ShI(0, kShwSyncPhase));
    BusReg_SetPhaseAngleL2(ShI(0, kShwAngleL2));
    BusReg_SetPhaseAngleL3(ShI(0, kShwAngleL3));
}

void ClearSettled() {
    OutputFlagClear(kOutFlagSettled);
}

// The settings that make no sense in the wiring go back to 0.
void ResetItemsFor1P2W() {
    if (GetPeakClearItem() != 0) SetPeakClearItem(0);
    const int32_t m1 = GetMonitorSource1Item(), m2 = GetMonitorSource2Item();
    if (m1 != 0 && m1 != 3) SetMonitorSource1Item(0);
    if (m2 != 0 && m2 != 3) SetMonitorSource2Item(0);
    if (GetTriggerSource() != 0) SetTriggerSource(0);
}

void ResetItemsFor1P3W() {
    if (GetPeakClearItem() == 3) SetPeakClearItem(0);
    const int32_t m1 = GetMonitorSource1Item(), m2 = GetMonitorSource2Item();
    if (m1 == 2 || m1 == 5) SetMonitorSource1Item(0);
    if (m2 == 2 || m2 == 5) SetMonitorSource2Item(0);
    if (GetTriggerSource() == 2) SetTriggerSource(0);
    SetIpkLimitMode(0);
}

void WriteLineValues(int32_t acv, int32_t dcv) {
    SetSh(kLineShadow, kShwAcv, acv);
    SetSh(kLineShadow, kShwDcv, dcv);
    paramPutValue(kParamAcvLine, acv, 0);
    paramPutValue(kParamDcvLine, dcv, 0);
}

// The idle phases of the wiring hold no voltage in the store.
void ZeroIdlePhasesInStore() {
    const uint32_t wiring = Wiring();
    if (wiring == kWiring3P4W) return;
    for (uint32_t p = wiring == kWiring1P2W ? 1 : 2; p < 3; ++p) {
        Store(kParamAcv, p, 0);
        Store(kParamDcv2, p, 0);
    }
}

void LineValuesAfterModeChange() {
    if (GetPhaseBalanceMode() == 1 && EditAll() && g_SyncFirstPassDone.load(kRelaxed) == 0) {
        LineValueFromPhase(kParamAcvLine);
        LineValueFromPhase(kParamDcvLine);
    }
}

void AfterWholesaleWrite() {
    ApplyMonitorScale();
    g_SettleWritesDone.store(0, kRelaxed);
    ClearSettled();
}

}  // namespace

void FullRewrite(Pass*) {
    const uint32_t wiring = Wiring();
    SetSh(0, kShwPhaseMode, static_cast<int32_t>(wiring));
    g_SlewRecheckReq.store(1, kRelaxed);
    BusReg_SetPhaseMode(static_cast<int32_t>(wiring));
    g_PhaseModeChanged.store(1, kRelaxed);
    g_OutputStatusMirror.store(BusReg_GetOutputStatus(), kRelaxed);

    const int32_t balance = GetPhaseBalanceMode();
    if (g_BalanceRecheckReq.load(kRelaxed) == 0 && g_SyncFirstPassDone.load(kRelaxed) == 1 &&
        wiring == kWiring3P4W && balance == 1)
        BalanceRebuild(2);

    if (balance == 0 && wiring != kWiring1P2W) {
        SetSh(0, kShwAngleL2, Param1(kParamBalance2));
        SetSh(0, kShwAngleL3, Param1(kParamBalance3));
        BusReg_SetPhaseAngleL2(ShI(0, kShwAngleL2));
        BusReg_SetPhaseAngleL3(ShI(0, kShwAngleL3));
    } else if (wiring == kWiring1P3W) {
        BusReg_SetPhaseAngleL2(kAngleHalf);
        BusReg_SetPhaseAngleL3(kAngleHalf);
    } else if (wiring == kWiring3P4W) {
        BusReg_SetPhaseAngleL2(kAngleThird);
        BusReg_SetPhaseAngleL3(kAngleTwoThirds);
    }

    for (uint32_t p = 0; p < 3; ++p)
        CopyPhaseToShadow(p);
    if (g_FullRewriteReq.load(kRelaxed) == 1) WritePhaseFromShadow(0);

    switch (wiring) {
        case kWiring1P2W:
            if (GetSlewRate() == 2) SetSlewRate(1);
            WritePhaseFromShadow(0);
            StoreVoltagesFromShadow(0);
            WriteIdlePhase(1);
            WriteIdlePhase(2);
            ResetItemsFor1P2W();
            break;
        case kWiring1P3W:
            for (uint32_t p = 0; p < 2; ++p) {
                WritePhaseFromShadow(p);
                StoreVoltagesFromShadow(p);
            }
            WriteIdlePhase(2);
            Store(kParamWaveShape, 2, ShI(0, kShwWaveform));
            if (IsBalanceActive()) WriteLineValues(ShI(0, kShwAcv) * 2, ShI(0, kShwDcv) * 2);
            ResetItemsFor1P3W();
            break;
        default:
            for (uint32_t p = 0; p < 3; ++p) {
                WritePhaseFromShadow(p);
                StoreVoltagesFromShadow(p);
            }
            if (IsBalanceActive())
                WriteLineValues(settings::LineAcvOfPhase(ShI(0, kShwAcv), true), ShI(0, kShwDcv));
            break;
    }

    WriteAnglesFromStore();
    ApplyMonitorScale();
    Sh(0, kShwWritten) = 1;
    // The rewrite takes effect at once, also when a mode or range rewrite follows in this pass (those
    // leave their strobe to the settling pass).
    BusReg_Apply(1);
    g_SettleWritesDone.store(0, kRelaxed);
    ClearSettled();
    g_FullRewriteReq.store(0, kRelaxed);
    g_OutputRefresh.store(1, kRelaxed);
    SpreadVoltageToWaves();
}

void ModeChange(Pass* pass) {
    const uint32_t mode = Mode();
    SetSh(0, kShwMode, static_cast<int32_t>(mode));
    BusReg_SetOutputMode(mode);
    CtrlTask_HoldOff();
    SetTriggerWidth(GetTriggerWidth());

    char limited[32] = "";
    const uint32_t last = LastPhase();
    for (uint32_t p = 0; p <= last; ++p)
        TakeWaveVoltages(p, true, limited, sizeof limited);
    LineValuesAfterModeChange();
    for (uint32_t p = 0; p <= last; ++p)
        CopyPhaseSettingsToShadow(p);
    for (uint32_t p = 0; p <= last; ++p) {
        WritePhaseFromShadow(p);
        StoreVoltagesFromShadow(p);
    }
    LineValuesAfterModeChange();
    WriteAnglesFromStore();
    AfterWholesaleWrite();
    Sh(0, kShwWritten) = 1;
    pass->apply = true;
    ZeroIdlePhasesInStore();
    if (limited[0] != '\0') ShowWaveLimitMessage(limited);
    SetVoltRange(GetVoltRangeCode());
}

void RangeChange(Pass* pass) {
    g_SettleWritesDone.store(0, kRelaxed);
    const uint32_t code = GetVoltRangeCode();
    SetSh(0, kShwRange, static_cast<int32_t>(code));
    // The power stage takes 0 (100 V), 1 (200 V) or 2 (AUTO) in every wiring.
    int32_t stageCode;
    if (Wiring() == kWiring1P2W)
        stageCode = code < 6 ? static_cast<int32_t>(code) - 2 : static_cast<int32_t>(code) - 4;
    else
        stageCode = code < 4 ? static_cast<int32_t>(code) : static_cast<int32_t>(code) - 2;
    BusReg_SetVoltRange(stageCode);
    ApplyMonitorScale();
    ClearSettled();
    CtrlTask_HoldOff();

    for (uint32_t p = 0; p <= LastPhase(); ++p) {
        const int phase = static_cast<int>(p);
        TakeWaveVoltages(p, false, nullptr, 0);
        SetSh(p, kShwIpkHigh, Param(kParamIpkMax, p));
        SetSh(p, kShwIpkLow, Param(kParamIpkMin, p));
        settings::WriteIpkHigh(ShI(p, kShwIpkHigh), regbus::Phase(p));
        settings::WriteIpkLow(ShI(p, kShwIpkLow), regbus::Phase(p));
        BusReg_SetAcv(regbus::Phase(phase), ShI(p, kShwAcv));
        BusReg_SetDcv(regbus::Phase(phase), ShI(p, kShwDcv));
        StoreVoltagesFromShadow(p);
        BusReg_SetFreq(GetFrequency(phase), regbus::Phase(phase));
        BusReg_SetWaveform(regbus::Phase(phase), GetWaveform(phase) + 1);
        SetSh(p, kShwDuty, Param(kParamWaveDuty, p));
        BusReg_SetDuty(regbus::Phase(phase), ShI(p, kShwDuty));
        BusReg_SetSource(GetMainSrc(phase), regbus::Phase(phase));
        BusReg_SetIrmsLimit(GetCurrLimit(phase), regbus::Phase(phase));
        BusReg_SetIpkLimitHigh(GetIpkMax(phase), regbus::Phase(phase));
        BusReg_SetIpkLimitLow(GetIpkMin(phase), regbus::Phase(phase));
        BusReg_SetGain(GetGain(phase), regbus::Phase(phase));
        BusReg_SetOnPhase(GetOnPhase(phase), regbus::Phase(phase));
        BusReg_SetOffPhase(GetOffPhase(phase), regbus::Phase(phase));
    }
    Sh(0, kShwWritten) = 1;
    pass->apply = true;
    ZeroIdlePhasesInStore();
}

void SettlingPass(Pass* pass) {
    if (EditAll()) {
        // Edits of all phases arrive with their group flags: the per-phase agreement is not needed, but
        // the pass still ends settled so that the instrument becomes ready in this mode too. A mode or
        // range rewrite left its strobe to this pass: without it the stage would keep the old setting.
        OutputFlagSet(kOutFlagEditAllSkip);
        if (g_SettleWritesDone.load(kRelaxed) == 0) {
            Sh(0, kShwWritten) = 1;
            pass->apply = true;
        }
        g_SettleWritesDone.store(1, kRelaxed);
        OutputFlagSet(kOutFlagSettled);
        return;
    }
    const bool write = g_SettleWritesDone.load(kRelaxed) == 0;
    const uint32_t mode = Mode();
    for (uint32_t p = 0; p < 3; ++p) {
        const int phase = static_cast<int>(p);
        const int32_t wave = Param(kParamWaveShape, p);
        if (ShDiffers(p, kShwWaveform, wave) || Sh(p, kShwWaveform) == 0) {
            for (uint32_t m = 0; m < kModes; ++m)
                for (uint32_t area = 0; area < kVoltAreas; ++area)
                    VoltSettingCheckAll(m, area);
            SetSh(p, kShwWaveform, wave);
            if (write) {
                BusReg_SetWaveform(regbus::Phase(phase), wave + 1);
                BusReg_SetGain(Param(kParamGain, p), regbus::Phase(phase));
                BusReg_SetAcv(regbus::Phase(phase), Param(kParamAcv, p));
                BusReg_SetDcv(regbus::Phase(phase), Param(kParamDcv2, p));
            }
        }
        struct Compared {
            int word;
            uint32_t id;
            void (*writeFn)(int32_t v, uint32_t phase);
        };
        static constexpr Compared kCompared[] = {
            {kShwAcv, kParamAcv, [](int32_t v, uint32_t q) { BusReg_SetAcv(regbus::Phase(q), v); }},
            {kShwDcv, kParamDcv2, [](int32_t v, uint32_t q) { BusReg_SetDcv(regbus::Phase(q), v); }},
            {kShwGain, kParamGain, [](int32_t v, uint32_t q) { BusReg_SetGain(v, regbus::Phase(q)); }},
            {kShwSig, kParamMainSig, [](int32_t v, uint32_t) { BusReg_SetSignal(v); }},
            {kShwSrc, kParamMainSrc, [](int32_t v, uint32_t q) { BusReg_SetSource(v, regbus::Phase(q)); }},
            {kShwIpkHigh, kParamIpkMax,
             [](int32_t v, uint32_t q) { settings::WriteIpkHigh(v, regbus::Phase(q)); }},
            {kShwIpkLow, kParamIpkMin,
             [](int32_t v, uint32_t q) { settings::WriteIpkLow(v, regbus::Phase(q)); }},
            {kShwOnPhase, kParamOnPhase,
             [](int32_t v, uint32_t q) { BusReg_SetOnPhase(v, regbus::Phase(q)); }},
            {kShwOffPhase, kParamOffPhase,
             [](int32_t v, uint32_t q) { BusReg_SetOffPhase(v, regbus::Phase(q)); }},
        };
        for (const Compared& c : kCompared) {
            const int32_t v = Param(c.id, p);
            if (!ShDiffers(p, c.word, v)) continue;
            SetSh(p, c.word, v);
            if (write) c.writeFn(v, p);
        }
        ApplyPhaseStartStopEnable(phase);
        struct Angle {
            int word;
            uint32_t id;
            int (*writeFn)(int32_t);
        };
        static constexpr Angle kAngles[] = {{kShwSyncPhase, kParamSyncPhase, BusReg_SetSyncPhase},
                                            {kShwAngleL2, kParamBalance2, BusReg_SetPhaseAngleL2},
                                            {kShwAngleL3, kParamBalance3, BusReg_SetPhaseAngleL3}};
        for (const Angle& a : kAngles) {
            const int32_t v = Param1(a.id);
            if (!ShDiffers(0, a.word, v)) continue;
            SetSh(0, a.word, v);
            if (write) a.writeFn(v);
        }
        if (write) {
            BusReg_SetIrmsLimit(Param(kParamCurrLimit2, p), regbus::Phase(phase));
            ApplyIpkLimits(phase);
        }
        if (!SyncMode(mode)) {
            const int32_t f = Param(kParamFreq, p);
            if (ShDiffers(p, kShwFreq, f)) {
                SetSh(p, kShwFreq, f);
                if (write) BusReg_SetFreq(f, regbus::Phase(phase));
            }
            continue;
        }
        bool missing = true;
        if (Param(kParamMainSig, p) == 3) {
            const uint32_t measured = MeasuredFrequency100(p);
            Sh(p, kShwMeasFreq) = measured;
            if (measured >= 4000 && measured <= 200000) {
                missing = false;
                Sh(p, kShwFreq) = measured;
            }
        }
        if (missing)
            g_ParamFlags.fetch_or(kFlagSyncMissing, kRelaxed);
        else
            g_ParamFlags.fetch_and(~kFlagSyncMissing, kRelaxed);
        // The alarm belongs to an output that is on: an output switched on later raises it then.
        if (missing && Sh(p, kShwFreq) != 0) {
            Sh(p, kShwFreq) = 0;
            if (OutputFlagTest(kOutFlagOutputOn)) SysStatusSet(kSysSyncSourceMissing);
        }
    }
    if (write) {
        Sh(0, kShwWritten) = 1;
        pass->apply = true;
        // The enables refreshed above live in the option word, which is sent while settled only.
        pass->options = true;
    }
    g_SettleWritesDone.store(1, kRelaxed);
    OutputFlagSet(kOutFlagSettled);
}

}  // namespace outsync
