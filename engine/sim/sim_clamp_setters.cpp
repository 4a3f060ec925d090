#include "engine/sim/sim_clamp_setters.h"

#include <algorithm>
#include <iterator>

#include "core/control/hooks/screen_request.h"
#include "engine/seq/seq_internal.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"

namespace {

void Show(SimClampField field, int phase) {
    ScreenRequest_Ask(ScreenRequest::kSimShowField, static_cast<uint32_t>(field), phase);
}

using Limits = void (*)(uint32_t state, int phase, int32_t* lo, int32_t* hi);

void EnableLimits(uint32_t, int, int32_t* lo, int32_t* hi) {
    *lo = SimGetEnableMin();
    *hi = SimGetEnableMax();
}
void PhaseLimits(uint32_t state, int p, int32_t* lo, int32_t* hi) {
    *lo = SimGetOnOffPhaseMin();
    *hi = SimGetOnOffPhaseMaxOf(state, p);
}
void AcvLimits(uint32_t state, int p, int32_t* lo, int32_t* hi) {
    *lo = SimGetAcvMin();
    *hi = SimAcvIsVppOf(state, p) ? SimGetAcvVppMax() : SimGetAcvMaxOf(state);
}
void FreqLimits(uint32_t, int, int32_t* lo, int32_t* hi) {
    *lo = SimGetFreqMin();
    *hi = SimGetFreqMax();
}
void TimeLimits(uint32_t state, int, int32_t* lo, int32_t* hi) {
    *lo = SimGetTimeMinOf(state);
    *hi = SimGetTimeMax();
}
void SyncCodeLimits(uint32_t, int, int32_t* lo, int32_t* hi) {
    *lo = SimGetSyncCodeMin();
    *hi = SimGetSyncCodeMax();
}
void RepeatLimits(uint32_t, int, int32_t* lo, int32_t* hi) {
    *lo = SimGetRepeatMin();
    *hi = SimGetRepeatMax();
}

// Each field's limits and whether it is written per phase, in the order of SimClampField.
struct FieldRule {
    Limits limits;
    bool perPhase;
};
constexpr FieldRule kRules[] = {
    {EnableLimits, true},  {EnableLimits, true},  {PhaseLimits, true}, {PhaseLimits, true},
    {AcvLimits, true},     {FreqLimits, true},    {TimeLimits, false}, {SyncCodeLimits, false},
    {RepeatLimits, false}, {EnableLimits, false},
};
static_assert(std::size(kRules) == static_cast<size_t>(SimClampField::kEnRepeat) + 1);

const FieldRule& Rule(SimClampField field) {
    return kRules[static_cast<uint32_t>(field)];
}

// Writes one phase, or all three for L1; the limits are each phase's own, in the current state.
template <typename Set>
int32_t PerPhase(SimClampField field, int32_t value, int phase, Set set) {
    if (!engine::ValidPhase(phase)) return 0;
    const int last = phase == 0 ? 2 : phase;
    int32_t stored = 0;
    for (int p = phase; p <= last; ++p) {
        int32_t lo, hi;
        Rule(field).limits(engine::SimState(), p, &lo, &hi);
        stored = set(std::clamp(value, lo, std::max(lo, hi)), p);
    }
    Show(field, phase);
    return stored;
}

template <typename Set>
int32_t Single(SimClampField field, int32_t value, Set set) {
    int32_t lo, hi;
    Rule(field).limits(engine::SimState(), 0, &lo, &hi);
    const int32_t stored = set(std::clamp(value, lo, std::max(lo, hi)));
    Show(field, -1);
    return stored;
}

}  // namespace

int32_t SimSetEnOnphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kEnOnpha, value, phase, SimSetEnOnpha);
}
int32_t SimSetEnOffphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kEnOffpha, value, phase, SimSetEnOffpha);
}
int32_t SimSetOnphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kOnpha, value, phase, SimSetOnpha);
}
int32_t SimSetOffphaClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kOffpha, value, phase, SimSetOffpha);
}
int32_t SimSetAcvClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kAcv, value, phase, SimSetAcv);
}
int32_t SimSetFreqClamp(int32_t value, int phase) {
    return PerPhase(SimClampField::kFreq, value, phase, SimSetFreq);
}
int32_t SimSetTimeClamp(int32_t value) {
    return Single(SimClampField::kTime, value, SimSetTime);
}
int32_t SimSetSyncCodeClamp(int32_t value) {
    // SimSetSyncCode answers with the whole status word: the code is its two low bits.
    Single(SimClampField::kSyncCode, value, SimSetSyncCode);
    return SimGetSyncCode();
}
int32_t SimSetRepeatClamp(int32_t value) {
    return Single(SimClampField::kRepeat, value, SimSetRepeat);
}
int32_t SimSetEnRepeatClamp(int32_t value) {
    return Single(SimClampField::kEnRepeat, value, SimSetEnRepeat);
}

bool SimClampTakes(SimClampField field, int32_t value, uint32_t state, int phase) {
    const FieldRule& rule = Rule(field);
    if (rule.perPhase && !engine::ValidPhase(phase)) return false;
    const int first = rule.perPhase ? phase : 0;
    const int last = rule.perPhase && phase == 0 ? 2 : first;
    for (int p = first; p <= last; ++p) {
        int32_t lo, hi;
        rule.limits(state, p, &lo, &hi);
        if (value < lo || value > std::max(lo, hi)) return false;
    }
    return true;
}
