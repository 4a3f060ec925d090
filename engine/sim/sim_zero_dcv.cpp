#include "core/regbus/reg_step.h"
#include "engine/sim/sim_setters.h"

void SimZeroDcv() {
    BusReg_SetStepDcv(0, regbus::Phase(0));
}
