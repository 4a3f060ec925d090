#pragma once
// The popup machine: takes one pending message at a time, has its text built and keeps it on screen,
// a timed popup for 100 main passes (a repeat of its id renews them, a newer message ends it at once),
// a held one until MsgPopup_Close. Stepped once per main pass by the overlay's update. GUI thread only.
#include <cstdint>

#include "core/system/util/step_obj.h"

int32_t MsgPopupFsm_Init(StepRow* row, uint32_t msg);
int32_t MsgPopupFsm_Run(StepRow* row, uint32_t msg);
int32_t MsgPopupFsm_Step();
