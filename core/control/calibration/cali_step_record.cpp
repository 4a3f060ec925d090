#include "core/control/calibration/cali_step_record.h"

#include <mutex>

#include "core/params/param_store.h"
#include "core/system/state/menu_state_ids.h"

void caliGetStepRecord(uint32_t state, ParamRec* out) {
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    if (IsCalCurrPointState(state)) {
        *out = g_ParamStore.caliCurr[state - kMenuCalCurrP0];
    } else if (IsCalVoltPointState(state)) {
        *out = g_ParamStore.caliVolt[state - kMenuCalVoltR100P0];
    } else {
        *out = g_ParamStore.caliVolt[0];
    }
}
