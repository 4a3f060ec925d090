#include "engine/seq/seq_preview.h"

#include <cstring>

#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "engine/seq/seq_internal.h"

SeqPreview g_SeqPreview;

namespace {

constexpr uint32_t kStatePreview = 435, kStatePreviewRunEdit = 437;

uint32_t Term(const SeqStepRecord& r) {
    return (r.flags >> kSeqTermShift) & 7u;
}

}  // namespace

int SeqIsPreviewState() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    return state >= kStatePreview && state <= kStatePreviewRunEdit ? 1 : 0;
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
