// The all-phase voltage limits: checks against every phase, the tightest limit and the limiting phases.
#include "core/params/limits/phase_limits.h"

#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/limits/limit_internal.h"
#include "core/params/param_store.h"

core::LimitedPhase g_LimitedPhase;

namespace {

uint32_t ActivePhases() {
    return limits::LastPhase() + 1;
}

bool IsAcv(uint32_t id) {
    return id >= kParamAcv && id <= kParamAcv + 2;
}
bool IsDcv(uint32_t id) {
    return id >= kParamDcv && id <= kParamDcv2 + 2;
}

// The record of phase p that holds the id's voltage: ACV under its own id of the triple, DCV under 51 + p.
uint32_t PhaseId(uint32_t id, uint32_t p) {
    return (IsAcv(id) ? kParamAcv : kParamDcv) + p;
}

// The binding one of three limits: L2 takes a tie with L1, L3 only a strictly tighter value.
uint32_t TightestPhase(const int32_t v[3], bool smallest) {
    auto tighter = [smallest](int32_t a, int32_t b) { return smallest ? a < b : a > b; };
    if (v[0] == v[1] && v[1] == v[2]) return core::kAllPhasesEqual;
    uint32_t best = tighter(v[0], v[1]) ? 0 : 1;
    if (tighter(v[2], v[best])) best = 2;
    return best;
}

bool CopiesEqual(const std::atomic<int32_t> (&c)[3]) {
    const int32_t first = c[0].load(std::memory_order_relaxed);
    return c[1].load(std::memory_order_relaxed) == first && c[2].load(std::memory_order_relaxed) == first;
}

}  // namespace

uint32_t AlignLimitsToPhases(uint32_t id, core::Side side) {
    using core::Side;
    if (!IsAcv(id) && id != kParamDcv) return 0;
    if (side == Side::kMin && IsAcv(id)) return core::kAllPhasesEqual;
    int32_t v[3];
    for (uint32_t p = 0; p < core::kPhases; ++p) {
        ParamRec rec{};
        paramGetRecord(PhaseId(id, p), &rec, p);
        v[p] = side == Side::kMax ? rec.max : rec.min;
        (side == Side::kMax ? g_LimitedPhase.maxCopy : g_LimitedPhase.minCopy)[p].store(
            v[p], std::memory_order_relaxed);
    }
    const uint32_t index = TightestPhase(v, side == Side::kMax);
    const uint32_t sel = limits::SelectedPhase();
    const int32_t tightest = v[index == core::kAllPhasesEqual ? 0 : index];
    if (side == Side::kMax) {
        paramPutMax(PhaseId(id, sel), tightest, sel);
    } else {
        paramPutMin(PhaseId(id, sel), tightest, sel);
    }
    return index;
}

bool AllPhaseBounds(uint32_t id, int32_t* max, int32_t* min) {
    if (!IsAcv(id) && !IsDcv(id)) return false;
    int32_t hi[3], lo[3];
    for (uint32_t p = 0; p < core::kPhases; ++p) {
        ParamRec rec{};
        paramGetRecord(PhaseId(id, p), &rec, p);
        hi[p] = rec.max;
        lo[p] = rec.min;
    }
    const auto at = [](uint32_t index) { return index == core::kAllPhasesEqual ? 0 : index; };
    *max = hi[at(TightestPhase(hi, true))];
    *min = IsAcv(id) ? lo[limits::SelectedPhase()] : lo[at(TightestPhase(lo, false))];
    return true;
}

int AllPhasesEqual(uint32_t id, int32_t value) {
    for (uint32_t p = 0; p < ActivePhases(); ++p)
        if (paramGetValue(id, p) != value) return 0;
    return 2;
}

int FindPhasesLimitingValue(uint32_t id, int32_t value) {
    g_LimitedPhase.mask.store(0, std::memory_order_release);
    const uint32_t sel = limits::SelectedPhase();
    VoltSettingCheckPhase(GetOutputMode(), core::VoltAreaOfRange(core::CurrentRangeCode()), sel);
    if (value == 0) value = paramGetValue(id, sel);
    const int equal = AllPhasesEqual(id, value);
    if (!IsAcv(id) && !IsDcv(id)) return equal;

    // A negative DC value is tested against the minima, with a margin of 2 below it; in 64 bits, so the
    // most negative value does not wrap to a positive one.
    const bool minSide = IsDcv(id) && value < 0;
    const int64_t test = minSide ? static_cast<int64_t>(value) - 2 : value;
    auto& copies = minSide ? g_LimitedPhase.minCopy : g_LimitedPhase.maxCopy;
    auto& index = minSide ? g_LimitedPhase.minIndex : g_LimitedPhase.maxIndex;
    int limited = 0;
    uint32_t mask = 0;
    for (uint32_t p = 0; p < ActivePhases(); ++p) {
        ParamRec rec{};
        paramGetRecord(PhaseId(id, p), &rec, p);
        const auto holds = [&](int32_t limit) { return minSide ? limit > test : limit < test; };
        if (!holds(minSide ? rec.min : rec.max)) continue;
        limited = 1;
        mask |= 1u << p;
        if (p == sel && holds(copies[p].load(std::memory_order_relaxed)))
            index.store(p, std::memory_order_release);
    }
    if (limited != 0 && CopiesEqual(copies)) index.store(core::kAllPhasesEqual, std::memory_order_release);
    g_LimitedPhase.mask.store(mask == 7 ? 0 : mask, std::memory_order_release);
    return limited + equal;
}
