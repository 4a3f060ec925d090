#include "screens/seqsim/seqsim_entry.h"

#include "core/system/messaging/msg_ring.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seqsim_panel.h"

// The SEQUENCE and SIMULATE screens come with their front panel; until then the power-on entry cannot
// take place, and the user is told so instead of being left with a silent normal output.
void Seq_EnterModeAtPowerOn() {
    ShowErrorMessageHold(2, "Power ON Fail");
}

// The output goes on only when the first preparation has downloaded the states; an entry that was
// refused leaves nothing to switch on later.
void Sim_EnterModeAtPowerOn() {
    Sim_EnterMode();
    if (SimIsActiveMode())
        g_SeqSimBlock[0].prepFlags.fetch_or(kSeqPrepOutputOn, std::memory_order_acq_rel);
}
