#include "core/params/defaults/param_unit_limits.h"

#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/system/config/model_table.h"

namespace core {

int ParamUnitLimitsInit(uint32_t unit, bool parallel, int32_t currFactor) {
    const uint32_t modelClass = g_ModelClass.load(std::memory_order_relaxed);
    if (modelClass >= kCurrModelClasses || unit >= kUnits) return -1;
    const ParamDefaultRow* freqRows = parallel ? kFreqRowsParallel : kFreqRowsSingle;
    const ParamTableSet& tables = *g_DefaultTables.load(std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(g_ParamLock);
    for (uint32_t m = 0; m < kModes; ++m) {
        ParamModeBlock& b = g_ParamStore.unit[unit].mode[m];
        const uint32_t cls = FreqClassOfMode(m);
        ParamRecInit(&b.freq, freqRows[kFreqValue + cls]);
        ParamRecInit(&b.freqHi, freqRows[kFreqHi + cls]);
        ParamRecInit(&b.freqLo, freqRows[kFreqLo + cls]);
        if (unit == 0) {  // the soft-key values the default build gives unit 0
            b.freq.def1 = 5000;
            b.freq.def2 = 6000;
        }
        for (uint32_t r = 0; r < kRangeVariants; ++r) {
            const uint32_t row = CurrRow(modelClass, r);
            ParamRecInitScaled(&b.curr[r].irms, tables[kTabIrms].rows[row], currFactor);
            ParamRecInitScaled(&b.curr[r].ipkMax, tables[kTabIpkMax].rows[row], currFactor);
            ParamRecInitScaled(&b.curr[r].ipkMin, tables[kTabIpkMin].rows[row], currFactor);
        }
    }
    return 0;
}

}  // namespace core
