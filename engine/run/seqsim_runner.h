#pragma once
// The SEQ/SIM runner thread: a state object stepped every 2 ms. State 1 waits until the SEQ/SIM active bit
// has been set for 50 ticks (100 ms); state 2 runs the run-state machine every tick and goes back to state
// 1 one tick after the active bit is cleared.
#include <cstdint>

#include "core/system/util/step_obj.h"

void* SeqSimThread(void* arg);
// One step of the runner's state object (the thread's loop body).
void SeqSimThread_Pass();

extern StepObj g_SeqSimRunnerObj;

namespace engine {
// The runner object back to state 1 with message 1, the activity counter 0 (tests).
// Tests start each case from a clean state through it.
void SeqSimRunnerReset();
// The activity counter 0-50 and the mode word remembered when SEQ/SIM was last left.
// Tests read what the runner thread did through these.
uint32_t SeqSimRunnerActivity();
uint32_t SeqSimRunnerLastMode();
}  // namespace engine
