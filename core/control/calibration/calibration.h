#pragma once
// The calibration-mode object, stepped every 4 ms by the timer thread, which runs the voltage and the
// current calibration procedures.
#include <cstdint>

#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/cali_procedure.h"
#include "core/system/util/step_obj.h"

extern StepObj g_CaliModeObj;

namespace core {
// Calibration mode off and nothing requested, the objects at their start messages (tests).
// Tests start each case from a clean state through it (the procedures' reset with it).
void CalStateReset();
}  // namespace core

void CaliMode_Step();
int32_t CaliModeStart();
// Start a procedure when the mode object idles (9002), else -1. The procedure starts from its first
// point whatever message it was left holding.
int32_t CaliVoltStart();
int32_t CaliCurrStart();
// Waits, at most boundMs, until the reset the last exit asked for has run on the timer thread: the mode
// word clear and the run-time state re-initialised. True when none is pending (any more).
bool CaliModeAwaitReset(uint32_t boundMs);
// The calibration save, recall and default exits: the stage is reset 40 ms later.
int32_t CaliSaveDone();
int32_t CaliRecallDone();
int32_t CaliDefaultDone();
