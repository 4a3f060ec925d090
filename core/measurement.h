#pragma once
// Measurement acquisition: the display-pacing tick (timer thread) and the measurement service (one
// call per pass of the menu/control thread's periodic services).
void MeasUpdateRate_Tick();
void Meas_Service();
