#include "screens/seqsim/seq/seq_prepare_step.h"

#include <atomic>

#include "core/system/messaging/msg_ring.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seqsim_prepare.h"
#include "screens/seqsim/seqsim_words.h"
#include "storage/image_hold.h"

namespace {

constexpr auto kAcqRel = std::memory_order_acq_rel;
// The held popup of the request in progress has been posted (menu/control thread only).
bool g_heldPosted = false;

void Report() {
    SeqSimErrors& e = g_SeqSimErrors;
    const int32_t count = e.seqCount.load(std::memory_order_relaxed);
    const int32_t step = e.seqStep.load(std::memory_order_relaxed);
    SeqSimBlock& b = g_SeqSimBlock[0];
    if (step != 0 || count != 0) {
        ShowMessage(2, "SEQ Err.(%d, %d)", static_cast<int>(step), static_cast<int>(count));
    } else {
        const storage::ImageHold saved(g_SeqSimSavedLock);
        const uint32_t recalled = e.seqInvalid.load(std::memory_order_acquire);
        if (recalled == 0 && b.invalid == 0) {
            ShowMessage(2, "Sequence is ready.");
        } else if (recalled == 1) {
            e.seqInvalid.store(0, std::memory_order_release);
            if (saved.owns_lock()) b.invalid = 0;
            ShowMessage(2, "SEQ%d Data Out of Range!\n Set To Limited.", static_cast<int>(g_SeqSimSlots.seq));
        } else {
            e.seqInvalid.store(0, std::memory_order_release);
            ShowMessage(2, "Data Out of Range!\n Set To Limited.");
        }
    }
    e.seqCount.store(0, std::memory_order_relaxed);
    e.seqStep.store(0, std::memory_order_relaxed);
}

}  // namespace

void Seq_PreparationStep() {
    // A request outside SEQUENCE waits for its page, whose entry asks again. Leaving SEQUENCE before the
    // download takes the held popup of the request along: nothing else would close it.
    if (SeqIsActiveMode() != 1) {
        if (g_heldPosted) {
            g_heldPosted = false;
            MsgQueue_Clear();
            MsgPopup_Close();
        }
        return;
    }
    // The screen ticks the stage on from 0 by itself: a pass that first sees the request at a later tick
    // still holds the popup, so that it stands until the download however late this thread runs.
    // An entry's request (kSeqPrepEntered) waits for its page without the popup.
    const uint32_t stage = SeqPrepStage.load(std::memory_order_acquire);
    if (stage > kSeqPrepDownload) g_heldPosted = false;
    if (stage < kSeqPrepDownload) {
        if (!g_heldPosted) ShowMessageHold("Sequence preparation...");
        g_heldPosted = true;
        return;
    }
    if (stage != kSeqPrepDownload) return;
    {
        const storage::ImageHold tables(g_SeqSimTableLock);
        if (!tables.owns_lock()) return;
        Seq_DownloadPrepared();
    }
    MsgQueue_Clear();
    MsgPopup_Close();
    g_heldPosted = false;
    uint32_t expected = kSeqPrepDownload;
    SeqPrepStage.compare_exchange_strong(expected, kSeqPrepIdle, kAcqRel);
    Report();
}
