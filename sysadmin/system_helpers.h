#pragma once
#include <cstdint>

// The beeper's service step (20 ms step of the timer thread).
void BeepService();
// Stops the external web-server process; -1 when it is gone.
int32_t WebServerStop();
