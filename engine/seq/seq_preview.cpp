#include "engine/seq/seq_preview.h"

#include <cstring>

#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/seq/seq_internal.h"
#include "platform/stage/wiring_codes.h"

SeqPreview g_SeqPreview;

namespace {

uint32_t Term(const SeqStepRecord& r) {
    return (r.flags >> kSeqTermShift) & 7u;
}

bool Wiring1P3W() {
    return GetPhaseMode() == kWiring1P3W;
}

// The nearest earlier entry of the order whose type at `shift` is not "KP", or null.
const SeqStepRecord* Carrier(int phase, uint32_t shift) {
    if (phase < 0 || phase > 2) return nullptr;
    const int slice = phase == 1 && Wiring1P3W() ? 0 : phase;
    uint32_t position = g_SeqPreview.position;
    if (position > g_SeqPreview.count) position = g_SeqPreview.count;
    for (int64_t i = static_cast<int64_t>(position) - 2; i >= 0; --i) {
        const uint32_t step = g_SeqPreview.order[i];
        if (step >= kSeqSteps) continue;
        const SeqStepRecord& r = g_SeqPreview.steps[slice][step];
        if (engine::TypeField(r.flags, shift) != kTypeKP) return &r;
    }
    return nullptr;
}

}  // namespace

int SeqIsPreviewState() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    return state >= kMenuSeqPreview && state <= kMenuSeqPreviewRUNEdit ? 1 : 0;
}

uint32_t SeqBuildPreview() {
    const uint32_t kind = engine::SeqKind();
    for (int p = 0; p < kSeqSlices; ++p) {
        const SeqStepRecord* table = g_SeqSimBlock[p].seqTable[kind];
        if (table != nullptr) std::memcpy(g_SeqPreview.steps[p], table, sizeof g_SeqPreview.steps[p]);
    }
    const SeqStepRecord* live = g_SeqSimBlock[0].seqTable[kind];
    SeqStepRecord* copy = g_SeqPreview.steps[0];
    uint32_t s = 0, n = 0;
    for (;;) {
        g_SeqPreview.order[n++] = s;
        if (Term(copy[s]) == kTermEnd || n >= kSeqSteps) break;
        if (s == 0 && n > 1) break;
        if ((copy[s].flags & kSeqEnJumpto) != 0 && copy[s].jumpTo < kSeqSteps) {
            if (live != nullptr && live[s].jumpCnt == 0) {
                s = copy[s].jumpTo;
                continue;
            }
            if (copy[s].jumpCnt >= 1) {
                --copy[s].jumpCnt;
                s = copy[s].jumpTo;
                continue;
            }
        }
        if (++s == kSeqSteps) break;
    }
    g_SeqPreview.count = n;
    return n;
}

float SeqPreviewPrevAcv(int phase) {
    const SeqStepRecord* r = Carrier(phase, kSeqAcvTypeShift);
    if (r == nullptr) return 0.0f;
    const bool vppWave = r->wave >= 1 && r->wave <= 256 && r->wave != kWaveCodeSin && r->wave != kWaveCodeSqu;
    if (GetAcvUnit() == 1 && vppWave) return static_cast<float>(r->acvVpp / 100);
    return static_cast<float>(r->acv / 100) * GetWaveCrestFactor(static_cast<int>(r->wave) - 1);
}

float SeqPreviewPrevDcv(int phase) {
    const SeqStepRecord* r = Carrier(phase, kSeqDcvTypeShift);
    if (r == nullptr) return 0.0f;
    const float v = static_cast<float>(r->dcv / 100);
    return phase == 1 && Wiring1P3W() ? -v : v;
}
