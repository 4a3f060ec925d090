#include "core/control/calibration/cal_state.h"

CalStateRec g_CalState;
