#include "core/control/calibration/cali_step_record.h"

#include <mutex>

#include "core/params/param_store.h"

namespace {
constexpr uint32_t kFirstVoltPoint = 317, kFirstCurrPoint = 323, kLastCurrPoint = 328;
}  // namespace

void caliGetStepRecord(uint32_t state, ParamRec* out) {
    std::lock_guard<std::mutex> lock(core::g_ParamLock);
    if (state >= kFirstCurrPoint && state <= kLastCurrPoint) {
        *out = g_ParamStore.caliCurr[state - kFirstCurrPoint];
    } else if (state > kFirstVoltPoint && state < kFirstCurrPoint) {
        *out = g_ParamStore.caliVolt[state - kFirstVoltPoint];
    } else {
        *out = g_ParamStore.caliVolt[0];
    }
}
