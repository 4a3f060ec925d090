// The step preview (435), the RUN preview along the execution order (436) and
// its position entry (437).
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/seq/seq_preview.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seq/seq_page_common.h"
#include "screens/seqsim/seq/seq_page_entries.h"
#include "screens/seqsim/seq/seq_page_keys.h"
#include "screens/seqsim/seq/seq_panel_keys.h"
#include "screens/seqsim/seqsim_panel.h"

using namespace seqpage;

namespace {

// The trace soft keys of both previews; true when the key was the preview's
// exit.
bool TraceKeys(uint8_t code) {
    const uint32_t wiring = GetPhaseMode();
    uint32_t bit = 0;
    if (code == kKeySoft1 && wiring != kWiring1P2W) bit = 1;
    if (code == kKeySoft2 && wiring != kWiring1P2W) bit = 2;
    if (code == kKeySoft3 && wiring == kWiring3P4W) bit = 4;
    if (bit != 0) g_SeqSimBlock[0].previewTraceMask.fetch_xor(bit, std::memory_order_relaxed);
    return code == kKeySoft8;
}

bool LeaveKey(uint32_t ev) {
    const uint8_t code = KeyEventCode(ev), cls = KeyEventClass(ev);
    return (cls == kClassKeypad && code == kKeyExit) || (cls == kClassFunction && code == kKeySeq);
}

uint32_t Length() {
    return g_SeqPreview.count;
}

// Moves the RUN preview to a position 1..length: the current step becomes the
// order's entry there.
void GoTo(uint32_t position) {
    g_SeqPreview.position.store(position, std::memory_order_relaxed);
    if (position < 1 || position > Length()) return;
    const int32_t step = static_cast<int32_t>(g_SeqPreview.order[position - 1]);
    SeqSetCurStep(step);
    Seq_StepChangedHook(step);
}

int32_t HighestDigit() {
    const uint32_t n = Length();
    return n > 999 ? 3 : n > 99 ? 2 : n > 9 ? 1 : 0;
}

void SetEdited(int32_t value) {
    g_EditParam.workValue.store(value, std::memory_order_relaxed);
    g_SeqPreview.editedPosition.store(static_cast<uint32_t>(value), std::memory_order_relaxed);
}

}  // namespace

void menuSeqPreview(uint32_t* ev) {
    if (Filtered(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (LeaveKey(*ev) || (cls == kClassSoft && TraceKeys(code))) {
        Leave();
        return;
    }
    if (cls == kClassCursor) {
        int32_t v = g_EditParam.workValue.load(std::memory_order_relaxed);
        if (code == kKeyRight)
            v = 1;
        else if (code == kKeyLeft)
            v = 0;
        else if (code == kKeyKnob)
            v = EditValueStep(v, static_cast<int32_t>(g_EditParam.cursor), KeyEventDelta(*ev), 1, 0);
        g_EditParam.workValue.store(v, std::memory_order_relaxed);
    } else if (cls == kClassKeypad && code != kKeyEnter) {
        Seq_KeypadHook(ev);
    }
}

void menuSeqPreviewRUN(uint32_t* ev) {
    if (Filtered(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (LeaveKey(*ev) || (cls == kClassSoft && TraceKeys(code))) {
        Leave();
        return;
    }
    const uint32_t at = g_SeqPreview.position.load(std::memory_order_relaxed);
    if (cls == kClassCursor) {
        uint32_t to = at;
        if (code == kKeyRight && at < Length())
            to = at + 1;
        else if (code == kKeyLeft && at >= 2)
            to = at - 1;
        else if (code == kKeyKnob)
            to = static_cast<uint32_t>(EditValueStep(static_cast<int32_t>(at),
                                                     static_cast<int32_t>(g_EditParam.cursor),
                                                     KeyEventDelta(*ev), static_cast<int32_t>(Length()), 1));
        if (to != at) GoTo(to);
    } else if (cls == kClassKeypad) {
        if (code == kKeyEnter)
            Enter_menuSeqPreviewRUNEdit();
        else
            Seq_KeypadHook(ev);
    }
}

void menuSeqPreviewRUNEdit(uint32_t* ev) {
    if (Filtered(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassFunction) {
        if (code == kKeySeq) Leave();
        return;
    }
    if (cls == kClassKeypad || cls == kClassSoft || cls == kClassCursor)
        g_SeqPreview.edited.store(1, std::memory_order_relaxed);
    const int32_t length = static_cast<int32_t>(Length());
    if (cls == kClassSoft) {
        if (code == kKeySoft8) {
            Leave();
        } else if (code == kKeySoft4 || code == kKeySoft3) {
            const int32_t v = code == kKeySoft4 ? 1 : length;
            SetEdited(v);
            g_SeqPreview.position.store(static_cast<uint32_t>(v), std::memory_order_relaxed);
        }
    } else if (cls == kClassCursor) {
        const int32_t d = HighestDigit(), c = static_cast<int32_t>(g_EditParam.cursor);
        if (code == kKeyRight) {
            g_EditParam.cursor = static_cast<uint32_t>(c == 0 ? d : c - 1);
        } else if (code == kKeyLeft) {
            g_EditParam.cursor = static_cast<uint32_t>(c >= d ? 0 : c + 1);
        } else if (code == kKeyKnob) {
            const int32_t v = EditValueStep(g_EditParam.workValue.load(std::memory_order_relaxed), c,
                                            KeyEventDelta(*ev), length, 1);
            SetEdited(v);
            GoTo(static_cast<uint32_t>(v));
        }
    } else if (cls == kClassKeypad) {
        const bool pending = g_EditBuf.entryState != 0;
        if (code >= kKeyDigit0 && code <= kKeyDigit9) {
            SetEdited(static_cast<int32_t>(static_cast<float>(g_EditBuf.entryValue) * g_EditBuf.entryScale));
        } else if (code == kKeyEnter || code == kKeyExit) {
            const int32_t v = g_EditParam.workValue.load(std::memory_order_relaxed);
            if (code == kKeyEnter && v >= 1 && v <= length) {
                g_SeqPreview.editedPosition.store(static_cast<uint32_t>(v), std::memory_order_relaxed);
                GoTo(static_cast<uint32_t>(v));
            }
            Enter_menuSeqPreviewRUN();
            if (pending) menuResetEdit();
        } else {
            Seq_KeypadHook(ev);
        }
    }
}
