#pragma once
// Re-checks of the settings' limits after a setting, a limit, the range or the waveform changed. They
// only rewrite records of the parameter store; the control task takes the results to the power stage.
#include <cstdint>

// The frequencies of output mode 0-9 against the frequency limits (parameters 16 and 19).
void FreqLimitCheck(uint32_t mode);
