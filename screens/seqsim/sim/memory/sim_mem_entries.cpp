#include "screens/seqsim/sim/memory/sim_mem_entries.h"

#include "core/system/state/menu_state_ids.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu_entries.h"

namespace {
constexpr int32_t kNo = 1;  // the confirmation's right button
}  // namespace

void Enter_menuSimulationRecallMemory() {
    menuEnterStateValue(kSimRecallList, static_cast<int32_t>(SeqSimGetRecallSlot()));
}
void Enter_menuSimulationSaveMemory() {
    menuEnterStateValue(kSimSaveList, static_cast<int32_t>(SeqSimGetSaveSlot()));
}
void Enter_menuSimulationOutputPhase() {
    menuEnterStateValue(kSimPhaseDialog,
                        static_cast<int32_t>(g_DialogChoice.load(std::memory_order_relaxed)));
}
void Enter_menuSimulationOutputPhase_Check() {
    menuEnterStateValue(kSimPhaseDialogCheck, kNo);
}
