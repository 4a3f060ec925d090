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

// The output goes on only when the first preparation has downloaded the states; an entry that was
// refused leaves nothing to switch on later.
void Sim_EnterModeAtPowerOn() {
    Sim_EnterMode();
    if (SimIsActiveMode())
        g_SeqSimBlock[0].prepFlags.fetch_or(kSeqPrepOutputOn, std::memory_order_acq_rel);
}
