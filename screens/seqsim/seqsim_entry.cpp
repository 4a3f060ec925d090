#include "screens/seqsim/seqsim_entry.h"

#include "core/system/messaging/msg_ring.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seqsim_panel.h"

// The output goes on only when the preparation of an entry that took place ends: a refused entry leaves
// no request behind for a later one.
void Seq_EnterModeAtPowerOn() {
    Seq_EnterMode();
    if (SeqIsActiveMode() == 1)
        g_SeqSimBlock[0].prepFlags.fetch_or(kSeqPrepOutputOn, std::memory_order_acq_rel);
}

// The SIMULATE screen comes with its front panel; until then the power-on entry cannot take place, and the
// user is told so instead of being left with a silent normal output.

void Sim_EnterModeAtPowerOn() {
    ShowErrorMessageHold(2, "Power ON Fail");
}
