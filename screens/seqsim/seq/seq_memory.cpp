#include "screens/seqsim/seq/seq_memory.h"

#include "core/system/messaging/msg_ring.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seqsim_words.h"

namespace {
constexpr int32_t kLoadedLimited = -202;

SeqSimBlock& L1() {
    return g_SeqSimBlock[0];
}
bool PageOpen(uint8_t bit) {
    return (L1().panelFlags.load(std::memory_order_relaxed) & bit) != 0;
}
void Close(uint8_t bit, uint8_t notice) {
    L1().panelFlags.fetch_and(static_cast<uint8_t>(~bit), std::memory_order_relaxed);
    L1().notices.fetch_or(notice, std::memory_order_release);
}
}  // namespace

void Seq_SelectBuffers() {
    SeqSimSelectTables();
    L1().curStep.store(0, std::memory_order_release);
    SeqPrepStage.store(kSeqPrepRequested, std::memory_order_release);
}

void Seq_RecallSlot() {
    if (!PageOpen(kSeqPanelRecallOpen)) return;
    const uint32_t slot = SeqSimGetRecallSlot();
    const int32_t r = SeqMem_Recall(1, static_cast<int32_t>(slot));
    // The popup's format takes the slot; a memory loaded limited is reported by the preparation.
    const char* text = "Recall Fail!";
    if (r >= 1 || r == kLoadedLimited) {
        text = r >= 1 ? "Recalled from SEQ%d" : nullptr;
        if (r == kLoadedLimited) g_SeqSimErrors.seqInvalid.store(1, std::memory_order_release);
        Seq_SelectBuffers();
        g_SeqSimSlots.seq = static_cast<uint16_t>(slot);
    }
    Close(kSeqPanelRecallOpen, kSeqNoticeRecalled);
    if (text != nullptr) ShowMessage(2, text, static_cast<int>(slot));
}

void Seq_SaveSlot() {
    if (!PageOpen(kSeqPanelSaveOpen)) return;
    const uint32_t slot = SeqSimGetSaveSlot();
    const char* text = "Save Fail!";
    if (SeqMem_Save(static_cast<int32_t>(slot)) >= 1) {
        text = "Saved to SEQ%d";
        g_SeqSimSlots.seq = static_cast<uint16_t>(slot);
    }
    Close(kSeqPanelSaveOpen, kSeqNoticeSaved);
    ShowMessage(2, text, static_cast<int>(slot));
}
