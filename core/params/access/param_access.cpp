// The plain setters and getters of the access layer: one record each, limits from the record.
#include "core/params/access/param_access.h"

#include "core/params/limits/limit_checks.h"
#include "core/params/access/param_access_internal.h"
#include "core/params/param_store.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/parallel_link.h"

using namespace core;

std::atomic<uint32_t> g_OutputRefresh{0};

namespace core {

void ParamAccessReset() {
    g_PhaseMode.store(0, std::memory_order_relaxed);
    g_EditAllPhases.store(0, std::memory_order_relaxed);
    g_OutputRefresh.store(0, std::memory_order_relaxed);
    g_MonitorSourceWord.store(0, std::memory_order_relaxed);
    g_TrigSourceBits.store(0, std::memory_order_relaxed);
    g_CtrlStartupWord.store(1, std::memory_order_relaxed);
    g_SeqSimOutputReset.store(0, std::memory_order_relaxed);
}

bool ReadPhaseRecord(uint32_t id, int phase, ParamRec* rec) {
    if (!ValidPhase(phase) || paramRW(0, id, rec, static_cast<uint32_t>(phase)) != 0) {
        *rec = ParamRec{};
        return false;
    }
    return true;
}

int32_t PhaseValue(uint32_t id, int phase) {
    ParamRec rec;
    ReadPhaseRecord(id, phase, &rec);
    return rec.value;
}

int32_t PhaseMax(uint32_t id, int phase) {
    ParamRec rec;
    ReadPhaseRecord(id, phase, &rec);
    return rec.max;
}

int32_t PhaseMin(uint32_t id, int phase) {
    ParamRec rec;
    ReadPhaseRecord(id, phase, &rec);
    return rec.min;
}

int32_t SetWithinLimits(uint32_t id, int32_t value, int phase, int shadowWord) {
    ParamRec rec;
    if (!ReadPhaseRecord(id, phase, &rec)) return 0;
    if (value < rec.min || value > rec.max) return rec.value;
    rec.value = value;
    if (shadowWord != kNoShadow) g_OutputShadow[phase][shadowWord] = static_cast<uint32_t>(value) + 1;
    paramRW(1, id, &rec, static_cast<uint32_t>(phase));
    return value;
}

}  // namespace core

// --- Setters ---

int32_t SetSlewRate(int32_t v) {
    return SetWithinLimits(kParamSlewRate, v, 0, kShwSlew);
}
int32_t SetMonitorSource1Item(int32_t v) {
    return SetWithinLimits(kParamMonitorSource1, v, 0, kShwMonitor1);
}
int32_t SetMonitorSource2Item(int32_t v) {
    return SetWithinLimits(kParamMonitorSource2, v, 0, kShwMonitor2);
}
int32_t SetPeakClearItem(int32_t v) {
    return SetWithinLimits(kParamPeakClearItem, v, 0, kNoShadow);
}
int32_t SetIpkMax(int32_t v, int phase) {
    return SetWithinLimits(kParamIpkMax, v, phase, kShwIpkHigh);
}
int32_t SetIpkMin(int32_t v, int phase) {
    return SetWithinLimits(kParamIpkMin, v, phase, kShwIpkLow);
}
int32_t SetCurrLimit_L1(int32_t v) {
    return SetWithinLimits(kParamCurrLimit2, v, 0, kShwIrms);
}
int32_t SetCurrLimit(int32_t v, int phase) {
    return SetWithinLimits(kParamCurrLimit2, v, phase, kShwIrms);
}
int32_t SetOnPhase(int32_t v, int phase) {
    return SetWithinLimits(kParamOnPhase, v, phase, kShwOnPhase);
}
int32_t SetOffPhase(int32_t v, int phase) {
    return SetWithinLimits(kParamOffPhase, v, phase, kShwOffPhase);
}
int32_t SetSyncPhase(int32_t v) {
    return SetWithinLimits(kParamSyncPhase, v, 0, kShwSyncPhase);
}
int32_t SetBalance_L1(int32_t v) {
    return SetWithinLimits(kParamBalance, v, 0, kShwBalanceL1);
}
int32_t SetPhaseAngle_L2(int32_t v) {
    return SetWithinLimits(kParamBalance2, v, 0, kShwAngleL2);
}
int32_t SetPhaseAngle_L3(int32_t v) {
    return SetWithinLimits(kParamBalance3, v, 0, kShwAngleL3);
}
int32_t SetFreqLimitHi(int32_t v) {
    int32_t r = SetWithinLimits(kParamFreqLimitHi, v, 0, kNoShadow);
    FreqLimitCheck(GetOutputMode());
    return r;
}
int32_t SetFrequency(int32_t v) {
    return SetFrequencyPhase(v, 0);
}
int32_t SetFrequencyPhase(int32_t v, int phase) {
    int32_t r = SetWithinLimits(kParamFreq, v, phase, kShwFreq);
    FreqLimitCheck(GetOutputMode());
    return r;
}
int32_t SetGain_L1(int32_t v) {
    return SetWithinLimits(kParamGain, v, 0, kShwGain);
}
int32_t SetGain(int32_t v, int phase) {
    return SetWithinLimits(kParamGain, v, phase, kShwGain);
}
int32_t SetMainSig(int32_t v, int phase) {
    return SetWithinLimits(kParamMainSig, v, phase, kShwSig);
}
int32_t SetMainSrc(int32_t v, int phase) {
    return SetWithinLimits(kParamMainSrc, v, phase, kShwSrc);
}
int32_t SetOutputRelay(int32_t v) {
    return SetWithinLimits(kParamOutputRelay, v, 0, kShwOutputRelay);
}
int32_t SetOutputImpedance(int32_t v) {
    return SetWithinLimits(kParamOutputImpedance, v, 0, kShwImpedance);
}
int32_t SetAcv(int32_t v, int phase) {
    return SetWithinLimits(kParamAcv, v, phase, kShwAcv);
}
int32_t SetDcv(int32_t v, int phase) {
    return SetWithinLimits(kParamDcv2, v, phase, kShwDcv);
}
int32_t SetRelock(int32_t v) {
    return SetWithinLimits(kParamRelock, v, 0, kShwRelock);
}
int32_t SetIrmsLimitMode(int32_t v) {
    return SetWithinLimits(kParamIrmsLimitMode, v, 0, kShwIrmsLimitMode);
}
int32_t SetIpkLimitMode(int32_t v) {
    return SetWithinLimits(kParamIpkLimitMode, v, 0, kShwIpkLimitMode);
}
int32_t SetPeakHoldTime(int32_t v) {
    return SetWithinLimits(kParamPeakHoldTime, v, 0, kShwPeakHoldTime);
}
int32_t SetRemoteSense(int32_t v) {
    return SetWithinLimits(kParamRemoteSense, v, 0, kShwRemoteSense);
}
int32_t SetExtControl(int32_t v) {
    return SetWithinLimits(kParamExtControl, v, 0, kShwExtControl);
}
int32_t SetPhaseSetChange(int32_t v) {
    return SetWithinLimits(kParamPhaseSetChange, v, 0, kShwSetChange);
}
int32_t SetTriggerWidth(int32_t v) {
    return SetWithinLimits(kParamTrigWidth, v, 0, kShwTrigWidth);
}
int32_t SetTriggerSource(int32_t v) {
    return SetWithinLimits(kParamTrigSource, v, 0, kShwTrigSource);
}
int32_t SetAcvUnit(int32_t v) {
    return SetWithinLimits(kParamAcvUnit, v, 0, kShwAcvUnit);
}
int32_t SetParallelPosition(int32_t v) {
    SetWithinLimits(kParamParallelPosition, v, 0, kShwParPosition);
    return 0;
}
int32_t SetParallelNumber(int32_t v) {
    SetWithinLimits(kParamParallelNumber, v, 0, kShwParNumber);
    return 0;
}
int32_t SetParallelEnable(int32_t v) {
    SetWithinLimits(kParamParallelEnable, v, 0, kShwParEnable);
    if (OutputFlagTest(kOutFlagSettled))
        BusReg_SetParallelCtrl(static_cast<int32_t>(g_ParallelLink.ctrl.load(std::memory_order_relaxed)));
    return 0;
}

// --- Getters ---

int32_t GetPeakClearItem() {
    return PhaseValue(kParamPeakClearItem, 0);
}
int32_t GetSlewRate() {
    return PhaseValue(kParamSlewRate, 0);
}
int32_t GetMonitorSource1Item() {
    return PhaseValue(kParamMonitorSource1, 0);
}
int32_t GetMonitorSource2Item() {
    return PhaseValue(kParamMonitorSource2, 0);
}
int32_t GetVpkMax() {
    return PhaseValue(kParamVpkMax, 0);
}
int32_t GetVpkMin() {
    return PhaseValue(kParamVpkMin, 0);
}
int32_t GetIpkMax(int phase) {
    return PhaseValue(kParamIpkMax, phase);
}
int32_t GetIpkMin(int phase) {
    return PhaseValue(kParamIpkMin, phase);
}
int32_t GetCurrLimit_L1() {
    return PhaseValue(kParamCurrLimit2, 0);
}
int32_t GetCurrLimit(int phase) {
    return PhaseValue(kParamCurrLimit2, phase);
}
int32_t GetOnPhase(int phase) {
    return PhaseValue(kParamOnPhase, phase);
}
int32_t GetOffPhase(int phase) {
    return PhaseValue(kParamOffPhase, phase);
}
int32_t GetSyncPhase() {
    return PhaseValue(kParamSyncPhase, 0);
}
int32_t GetPhaseAngle_L2() {
    return PhaseValue(kParamBalance2, 0);
}
int32_t GetPhaseAngle_L3() {
    return PhaseValue(kParamBalance3, 0);
}
int32_t GetPhaseBalanceMode() {
    return PhaseValue(kParamBalanceMode, 0);
}
int32_t GetSelectedLine() {
    return PhaseValue(kParamMeasItem1 + 5, 0);
}
int32_t GetPhaseLineView() {
    return PhaseValue(kParamMeasItem7, 0);
}
int32_t GetFreqLimitHi() {
    return PhaseValue(kParamFreqLimitHi, 0);
}
int32_t GetFreqLimitLo() {
    return PhaseValue(kParamFreqLimitLo, 0);
}
int32_t GetFrequency_L1() {
    return PhaseValue(kParamFreq, 0);
}
int32_t GetFrequency(int phase) {
    return PhaseValue(kParamFreq, phase);
}
int32_t GetGain_L1() {
    return PhaseValue(kParamGain, 0);
}
int32_t GetGain(int phase) {
    return PhaseValue(kParamGain, phase);
}
int32_t GetMainSig() {
    return PhaseValue(kParamMainSig, 0);
}
int32_t GetMainSrc(int phase) {
    return PhaseValue(kParamMainSrc + static_cast<uint32_t>(phase), phase);
}
int32_t GetOutputRelay() {
    return PhaseValue(kParamOutputRelay, 0);
}
int32_t GetOutputImpedance() {
    return PhaseValue(kParamOutputImpedance, 0);
}
int32_t GetAcv(int phase) {
    return PhaseValue(kParamAcv + static_cast<uint32_t>(phase), phase);
}
int32_t GetDcv(int phase) {
    return PhaseValue(kParamDcv2 + static_cast<uint32_t>(phase), phase);
}
int32_t GetRelock() {
    return PhaseValue(kParamRelock, 0);
}
int32_t GetIrmsLimitMode() {
    return PhaseValue(kParamIrmsLimitMode, 0);
}
int32_t GetIpkLimitMode() {
    return PhaseValue(kParamIpkLimitMode, 0);
}
int32_t GetPeakHoldTime() {
    return PhaseValue(kParamPeakHoldTime, 0);
}
int32_t GetRemoteSense() {
    return PhaseValue(kParamRemoteSense, 0);
}
int32_t GetExtControl() {
    return PhaseValue(kParamExtControl, 0);
}
int32_t GetPhaseSetChange() {
    return PhaseValue(kParamPhaseSetChange, 0);
}
int32_t GetTriggerWidth() {
    return PhaseValue(kParamTrigWidth, 0);
}
int32_t GetTriggerSource() {
    return PhaseValue(kParamTrigSource, 0);
}
int32_t GetUpdateRate() {
    return PhaseValue(kParamUpdateRate, 0);
}
int32_t GetAcvUnit() {
    return PhaseValue(kParamAcvUnit, 0);
}
int32_t GetParallelPosition() {
    return PhaseValue(kParamParallelPosition, 0);
}
int32_t GetParallelNumber() {
    return PhaseValue(kParamParallelNumber, 0);
}
int32_t GetParallelEnable() {
    return PhaseValue(kParamParallelEnable, 0);
}
int32_t GetFrequencyMax() {
    return PhaseMax(kParamFreq, 0);
}
int32_t GetFrequencyMin() {
    return PhaseMin(kParamFreq, 0);
}
int32_t GetAcvMax(int phase) {
    return PhaseMax(kParamAcv, phase);
}
int32_t GetAcvMin(int phase) {
    return PhaseMin(kParamAcv, phase);
}
int32_t GetAcvLimitMax(int phase) {
    return PhaseMax(kParamAcv, phase);
}
int32_t GetDcvMax(int phase) {
    return PhaseMax(kParamDcv2, phase);
}
int32_t GetDcvMin(int phase) {
    return PhaseMin(kParamDcv2, phase);
}
int32_t GetOnPhaseState(int phase) {
    ParamRec rec;
    ReadPhaseRecord(kParamOnPhase, phase, &rec);
    return rec.state;
}
int32_t GetOffPhaseState(int phase) {
    ParamRec rec;
    ReadPhaseRecord(kParamOffPhase, phase, &rec);
    return rec.state;
}
