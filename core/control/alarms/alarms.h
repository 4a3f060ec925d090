#pragma once
// Alarms and protection: the alarm object stepped by the periodic services, the protection-clear
// request, and the small entry points the panel, SCPI and the file functions use.
#include <atomic>
#include <cstdint>

#include "core/system/util/step_obj.h"

// Message hold: 0 lets error messages be shown; counted down by the 400 ms step of the timer thread.
extern std::atomic<uint32_t> g_AlarmMsgHold;
extern StepObj g_AlarmObj;

void AlarmService();

// The protection-clear request (SCPI clear commands and the SHIFT key action): refused while the alarm
// latch is set, unless the latch override of the service switches is on; otherwise tells the power stage
// to clear its alarms, holds the bus for 6 s (summary bit 8) or 2 s (bit 15) and starts the clear
// countdown.
void AlarmClear();

// Reads the phase words, recomputes the summary and latches on bit 9 or 12 (before all-data file work).
uint32_t AlarmStatusUpdate();
uint32_t AlarmSummaryUpdate();
int32_t IsAlarmActive();

void AlarmMonitorOn();
void AlarmMonitorOff();
int32_t IsAlarmMonitorOn();

// The alarm beep: sounding, stopped, acknowledged by a key press (while an alarm is present).
int32_t AlarmBeepActive();
void AlarmBeepStop();
void AlarmBeepAck();

// The limiter message: active, acknowledged, acknowledgement cleared once the message is gone.
int32_t LimiterMsgActive();
void LimiterMsgAck();
void LimiterMsgAckClear();

namespace core {
// Clear countdown: bit 15 running, bits 0-14 the monitor passes left until the alarm words are zeroed.
extern std::atomic<uint32_t> g_AlarmClearCountdown;
constexpr uint32_t kAlarmClearStart = 0x8000u | 60u;
// The alarm object as at start: 50 passes of delay before the monitor turns on (tests).
void AlarmObjReset();
}  // namespace core
