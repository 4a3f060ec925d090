// The SEQ0-SEQ9 lists: the knob picks the slot (turned right, the number goes
// down), 'U' saves into it or recalls it; a memory stored for another wiring,
// or for another range while the output is on, is recalled only through the
// confirmations.
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_memory.h"
#include "screens/seqsim/seq/seq_page_common.h"
#include "screens/seqsim/seq/seq_page_entries.h"
#include "screens/seqsim/seq/seq_page_keys.h"
#include "screens/seqsim/seq/seq_panel_keys.h"

using namespace seqpage;

namespace {

constexpr int32_t kLastSlot = 9;

// The list's key handling; pageBit is the list's bit of the panel flags.
void ListKeys(uint32_t* ev, uint8_t pageBit, uint32_t (*setSlot)(uint32_t), void (*enter)()) {
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor && code == kKeyKnob) {
        const int32_t slot =
            EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed),
                          static_cast<int32_t>(g_EditParam.cursor), -KeyEventDelta(*ev), kLastSlot, 0);
        g_EditParam.workValue.store(slot, std::memory_order_relaxed);
        setSlot(static_cast<uint32_t>(slot));
    } else if (cls == kClassSoft) {
        Seq_SoftKeys(ev);
    } else if ((cls == kClassKeypad && code == kKeyExit) || (cls == kClassFunction && code == kKeySeq)) {
        g_SeqSimBlock[0].panelFlags.fetch_and(static_cast<uint8_t>(~pageBit), std::memory_order_relaxed);
        if (g_EditBuf.entryState != 0)
            menuResetEdit();
        else
            Enter_menuSeqSetStepIndex();
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        enter();
    }
}

void Save() {
    Seq_SaveSlot();
    Enter_menuSeqSetStepIndex();
}

void Recall() {
    uint16_t wiring = 0, range = 0;
    // One read of the stored configuration; a memory that cannot be read goes
    // straight to the recall, which reports it.
    if (SeqMem_StoredConfig(static_cast<int32_t>(SeqSimGetRecallSlot()), &wiring, &range)) {
        if (wiring != GetPhaseMode()) {
            Enter_menuSeqOutputPhase();
            return;
        }
        if (range != static_cast<uint32_t>(GetVoltRange()) && OutputFlagTest(kOutFlagOutputOn)) {
            g_DialogChoice.store(1, std::memory_order_relaxed);
            Enter_menuSeqRange();
            return;
        }
    }
    Seq_RecallSlot();
    Enter_menuSeqSetStepIndex();
}

}  // namespace

void menuSeqSaveMemory(uint32_t* ev) {
    ListKeys(ev, kSeqPanelSaveOpen, SeqSimSetSaveSlot, Save);
}

void menuSeqRecallMemory(uint32_t* ev) {
    ListKeys(ev, kSeqPanelRecallOpen, SeqSimSetRecallSlot, Recall);
}
