#pragma once
// The USB-memory object: the stick in the front socket mounted on /mnt/sd1 and its removal noticed, and
// the two USB port sequencers, as steps of one state object run every 20 ms by the timer thread.
#include <cstdint>

#include "core/system/util/step_obj.h"

extern StepObj g_UsbMemSm;

// One step of g_UsbMemSm.
int32_t UsbMemSm_Run();
// State 1: after the start delay, the words reset and state 2 posted. State 2: the mount check; the
// device sequencer only on passes in which the mount check waits, the GPIB sequencer only when that
// waits too.
int32_t UsbMemSm_Init(StepRow* row, uint32_t msg);
int32_t UsbMemSm_Poll(StepRow* row, uint32_t msg);
// One pass of the mount watch; the wait left (0 when it acted).
int32_t UsbMem_MountCheck();
// The object back to its start (tests).
// Tests start each case from a clean state through it.
void UsbMemSmReset();

// Unmounts USB memory before a reboot: the mount point and both device nodes, each followed by "sync" and
// a second's wait. Returns 0.
int32_t UsbUmount();
