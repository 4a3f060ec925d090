#pragma once
#include <atomic>
#include <cstdint>

// Alarms and protection: the service of the periodic services and the message hold counted down by
// the 400 ms step of the timer thread.
extern std::atomic<uint32_t> g_AlarmMsgHold;
void AlarmService();

// The protection-clear request (SCPI clear commands and the SHIFT key action): refused while the alarm
// latch is set; otherwise tells the power stage to clear its alarms and starts the clear countdown.
void AlarmClear();

namespace core {
// Clear countdown: bit 15 running, bits 0-14 the monitor passes left until the alarm words are zeroed.
extern std::atomic<uint32_t> g_AlarmClearCountdown;
constexpr uint32_t kAlarmClearStart = 0x8000u | 60u;
}  // namespace core
