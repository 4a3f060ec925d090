#pragma once
// The voltage and current calibration procedures: two objects of one table-driven structure that walk
// the calibration points, command the stage and move the panel to the page of the next point.
#include <cstdint>

#include "core/system/util/step_obj.h"

extern StepObj g_CaliVoltObj;
extern StepObj g_CaliCurrObj;

// End the voltage or current procedure at its next step.
void CaliVoltStepSignal();
void CaliCurrStepSignal();
// Writes the averaging count (register 2443) and asks the procedure to read the point's status.
int32_t CaliVoltAvgSet(int32_t count);
int32_t CaliCurrAvgSet(int32_t count);
int32_t CaliVolt_Step();
int32_t CaliCurr_Step();

namespace core {
// Back to the start state and message, nothing pending. Called only while the mode object idles, when
// the procedure is not stepped: a count set while it did not run leaves a message held that its start
// state never takes, and a procedure that an exit abandoned would go on where it stopped.
void CaliProcedureRewind(StepObj* procedure);
// Part of CalStateReset, the tests' clean start.
void CaliProceduresReset();
}  // namespace core
