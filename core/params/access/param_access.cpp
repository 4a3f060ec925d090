// The plain setters and getters of the access layer: one record each, limits from the record.
#include "core/params/access/param_access.h"

#include "core/params/access/param_access_internal.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_rows.h"
#include "core/regbus/reg_write.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/ctrl_words.h"

using namespace core;
using namespace settings;

static_assert(core::kNoShadow == settings::kNoShadow);

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
    if (!ValidPhase(phase) || paramGetRecord(id, rec, static_cast<uint32_t>(phase)) != 0) {
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
    paramPutRecord(id, &rec, static_cast<uint32_t>(phase));
    return value;
}

}  // namespace core

namespace {

// A setter of a row: the row's record and shadow word; a setter of the wrong kind does not compile.
template <settings::Setting S>
int32_t StoreL1(int32_t v) {
    static_assert(Row(S).lines == settings::Lines::kL1);
    return SetWithinLimits(Row(S).id, v, 0, Row(S).shadow);
}
template <settings::Setting S>
int32_t StorePhase(int32_t v, int phase) {
    static_assert(Row(S).lines == settings::Lines::kPerPhase);
    return SetWithinLimits(Row(S).id, v, phase, Row(S).shadow);
}

}  // namespace

// --- Setters ---

int32_t SetSlewRate(int32_t v) {
    return StoreL1<kSetSlew>(v);
}
int32_t SetMonitorSource1Item(int32_t v) {
    return StoreL1<kSetMonitor1>(v);
}
int32_t SetMonitorSource2Item(int32_t v) {
    return StoreL1<kSetMonitor2>(v);
}
int32_t SetPeakClearItem(int32_t v) {
    return StoreL1<kSetPeakClearItem>(v);
}
int32_t SetIpkMax(int32_t v, int phase) {
    return StorePhase<kSetIpkHigh>(v, phase);
}
int32_t SetIpkMin(int32_t v, int phase) {
    return StorePhase<kSetIpkLow>(v, phase);
}
int32_t SetCurrLimit_L1(int32_t v) {
    return StorePhase<kSetIrms>(v, 0);
}
int32_t SetCurrLimit(int32_t v, int phase) {
    return StorePhase<kSetIrms>(v, phase);
}
int32_t SetOnPhase(int32_t v, int phase) {
    return StorePhase<kSetOnPhase>(v, phase);
}
int32_t SetOffPhase(int32_t v, int phase) {
    return StorePhase<kSetOffPhase>(v, phase);
}
int32_t SetSyncPhase(int32_t v) {
    return StoreL1<kSetSyncPhase>(v);
}
int32_t SetBalance_L1(int32_t v) {
    return StoreL1<kSetBalanceL1>(v);
}
int32_t SetPhaseAngle_L2(int32_t v) {
    return StoreL1<kSetAngleL2>(v);
}
int32_t SetPhaseAngle_L3(int32_t v) {
    return StoreL1<kSetAngleL3>(v);
}
int32_t SetFrequency(int32_t v) {
    return SetFrequencyPhase(v, 0);
}
int32_t SetFrequencyPhase(int32_t v, int phase) {
    int32_t r = StorePhase<kSetFreq>(v, phase);
    FreqLimitCheck(GetOutputMode());
    return r;
}
int32_t SetGain_L1(int32_t v) {
    return StorePhase<kSetGain>(v, 0);
}
int32_t SetGain(int32_t v, int phase) {
    return StorePhase<kSetGain>(v, phase);
}
int32_t SetMainSig(int32_t v, int phase) {
    return StorePhase<kSetSignal>(v, phase);
}
int32_t SetMainSrc(int32_t v, int phase) {
    return StorePhase<kSetSource>(v, phase);
}
int32_t SetOutputRelay(int32_t v) {
    return StoreL1<kSetOutputRelay>(v);
}
int32_t SetOutputImpedance(int32_t v) {
    return StoreL1<kSetImpedance>(v);
}
int32_t SetAcv(int32_t v, int phase) {
    return StorePhase<kSetAcv>(v, phase);
}
int32_t SetDcv(int32_t v, int phase) {
    return StorePhase<kSetDcv>(v, phase);
}
int32_t SetRelock(int32_t v) {
    return StoreL1<kSetRelock>(v);
}
int32_t SetIrmsLimitMode(int32_t v) {
    return StoreL1<kSetIrmsLimitMode>(v);
}
int32_t SetIpkLimitMode(int32_t v) {
    return StoreL1<kSetIpkLimitMode>(v);
}
int32_t SetPeakHoldTime(int32_t v) {
    return StoreL1<kSetPeakHoldTime>(v);
}
int32_t SetRemoteSense(int32_t v) {
    return StoreL1<kSetRemoteSense>(v);
}
int32_t SetExtControl(int32_t v) {
    return StoreL1<kSetExtControl>(v);
}
int32_t SetPhaseSetChange(int32_t v) {
    return StoreL1<kSetSetChange>(v);
}
int32_t SetTriggerWidth(int32_t v) {
    return StoreL1<kSetTrigWidth>(v);
}
int32_t SetTriggerSource(int32_t v) {
    return StoreL1<kSetTrigSource>(v);
}
int32_t SetAcvUnit(int32_t v) {
    return StoreL1<kSetAcvUnit>(v);
}
int32_t SetParallelPosition(int32_t v) {
    StoreL1<kSetParPosition>(v);
    return 0;
}
int32_t SetParallelNumber(int32_t v) {
    StoreL1<kSetParNumber>(v);
    return 0;
}
int32_t SetParallelEnable(int32_t v) {
    StoreL1<kSetParEnable>(v);
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
