#include "core/control/alarm_state.h"

AlarmState g_AlarmState;
