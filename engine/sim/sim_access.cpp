#include "engine/sim/sim_access.h"

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "platform/stage/wiring_codes.h"

using namespace engine;

namespace engine {

namespace {
// Per thread, so that two threads that meet an out-of-range state never share it.
thread_local SimStepRecord g_scratch;
}  // namespace

uint32_t SimState() {
    uint32_t s = g_SeqSimBlock[0].curStep.load(std::memory_order_acquire);
    return s < kSimSlots ? s : kSimNoState;
}

SimStepRecord& SimRecAt(uint32_t state, int slice) {
    if (state >= kSimSlots || slice < 0 || slice >= kSeqSlices) {
        g_scratch = {};
        return g_scratch;
    }
    return g_SeqSimBlock[slice].simSet[state];
}

void SimSelectState(uint32_t state) {
    g_SeqSimBlock[0].curStep.store(state, std::memory_order_release);
}

}  // namespace engine

namespace {

// State 6 reads ACV, frequency and sync code from state 0.
SimStepRecord& ValueRec(int phase) {
    return SimRecAt(SimState() == kSimNoState ? 0 : SimState(), phase);
}
// The voltage limit record of AC+DC-INT for the SIM range (area 0 100V, 1 200V), rms or Vpp set.
int32_t VoltLimitMax(uint32_t set) {
    const uint32_t area = (g_SeqSimBlock[0].simOptions >> 1) & 1u;
    ParamRec rec{};
    paramAccessByUnit(Access::kRead, kParamVoltLimit, &rec,
                      {.mode = kModeAcDcInt, .area = area, .set = set});
    return rec.max;
}

}  // namespace

int32_t SimGetTime() {
    return static_cast<int32_t>(SimRec(0).time);
}
int32_t SimGetAcv(int phase) {
    if (!ValidPhase(phase)) return 0;
    const SimStepRecord& r = ValueRec(phase);
    return static_cast<int32_t>(SeqSimAcvIsVpp(phase) ? r.acvVpp : r.acv);
}
int32_t SimGetAcvOf(uint32_t state, int phase) {
    if (!ValidPhase(phase) || state >= kSimNoState) return 0;
    const SimStepRecord& r = SimRecAt(state, phase);
    return static_cast<int32_t>(SimAcvIsVppOf(state, phase) ? r.acvVpp : r.acv);
}
bool SimAcvIsVppOf(uint32_t state, int phase) {
    if (!ValidPhase(phase) || state >= kSimNoState || SimSavedConfigCopy().acvUnit != 1) return false;
    const uint32_t wave = SimRecAt(state, phase).wave;
    return wave >= 1 && wave <= 256 && wave != kWaveCodeSin && wave != kWaveCodeSqu;
}
int32_t SimGetFreq(int phase) {
    return ValidPhase(phase) ? static_cast<int32_t>(ValueRec(phase).freq) : 0;
}
int32_t SimGetOnpha(int phase) {
    return ValidPhase(phase) ? static_cast<int32_t>(SimRec(phase).onPhase) : 0;
}
int32_t SimGetOffpha(int phase) {
    return ValidPhase(phase) ? static_cast<int32_t>(SimRec(phase).offPhase) : 0;
}
int32_t SimGetEnOnpha(int phase) {
    if (!ValidPhase(phase) || SimState() == kSimNoState) return 0;
    return (SimRec(phase).flags & kSimEnOnPhase) ? 1 : 0;
}
int32_t SimGetEnOffpha(int phase) {
    if (!ValidPhase(phase) || SimState() == kSimNoState) return 0;
    return (SimRec(phase).flags & kSimEnOffPhase) ? 1 : 0;
}
int32_t SimGetWave() {
    return static_cast<int32_t>(SimRec(0).wave);
}
int32_t SimGetSyncCode() {
    return static_cast<int32_t>(ValueRec(0).syncCode);
}
int32_t SimGetEnRepeat() {
    return (SimRecAt(kSimNormal2, 0).flags & kSimEnRepeat) ? 1 : 0;
}
int32_t SimGetRepeat() {
    return static_cast<int32_t>(SimRecAt(kSimNormal2, 0).repeat);
}
int32_t SimGetBalance_L2() {
    static constexpr int32_t kAngle[3] = {1200, 0, 1800};
    const uint32_t wiring = GetPhaseMode();
    return wiring < kWirings ? kAngle[wiring] : 0;
}
int32_t SimGetBalance_L3() {
    return GetPhaseMode() == kWiring1P2W ? 0 : 2400;
}
int32_t SimGetJumpto() {
    switch (SimState()) {
        case kSimNormal1:
            return kSimAbnormal;
        case kSimAbnormal:
            return kSimNormal2;
        case kSimNormal2:
            return kSimNormal1;
        default:
            return 0;
    }
}

int32_t SimGetTimeMin() {
    return SimGetTimeMinOf(SimState());
}
int32_t SimGetTimeMinOf(uint32_t state) {
    return state == kSimTrans1 || state == kSimTrans2 ? 0 : 1;
}
int32_t SimGetTimeMax() {
    return 99999999;
}
int32_t SimGetAcvMin() {
    return 0;
}
int32_t SimGetAcvMax() {
    return SimGetAcvMaxOf(SimState());
}
int32_t SimGetAcvMaxOf(uint32_t state) {
    const uint32_t wave = SimRecAt(state, 0).wave;
    return VoltLimitMax(wave == kWaveCodeSin || wave == kWaveCodeSqu ? 0 : 1);
}
int32_t SimGetAcvVppMax() {
    return VoltLimitMax(1);
}
int32_t SimGetFreqMin() {
    return 100;
}
int32_t SimGetFreqMax() {
    return FreqMax();
}
int32_t SimGetOnOffPhaseMin() {
    return 0;
}
int32_t SimGetOnOffPhaseMax(int phase) {
    return SimGetOnOffPhaseMaxOf(SimState(), phase);
}
int32_t SimGetOnOffPhaseMaxOf(uint32_t state, int phase) {
    const uint32_t valueState = state == kSimNoState ? 0 : state;
    return settings::AngleMaxAtFreq(ValidPhase(phase) ? static_cast<int32_t>(SimRecAt(valueState, phase).freq)
                                                      : 0);
}
int32_t SimGetEnableMin() {
    return 0;
}
int32_t SimGetEnableMax() {
    return 1;
}
int32_t SimGetSyncCodeMin() {
    return 0;
}
int32_t SimGetSyncCodeMax() {
    return 3;
}
int32_t SimGetRepeatMin() {
    return 0;
}
int32_t SimGetRepeatMax() {
    return 9999;
}
