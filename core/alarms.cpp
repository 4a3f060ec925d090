#include "core/alarms.h"

std::atomic<uint32_t> g_AlarmMsgHold{0};

// No alarm word is watched until the alarm monitor exists.
void AlarmService() {}
