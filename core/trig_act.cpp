#include "core/trig_act.h"

// Nothing arms a trigger action until the remote trigger commands exist, so an input pulse has no action
// to run.
void TrigAct_Input(int) {}
