#include "engine/seq/seq_limits.h"

#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/state/service_flags.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_saved_config.h"

using namespace engine;

namespace {

// The output limits for the step's waveform: ACV limits at the step's DCV, DCV limits at its ACV.
void StepLimits(int32_t* out, int phase, int32_t acv, int32_t dcv) {
    SeqStepVoltLimits(out, SeqKind(), SeqRange(), SeqRec(phase).wave, acv, dcv);
}
int32_t AcvWord(int phase, int word) {
    if (!ValidPhase(phase)) return 0;
    int32_t out[kStepLimitWords];
    StepLimits(out, phase, 0, SeqGetDcv(phase));
    return out[word];
}
int32_t DcvWord(int phase, int word) {
    if (!ValidPhase(phase)) return 0;
    int32_t out[kStepLimitWords];
    StepLimits(out, phase, SeqGetAcv(phase), 0);
    return out[word];
}

}  // namespace

namespace engine {

int32_t FreqMax() {
    ParamRec rec{};
    paramGetRecord(kParamFreqLimitHi, &rec, 0);
    return rec.max;
}

int32_t VppMaxFor(uint32_t wave, uint32_t range) {
    if (wave < 1 || wave > 256) return 0;
    const double base = range == 0 ? 17500.0 : 35000.0;
    return static_cast<int32_t>(2.0 * base * GetWaveCrestFactor(static_cast<int>(wave) - 1) + 0.5);
}

uint32_t SeqRange() {
    return GetVoltRange() == kUserRange100V ? 0 : 1;
}

bool AcvTaken(int32_t value, uint32_t wave, bool vpp, int32_t dcv) {
    int32_t out[kStepLimitWords];
    SeqStepVoltLimits(out, SeqKind(), SeqRange(), wave, 0, dcv);
    if (value < out[kStepAcvMin] || value > out[kStepAcvMax]) return false;
    return !vpp || value <= VppMaxFor(wave, SeqRange()) || core::NvWritesDisabled();
}

bool DcvTaken(int32_t value, uint32_t wave, int32_t acv) {
    int32_t out[kStepLimitWords];
    SeqStepVoltLimits(out, SeqKind(), SeqRange(), wave, acv, 0);
    return value >= out[kStepDcvMin] && value <= out[kStepDcvMax];
}

bool FsetTaken(int32_t value) {
    return value >= SeqGetFsetMin() && value <= SeqGetFsetMax();
}

}  // namespace engine

int32_t SeqGetAcvRangeMax(int phase) {
    return AcvWord(phase, kStepAcvMax);
}
int32_t SeqGetAcvRangeMin(int phase) {
    return AcvWord(phase, kStepAcvMin);
}
int32_t SeqGetStepAcvMax(int phase) {
    return AcvWord(phase, kStepAcvMax);
}
int32_t SeqGetAcvVppMax(int phase) {
    if (!ValidPhase(phase)) return 0;
    return VppMaxFor(SeqRec(phase).wave, SeqRange());
}
int32_t SeqGetDcvRangeMax(int phase) {
    return DcvWord(phase, kStepDcvMax);
}
int32_t SeqGetDcvRangeMin(int phase) {
    return DcvWord(phase, kStepDcvMin);
}
int32_t SeqGetFsetMax() {
    return FreqMax();
}
int32_t SeqGetFsetMin() {
    static constexpr int32_t kMin[3] = {100, 1500, 0};
    return kMin[SeqKind()];
}
int32_t SeqGetPhaseMax() {
    return settings::kAngleMax;
}
int32_t SeqGetPhaseMin() {
    return 0;
}
int32_t SeqGetOnOffPhaseMax(int phase) {
    return settings::AngleMaxAtFreq(SeqGetFset(phase));
}
int32_t SeqGetTimeMax() {
    return 99999999;
}
int32_t SeqGetTimeMin() {
    return 1;
}
int32_t SeqGetTypeMax() {
    return 2;
}
int32_t SeqGetTypeMin() {
    return 0;
}
int32_t SeqGetWaveMax() {
    return 256;
}
int32_t SeqGetWaveMin() {
    return 1;
}
int32_t SeqGetEnableMax() {
    return 1;
}
int32_t SeqGetEnableMin() {
    return 0;
}
int32_t SeqGetTargetStepMax() {
    return kSeqSteps - 1;
}
int32_t SeqGetTargetStepMin() {
    return 0;
}
int32_t SeqGetJumpCntMax() {
    return 9999;
}
int32_t SeqGetJumpCntMin() {
    return 0;
}
int32_t SeqGetTermMax() {
    return 2;
}
int32_t SeqGetTermMin() {
    return 0;
}
int32_t SeqGetSyncCodeMax() {
    return 3;
}
int32_t SeqGetSyncCodeMin() {
    return 0;
}

bool SeqAcvOverVppMax(int32_t value, int phase) {
    return SeqSimAcvIsVpp(phase) && value > SeqGetAcvVppMax(phase);
}
