#pragma once
// The voltage and current calibration procedures: two objects of one table-driven structure that walk
// the calibration points, command the stage and move the panel to the page of the next point.
#include "core/system/step_obj.h"

namespace core {
// Back to the start message when the procedure waits in its start state (a count set while it did not
// run leaves another message held there, which the start state never takes).
void CaliProcedureRewind(StepObj* procedure, uint32_t startMsg);
void CaliProceduresReset();
}  // namespace core
