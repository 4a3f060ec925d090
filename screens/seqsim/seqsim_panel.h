#pragma once
// Entering and leaving the SEQUENCE and SIMULATE functions from the front panel (and from the remote
// handlers, which call the same entries). The screens themselves come with the SEQ/SIM front panel.
#include <cstdint>

// Refused with a message while the output is on, in the AUTO range or in an output mode without the
// function (SEQ: above 2, SIM: other than 0); otherwise the SEQ/SIM active bit is set, the engine reset to
// prepare, the mode word set, the tables of the range selected and the power stage told the output kind.
// SEQ: the cursor goes to the step index.
void Seq_EnterMode();
void Sim_EnterMode();
// Leaves either function: a run in progress is stopped by the runner; without one the home view last
// used is entered again and the normal output settings are stored again. Both clear the active bit and the
// mode word.
void Seq_Exit();
// Called with the new step whenever the SEQ step index changes; it does nothing.
void Seq_StepChangedHook(int32_t step);
