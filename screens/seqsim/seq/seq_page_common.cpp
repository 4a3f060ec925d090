#include "screens/seqsim/seq/seq_page_common.h"

#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_panel_keys.h"

namespace seqpage {

bool Filtered(uint32_t* ev) {
    Seq_KeyHook(ev);
    const uint8_t cls = KeyEventClass(*ev);
    return SeqSimIsRunning() && (cls == kClassKeypad || cls == kClassCursor);
}

void Leave() {
    g_SeqSimBlock[0].panelFlags.fetch_and(static_cast<uint8_t>(~kSeqPanelRecallOpen),
                                          std::memory_order_relaxed);
    if (g_EditBuf.entryState != 0)
        menuResetEdit();
    else
        Enter_menuSeqSetStepIndex();
}

bool ExitOrKeypadHook(uint32_t* ev) {
    if (KeyEventClass(*ev) != kClassKeypad) return false;
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyExit) {
        Leave();
        return true;
    }
    if (code == kKeyEnter) return false;
    Seq_KeypadHook(ev);
    return true;
}

}  // namespace seqpage
