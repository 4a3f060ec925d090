#include "screens/seqsim/seq/seq_volt_checks.h"

#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_data.h"

SeqStepOrderTable SeqStepOrder;

namespace {

// One quantity of a step: its mode and its level for a phase.
struct Quantity {
    int32_t (*mode)(int32_t step, int phase);
    int32_t (*level)(int32_t step, int phase);
};
// The ACV mode lives in L1's record for every phase.
int32_t AcvModeL1(int32_t step, int) {
    return SeqGetAcvModeAt(step, 0);
}
constexpr Quantity kAcv{AcvModeL1, SeqGetAcvAt};
constexpr Quantity kDcv{SeqGetDcvModeAt, SeqGetDcvAt};

int32_t Positive(int32_t candidate, int32_t r) {
    return candidate > 0 && candidate > r ? candidate : r;
}

// From visit index x down: the first step of that index whose mode is not KP sets the candidate and ends
// the search; an index without such a step moves one lower.
int32_t SearchOrder(const Quantity& q, int phase, int32_t x, int32_t r) {
    for (; x >= 0; --x) {
        for (int t = 0; t < kSeqSteps; ++t) {
            if (SeqStepOrder.index[t] != x) continue;
            if (q.mode(t, phase) != kTypeKP) return Positive(q.level(t, phase), r);
            break;
        }
    }
    return r;
}

int32_t PrevLevel(const Quantity& q, int phase) {
    const int32_t s = SeqGetCurStep();
    int32_t r = 0;
    if (s - 1 >= 0) {
        if (q.mode(s - 1, phase) != kTypeKP) {
            r = Positive(q.level(s - 1, phase), r);
        } else {
            for (int32_t k = s - 2; k >= 0; --k) {
                if (q.mode(k, phase) == kTypeKP) continue;
                r = Positive(q.level(k, phase), r);
                break;
            }
        }
    }
    SeqBuildStepOrder();
    const int32_t own = s >= 0 && s < kSeqSteps ? SeqStepOrder.index[s] : kSeqNotVisited;
    // A step the walk never reaches has no step visited before it.
    if (own == kSeqNotVisited) return r;
    // Its own index would give its own level: the search starts one lower.
    r = SearchOrder(q, phase, own - 1, r);
    if (SeqStepOrder.loopFlag == 1) r = SearchOrder(q, phase, static_cast<int32_t>(SeqStepOrder.lastIndex), r);
    return r;
}

}  // namespace

void SeqBuildStepOrder() {
    for (int16_t& e : SeqStepOrder.index) e = kSeqNotVisited;
    SeqStepOrder.loopFlag = 0;
    int32_t s = 0;
    int16_t n = 0;
    while (s <= kSeqSteps - 1) {
        if (SeqStepOrder.index[s] != kSeqNotVisited) {
            SeqStepOrder.loopFlag = 1;
            SeqStepOrder.loopStep = static_cast<uint32_t>(s);
            return;
        }
        SeqStepOrder.index[s] = n;
        SeqStepOrder.lastIndex = static_cast<uint32_t>(n);
        if (SeqGetTermAt(s) == kTermEnd) return;
        ++n;
        s = SeqGetEnJumptoAt(s) != 0 ? SeqGetJumptoAt(s) : s + 1;
        if (s < 0) return;
    }
}

int32_t SeqPrevAcvLevel(int phase) {
    return PrevLevel(kAcv, phase);
}
int32_t SeqPrevDcvLevel(int phase) {
    return PrevLevel(kDcv, phase);
}
int32_t SeqCurAcv(int phase) {
    return SeqGetAcv(phase);
}
int32_t SeqCurDcv(int phase) {
    return SeqGetDcv(phase);
}

int SeqModePairOutOfLimits(int32_t acvMode, int32_t dcvMode, int phase) {
    const uint32_t kind = GetOutputMode();
    if (kind != 0 || acvMode == dcvMode) return 0;
    // The field in KP starts from the previous level; without one, the field in SP does.
    const bool acvPrev = acvMode == kTypeKP || (dcvMode != kTypeKP && acvMode == kTypeSP);
    const int32_t acv = acvPrev ? SeqPrevAcvLevel(phase) : SeqCurAcv(phase);
    const int32_t dcv = acvPrev ? SeqCurDcv(phase) : SeqPrevDcvLevel(phase);
    int32_t out[kStepLimitWords] = {};
    SeqStepVoltLimits(out, kind, engine::SeqRange(), static_cast<uint32_t>(SeqGetWave(phase)), acv, dcv);
    return out[kStepOutOfRange] == 1 ? 1 : 0;
}
