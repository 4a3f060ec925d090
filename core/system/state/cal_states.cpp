#include "core/system/state/menu_state_ids.h"

bool IsCalibrationState(uint32_t state) {
    return state >= kMenuCalibration && state <= kMenuCalDefaultConfirm;
}

bool IsCalVoltPointState(uint32_t state) {
    return state >= kMenuCalVoltR100P0 && state <= kMenuCalVoltR200P2;
}

bool IsCalCurrPointState(uint32_t state) {
    return state >= kMenuCalCurrP0 && state <= kMenuCalCurrP5;
}

bool IsCalPointState(uint32_t state) {
    return IsCalVoltPointState(state) || IsCalCurrPointState(state);
}
