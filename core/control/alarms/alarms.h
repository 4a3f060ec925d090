#pragma once
// Alarms and protection: the alarm object stepped by the periodic services, the protection-clear
// request, and the small entry points the panel, SCPI and the file functions use.
#include <atomic>
#include <cstdint>

#include "core/control/alarms/alarm_state.h"
#include "core/system/util/step_obj.h"

extern StepObj g_AlarmObj;

void AlarmService();

// The protection-clear request (SCPI clear commands and the SHIFT key action): refused while the alarm
// latch is set, unless the latch override of the service switches is on; otherwise tells the power stage
// to clear its alarms, holds the bus for 6 s (summary bit 8) or 2 s (bit 15) and starts the clear
// countdown.
void AlarmClear();

// Reads the phase words, recomputes the summary and latches on bit 9 or 12 (before all-data file work).
uint32_t AlarmStatusUpdate();
int32_t IsAlarmActive();

void AlarmMonitorOn();
void AlarmMonitorOff();
int32_t IsAlarmMonitorOn();

// The alarm beep: sounding, stopped, acknowledged by a key press (while an alarm is present).
// Tests read whether the alarm beep stands through it.
int32_t AlarmBeepActive();
void AlarmBeepAck();

// The limiter message: active, acknowledged, acknowledgement cleared once the message is gone.
// Tests read whether the limiter message stands through it.
int32_t LimiterMsgActive();
// The alarm notices clear the acknowledgement once the limiter message is gone.
void LimiterMsgAckClear();

namespace core {
// The alarm object as at start: 50 passes of delay before the monitor turns on (tests).
// Tests start each case from a clean state through it.
void AlarmObjReset();
}  // namespace core

// The alarm object's timing back to its start: 50 passes of delay before its next step, no message hold,
// no clear countdown running (before a factory default from the panel).
void AlarmTimerDefaults();
