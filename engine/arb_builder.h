#pragma once
#include <cstdint>

// The waveform builder's background task, stepped every 20 ms by the timer thread.
int32_t ArbBuild_TaskRun();
