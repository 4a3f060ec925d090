#include "core/control/calibration.h"

CalStateRec g_CalState;

// No calibration procedure exists yet, so the mode object has nothing to run.
void CaliMode_Step() {}
