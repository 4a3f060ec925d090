// The plain setters and getters of the access layer: one record each, limits from the record.
#include "core/param_access.h"

#include "core/ctrl_words.h"
#include "core/parallel_link.h"
#include "core/param_access_internal.h"
#include "core/param_store.h"
#include "core/regbus/reg_write.h"
#include "screens/output/limit_checks.h"

using namespace core;

std::atomic<uint32_t> g_PhaseMode{0};
std::atomic<uint8_t> g_EditAllPhases{0};
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
    return SetWithinLimits(111, v, 0, kShwSlew);
}
int32_t SetMonitorSource1Item(int32_t v) {
    return SetWithinLimits(123, v, 0, kShwMonitor1);
}
int32_t SetMonitorSource2Item(int32_t v) {
    return SetWithinLimits(125, v, 0, kShwMonitor2);
}
int32_t SetPeakClearItem(int32_t v) {
    return SetWithinLimits(103, v, 0, kNoShadow);
}
int32_t SetIpkMax(int32_t v, int phase) {
    return SetWithinLimits(24, v, phase, kShwIpkHigh);
}
int32_t SetIpkMin(int32_t v, int phase) {
    return SetWithinLimits(27, v, phase, kShwIpkLow);
}
int32_t SetCurrLimit_L1(int32_t v) {
    return SetWithinLimits(61, v, 0, kShwIrms);
}
int32_t SetCurrLimit(int32_t v, int phase) {
    return SetWithinLimits(61, v, phase, kShwIrms);
}
int32_t SetOnPhase(int32_t v, int phase) {
    return SetWithinLimits(64, v, phase, kShwOnPhase);
}
int32_t SetOffPhase(int32_t v, int phase) {
    return SetWithinLimits(68, v, phase, kShwOffPhase);
}
int32_t SetSyncPhase(int32_t v) {
    return SetWithinLimits(89, v, 0, kShwSyncPhase);
}
int32_t SetBalance_L1(int32_t v) {
    return SetWithinLimits(72, v, 0, kShwBalanceL1);
}
int32_t SetPhaseAngle_L2(int32_t v) {
    return SetWithinLimits(73, v, 0, kShwAngleL2);
}
int32_t SetPhaseAngle_L3(int32_t v) {
    return SetWithinLimits(74, v, 0, kShwAngleL3);
}
int32_t SetFreqLimitHi(int32_t v) {
    int32_t r = SetWithinLimits(16, v, 0, kNoShadow);
    FreqLimitCheck(GetOutputMode());
    return r;
}
int32_t SetFrequency(int32_t v) {
    return SetFrequencyPhase(v, 0);
}
int32_t SetFrequencyPhase(int32_t v, int phase) {
    int32_t r = SetWithinLimits(12, v, phase, kShwFreq);
    FreqLimitCheck(GetOutputMode());
    return r;
}
int32_t SetGain_L1(int32_t v) {
    return SetWithinLimits(75, v, 0, kShwGain);
}
int32_t SetGain(int32_t v, int phase) {
    return SetWithinLimits(75, v, phase, kShwGain);
}
int32_t SetMainSig(int32_t v, int phase) {
    return SetWithinLimits(81, v, phase, kShwSig);
}
int32_t SetMainSrc(int32_t v, int phase) {
    return SetWithinLimits(84, v, phase, kShwSrc);
}
int32_t SetOutputRelay(int32_t v) {
    return SetWithinLimits(113, v, 0, kShwOutputRelay);
}
int32_t SetOutputImpedance(int32_t v) {
    return SetWithinLimits(194, v, 0, kShwImpedance);
}
int32_t SetAcv(int32_t v, int phase) {
    return SetWithinLimits(47, v, phase, kShwAcv);
}
int32_t SetDcv(int32_t v, int phase) {
    return SetWithinLimits(54, v, phase, kShwDcv);
}
int32_t SetRelock(int32_t v) {
    return SetWithinLimits(133, v, 0, kShwRelock);
}
int32_t SetIrmsLimitMode(int32_t v) {
    return SetWithinLimits(90, v, 0, kShwIrmsLimitMode);
}
int32_t SetIpkLimitMode(int32_t v) {
    return SetWithinLimits(91, v, 0, kShwIpkLimitMode);
}
int32_t SetPeakHoldTime(int32_t v) {
    return SetWithinLimits(97, v, 0, kShwPeakHoldTime);
}
int32_t SetRemoteSense(int32_t v) {
    return SetWithinLimits(109, v, 0, kShwRemoteSense);
}
int32_t SetExtControl(int32_t v) {
    return SetWithinLimits(117, v, 0, kShwExtControl);
}
int32_t SetPhaseSetChange(int32_t v) {
    return SetWithinLimits(121, v, 0, kShwSetChange);
}
int32_t SetTriggerWidth(int32_t v) {
    return SetWithinLimits(129, v, 0, kShwTrigWidth);
}
int32_t SetTriggerSource(int32_t v) {
    return SetWithinLimits(131, v, 0, kShwTrigSource);
}
int32_t SetAcvUnit(int32_t v) {
    return SetWithinLimits(119, v, 0, kShwAcvUnit);
}
int32_t SetParallelPosition(int32_t v) {
    SetWithinLimits(209, v, 0, kShwParPosition);
    return 0;
}
int32_t SetParallelNumber(int32_t v) {
    SetWithinLimits(211, v, 0, kShwParNumber);
    return 0;
}
int32_t SetParallelEnable(int32_t v) {
    SetWithinLimits(213, v, 0, kShwParEnable);
    if (OutputFlagTest(kOutFlagSettled))
        BusReg_SetParallelCtrl(static_cast<int32_t>(g_ParallelLink.ctrl.load(std::memory_order_relaxed)));
    return 0;
}

// --- Getters ---

int32_t GetPeakClearItem() {
    return PhaseValue(103, 0);
}
int32_t GetSlewRate() {
    return PhaseValue(111, 0);
}
int32_t GetMonitorSource1Item() {
    return PhaseValue(123, 0);
}
int32_t GetMonitorSource2Item() {
    return PhaseValue(125, 0);
}
int32_t GetVpkMax() {
    return PhaseValue(10, 0);
}
int32_t GetVpkMin() {
    return PhaseValue(11, 0);
}
int32_t GetIpkMax(int phase) {
    return PhaseValue(24, phase);
}
int32_t GetIpkMin(int phase) {
    return PhaseValue(27, phase);
}
int32_t GetCurrLimit_L1() {
    return PhaseValue(61, 0);
}
int32_t GetCurrLimit(int phase) {
    return PhaseValue(61, phase);
}
int32_t GetOnPhase(int phase) {
    return PhaseValue(64, phase);
}
int32_t GetOffPhase(int phase) {
    return PhaseValue(68, phase);
}
int32_t GetSyncPhase() {
    return PhaseValue(89, 0);
}
int32_t GetPhaseAngle_L2() {
    return PhaseValue(73, 0);
}
int32_t GetPhaseAngle_L3() {
    return PhaseValue(74, 0);
}
int32_t GetPhaseBalanceMode() {
    return PhaseValue(101, 0);
}
int32_t GetSelectedLine() {
    return PhaseValue(43, 0);
}
int32_t GetPhaseLineView() {
    return PhaseValue(44, 0);
}
int32_t GetFreqLimitHi() {
    return PhaseValue(16, 0);
}
int32_t GetFreqLimitLo() {
    return PhaseValue(19, 0);
}
int32_t GetFrequency_L1() {
    return PhaseValue(12, 0);
}
int32_t GetFrequency(int phase) {
    return PhaseValue(12, phase);
}
int32_t GetGain_L1() {
    return PhaseValue(75, 0);
}
int32_t GetGain(int phase) {
    return PhaseValue(75, phase);
}
int32_t GetMainSig() {
    return PhaseValue(81, 0);
}
int32_t GetMainSrc(int phase) {
    return PhaseValue(84 + static_cast<uint32_t>(phase), phase);
}
int32_t GetOutputRelay() {
    return PhaseValue(113, 0);
}
int32_t GetOutputImpedance() {
    return PhaseValue(194, 0);
}
int32_t GetAcv(int phase) {
    return PhaseValue(47 + static_cast<uint32_t>(phase), phase);
}
int32_t GetDcv(int phase) {
    return PhaseValue(54 + static_cast<uint32_t>(phase), phase);
}
int32_t GetRelock() {
    return PhaseValue(133, 0);
}
int32_t GetIrmsLimitMode() {
    return PhaseValue(90, 0);
}
int32_t GetIpkLimitMode() {
    return PhaseValue(91, 0);
}
int32_t GetPeakHoldTime() {
    return PhaseValue(97, 0);
}
int32_t GetRemoteSense() {
    return PhaseValue(109, 0);
}
int32_t GetExtControl() {
    return PhaseValue(117, 0);
}
int32_t GetPhaseSetChange() {
    return PhaseValue(121, 0);
}
int32_t GetTriggerWidth() {
    return PhaseValue(129, 0);
}
int32_t GetTriggerSource() {
    return PhaseValue(131, 0);
}
int32_t GetUpdateRate() {
    return PhaseValue(137, 0);
}
int32_t GetAcvUnit() {
    return PhaseValue(119, 0);
}
int32_t GetParallelPosition() {
    return PhaseValue(209, 0);
}
int32_t GetParallelNumber() {
    return PhaseValue(211, 0);
}
int32_t GetParallelEnable() {
    return PhaseValue(213, 0);
}
int32_t GetFrequencyMax() {
    return PhaseMax(12, 0);
}
int32_t GetFrequencyMin() {
    return PhaseMin(12, 0);
}
int32_t GetAcvMax(int phase) {
    return PhaseMax(47, phase);
}
int32_t GetAcvMin(int phase) {
    return PhaseMin(47, phase);
}
int32_t GetAcvLimitMax(int phase) {
    return PhaseMax(47, phase);
}
int32_t GetDcvMax(int phase) {
    return PhaseMax(54, phase);
}
int32_t GetDcvMin(int phase) {
    return PhaseMin(54, phase);
}
int32_t GetOnPhaseState(int phase) {
    ParamRec rec;
    ReadPhaseRecord(64, phase, &rec);
    return rec.state;
}
int32_t GetOffPhaseState(int phase) {
    ParamRec rec;
    ReadPhaseRecord(68, phase, &rec);
    return rec.state;
}
