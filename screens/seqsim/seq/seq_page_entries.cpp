#include "screens/seqsim/seq/seq_page_entries.h"

#include "core/system/state/edit_state.h"
#include "engine/seq/seq_preview.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/seq/seq_fields.h"

namespace {
void EnterWithValue(uint32_t state, int32_t value) {
    g_EditParam.cursor = 0;
    g_EditParam.workValue.store(value, std::memory_order_relaxed);
    g_MenuState.store(state, std::memory_order_release);
}
int32_t Position() {
    return static_cast<int32_t>(g_SeqPreview.position.load(std::memory_order_relaxed));
}
}  // namespace

void Enter_menuSeqOutputPhase() {
    g_DialogChoice.store(0, std::memory_order_relaxed);
    g_EditParam.cursor = 0;
    g_MenuState.store(kMenuSeqOutputPhase, std::memory_order_release);
}

void Enter_menuSeqOutputPhase_Check() {
    EnterWithValue(kMenuSeqOutputPhaseCheck, 1);
}

void Enter_menuSeqRange() {
    g_EditParam.cursor = 0;
    g_MenuState.store(kMenuSeqRange, std::memory_order_release);
}

void Enter_menuSeqPreview() {
    EnterWithValue(kMenuSeqPreview, 1);
}

void Enter_menuSeqPreviewRUN() {
    EnterWithValue(kMenuSeqPreviewRUN, Position());
}

void Enter_menuSeqPreviewRUNEdit() {
    g_SeqPreview.editedPosition.store(static_cast<uint32_t>(Position()), std::memory_order_relaxed);
    g_SeqPreview.edited.store(0, std::memory_order_relaxed);
    EnterWithValue(kMenuSeqPreviewRUNEdit, Position());
}
