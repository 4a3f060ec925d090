// The confirmations a recall passes through when the memory was stored for
// another wiring (330, then 331) or, with the output on, another range (332).
// 'V' always picks going on and 'W' giving up; the recall happens only after
// 331's or 332's going on.
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_memory.h"
#include "screens/seqsim/seq/seq_page_common.h"
#include "screens/seqsim/seq/seq_page_entries.h"
#include "screens/seqsim/seq/seq_page_keys.h"

using namespace seqpage;

namespace {

// Going on in 330 is choice 0, in 332 choice 1.
void ChoiceKeys(uint32_t ev, uint32_t goOn) {
    const uint8_t code = KeyEventCode(ev);
    if (code == kKeyLeft) {
        g_DialogChoice.store(goOn, std::memory_order_relaxed);
    } else if (code == kKeyRight) {
        g_DialogChoice.store(1 - goOn, std::memory_order_relaxed);
    } else if (code == kKeyKnob) {
        // From the choice shown: the working value still holds the slot of the
        // recall list.
        const int32_t v = EditValueStep(static_cast<int32_t>(g_DialogChoice.load(std::memory_order_relaxed)),
                                        static_cast<int32_t>(g_EditParam.cursor), KeyEventDelta(ev), 1, 0);
        g_EditParam.workValue.store(v, std::memory_order_relaxed);
        g_DialogChoice.store(static_cast<uint32_t>(v), std::memory_order_relaxed);
    }
}

void Recall() {
    Seq_RecallSlot();
    Enter_menuSeqSetStepIndex();
}

}  // namespace

void menuSeqOutputPhase(uint32_t* ev) {
    if (Filtered(ev) || ExitOrKeypadHook(ev)) return;
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassCursor) {
        ChoiceKeys(*ev, 0);
    } else if (cls == kClassKeypad) {  // only 'U' is left
        if (g_DialogChoice.load(std::memory_order_relaxed) == 0)
            Enter_menuSeqOutputPhase_Check();
        else
            Leave();
    }
}

void menuSeqOutputPhase_Check(uint32_t* ev) {
    if (Filtered(ev) || ExitOrKeypadHook(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor) {
        int32_t v = g_EditParam.workValue.load(std::memory_order_relaxed);
        if (code == kKeyLeft)
            v = 0;
        else if (code == kKeyRight)
            v = 1;
        else if (code == kKeyKnob)
            v = EditValueStep(v, static_cast<int32_t>(g_EditParam.cursor), KeyEventDelta(*ev), 1, 0);
        g_EditParam.workValue.store(v, std::memory_order_relaxed);
    } else if (cls == kClassKeypad) {
        if (g_EditParam.workValue.load(std::memory_order_relaxed) == 0)
            Recall();
        else
            Leave();
    }
}

void menuSeqRange(uint32_t* ev) {
    if (Filtered(ev) || ExitOrKeypadHook(ev)) return;
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassCursor) {
        ChoiceKeys(*ev, 1);
    } else if (cls == kClassKeypad) {
        if (g_DialogChoice.load(std::memory_order_relaxed) == 1)
            Recall();
        else
            Leave();
    }
}
