#include "core/alarm_state.h"

AlarmState g_AlarmState;
