#include "core/control/preset_output.h"

#include "core/control/calibration/cal_state.h"
#include "core/control/sync/output_sync.h"
#include "core/params/presets/preset_recall.h"

namespace core {

int PresetRunForOutput(uint32_t save, uint32_t index) {
    if (save == 0 && CalibrationInProgress()) return -1;
    const int result = PresetRangeCheckRun(save, index);
    if (result != 0 || save != 0) return result;
    // The change chain takes one setting a pass and a waveform with the voltage it had before; a recall
    // changes them all at once.
    g_BalanceRecheckReq.store(1, std::memory_order_release);
    g_FullRewriteReq.store(1, std::memory_order_release);
    return 0;
}

}  // namespace core
