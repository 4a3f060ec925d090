#pragma once
#include <cstdint>

// Measurement acquisition: the display-pacing tick (timer thread) and the measurement service (one
// call per pass of the menu/control thread's periodic services).
void MeasUpdateRate_Tick();
void Meas_Service();

// Averaging length of every measurement slot of the phase rows (the averages refill from then on).
void MeasAvg_ResetAll(int32_t count);
// Display pacing: index 0-8 of the update-rate choices.
void MeasUpdateRate_Set(int32_t index);
