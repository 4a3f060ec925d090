#include "engine/sim/sim_clamp_setters.h"

#include <algorithm>

#include "core/control/hooks/screen_request.h"
#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"

namespace {

void Show(SimClampField field, int phase) {
    ScreenRequest_Ask(ScreenRequest::kSimShowField, static_cast<uint32_t>(field), phase);
}

// Writes one phase, or all three for L1; the limits are each phase's own.
template <typename Limits, typename Set>
int32_t PerPhase(SimClampField field, int32_t value, int phase, Limits limits, Set set) {
    if (!engine::ValidPhase(phase)) return 0;
    const int last = phase == 0 ? 2 : phase;
    int32_t stored = 0;
    for (int p = phase; p <= last; ++p) {
        int32_t lo, hi;
        limits(p, &lo, &hi);
        stored = set(std::clamp(value, lo, std::max(lo, hi)), p);
    }
    Show(field, phase);
    return stored;
}

void EnableLimits(int, int32_t* lo, int32_t* hi) {
    *lo = SimGetEnableMin();
    *hi = SimGetEnableMax();
}
void PhaseLimits(int p, int32_t* lo, int32_t* hi) {
    *lo = SimGetOnOffPhaseMin();
    *hi = SimGetOnOffPhaseMax(p);
}
void AcvLimits(int p, int32_t* lo, int32_t* hi) {
    *lo = SimGetAcvMin();
    *hi = SeqSimAcvIsVpp(p) ? SimGetAcvVppMax() : SimGetAcvMax();
}
void FreqLimits(int, int32_t* lo, int32_t* hi) {
    *lo = SimGetFreqMin();
    *hi = SimGetFreqMax();
}

int32_t Single(SimClampField field, int32_t value, int32_t lo, int32_t hi, int32_t (*set)(int32_t)) {
    const int32_t stored = set(std::clamp(value, lo, std::max(lo, hi)));
    Show(field, -1);
    return stored;
}

}  // namespace

int32_t SimSetEnOnphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kEnOnpha, value, phase, EnableLimits, SimSetEnOnpha);
}
int32_t SimSetEnOffphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kEnOffpha, value, phase, EnableLimits, SimSetEnOffpha);
}
int32_t SimSetOnphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kOnpha, value, phase, PhaseLimits, SimSetOnpha);
}
int32_t SimSetOffphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kOffpha, value, phase, PhaseLimits, SimSetOffpha);
}
int32_t SimSetAcvClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kAcv, value, phase, AcvLimits, SimSetAcv);
}
int32_t SimSetFreqClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kFreq, value, phase, FreqLimits, SimSetFreq);
}
int32_t SimSetTimeClamp(int32_t value) {
    return Single(SimClampField::kTime, value, SimGetTimeMin(), SimGetTimeMax(), SimSetTime);
}
int32_t SimSetSyncCodeClamp(int32_t value) {
    // SimSetSyncCode answers with the whole status word: the code is its two low bits.
    const int32_t code = std::clamp(value, SimGetSyncCodeMin(), SimGetSyncCodeMax());
    SimSetSyncCode(code);
    Show(SimClampField::kSyncCode, -1);
    return SimGetSyncCode();
}
int32_t SimSetRepeatClamp(int32_t value) {
    return Single(SimClampField::kRepeat, value, SimGetRepeatMin(), SimGetRepeatMax(), SimSetRepeat);
}
int32_t SimSetEnRepeatClamp(int32_t value) {
    return Single(SimClampField::kEnRepeat, value, SimGetEnableMin(), SimGetEnableMax(), SimSetEnRepeat);
}
