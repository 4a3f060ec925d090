#include "screens/seqsim/seqsim_entry.h"

#include "core/system/messaging/msg_ring.h"

// The SEQUENCE and SIMULATE screens come with their front panel; until then the power-on entry cannot
// take place, and the user is told so instead of being left with a silent normal output.
void Seq_EnterModeAtPowerOn() {
    ShowErrorMessageHold(2, "Power ON Fail");
}

void Sim_EnterModeAtPowerOn() {
    ShowErrorMessageHold(2, "Power ON Fail");
}
