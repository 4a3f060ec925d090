#include "core/system/state/stage_status.h"

#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"

std::atomic<uint32_t> g_PhaseFaultWord[3];
std::atomic<uint32_t> g_PowerStageStatus{0};
std::atomic<int32_t> g_PowerStageBootStatus{0};
std::atomic<uint32_t> g_StartupFailed{0};

int32_t PhaseFaultCheck() {
    uint32_t any = 0;
    for (int phase = 0; phase < 3; ++phase) {
        int32_t word = BusReg_GetModuleWord(phase);
        uint32_t fault = (word > 0 && word < 400000) ? 0 : 1;
        g_PhaseFaultWord[phase].store(fault);
        any |= fault;
    }
    g_PhaseFault.store(any);
    return 0;
}

namespace core {
void StageStatusReset() {
    for (auto& word : g_PhaseFaultWord)
        word.store(0);
    g_PowerStageStatus.store(0);
    g_PowerStageBootStatus.store(0);
    g_StartupFailed.store(0);
}
}  // namespace core
