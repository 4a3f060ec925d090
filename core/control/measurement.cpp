#include "core/control/measurement.h"

// Nothing is acquired until the measurement records and their averaging exist.
void MeasUpdateRate_Tick() {}
void Meas_Service() {}
void MeasAvg_ResetAll(int32_t) {}
void MeasUpdateRate_Set(int32_t) {}
