#pragma once
// Output on and off requests: turned into messages to the control task, with the refusals that protect
// calibration and alarms.
#include <cstdint>

// 1 on, 0 off; returns its argument once posted, without waiting for the control task (a request made
// before the task runs is carried out when it does). A request that is refused or dropped (calibration,
// an alarm, the synchronisation source missing with the output off) gives -1.
int32_t SetOutputOnOff(int32_t on);
// Off when the output is on, else on.
int32_t OutputToggle();
// Nonzero while a power-on output request is still being carried out (front-panel keys wait).
uint32_t PowerOnOutputPending();
