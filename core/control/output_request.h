#pragma once
// Output on and off requests: turned into messages to the control task, with the refusals that protect
// calibration and alarms.
#include <cstdint>

// 1 on, 0 off; returns its argument. Waits (2 ms steps, at most 10 s) until the control task runs; a
// request that still finds it not running is dropped and gives -1.
int32_t SetOutputOnOff(int32_t on);
// Off when the output is on, else on.
int32_t OutputToggle();
// Nonzero while a power-on output request is still being carried out (front-panel keys wait).
uint32_t PowerOnOutputPending();
// Called when the SEQ/SIM mode is set; the output needs nothing done then. Returns 0.
int32_t SeqSimOutputHook(uint32_t mode);
