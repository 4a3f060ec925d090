#pragma once
#include <atomic>
#include <cstdint>

// Alarms and protection: the service of the periodic services and the message hold counted down by
// the 400 ms step of the timer thread.
extern std::atomic<uint32_t> g_AlarmMsgHold;
void AlarmService();
