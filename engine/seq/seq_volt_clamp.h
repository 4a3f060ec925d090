#pragma once
// The voltage clamp the SEQ waveform editors and the remote step writes run after a change that may move
// the output limits of the current step.
#include <cstdint>

// Puts L1's ACV and DCV of the current step back to the minimum of their output limits for its waveform
// when either lies outside them (the minimum, not the nearer bound); the record only. The step argument is
// the caller's current step and only names it. Returns the number of values changed, 0-2.
int SeqStepVoltClamp(int32_t step);
