#include "screens/seqsim/simedit/sim_editor_slots.h"

#include <iterator>

#include "core/system/state/menu_state_ids.h"
#include "screens/output/keys/key_table.h"
#include "screens/seqsim/sim/memory/sim_mem_keys.h"
#include "screens/seqsim/simedit/sim_field_editors.h"

namespace {

// A triple's three states share its handler.
constexpr MenuKeySlot kSlots[] = {
    {kSimPhaseDialog, menuSimulationOutputPhase},
    {kSimPhaseDialogCheck, menuSimulationOutputPhase_Check},
    {kSimEditBalanceL2, menuSimEditBalance_L2},
    {kSimEditBalanceL3, menuSimEditBalance_L3},
    {kSimEditSyncCode, menuEditSimulationSyncCode},
    {kSimEditOffpha, menuEditSimulationOffpha},
    {kSimEditOffpha + 1, menuEditSimulationOffpha},
    {kSimEditOffpha + 2, menuEditSimulationOffpha},
    {kSimEditOnpha, menuEditSimulationOnpha},
    {kSimEditOnpha + 1, menuEditSimulationOnpha},
    {kSimEditOnpha + 2, menuEditSimulationOnpha},
    {kSimEditEnOffpha, menuEditSimulationEnOffpha},
    {kSimEditEnOffpha + 1, menuEditSimulationEnOffpha},
    {kSimEditEnOffpha + 2, menuEditSimulationEnOffpha},
    {kSimEditEnOnpha, menuEditSimulationEnOnpha},
    {kSimEditEnOnpha + 1, menuEditSimulationEnOnpha},
    {kSimEditEnOnpha + 2, menuEditSimulationEnOnpha},
    {kSimEditEnRepeat, menuEditSimulationEnRepeat},
    {kSimEditRepeat, menuEditSimulationRepeat},
    {kSimEditWave, menuEditSimulationWave},
    {kSimEditFreq, menuEditSimulationFreq},
    {kSimEditFreq + 1, menuEditSimulationFreq},
    {kSimEditFreq + 2, menuEditSimulationFreq},
    {kSimEditAcv, menuEditSimulationACV},
    {kSimEditAcv + 1, menuEditSimulationACV},
    {kSimEditAcv + 2, menuEditSimulationACV},
    {kSimEditTime, menuEditSimulationTime},
    {kSimSaveList, menuSimulationSaveMemory},
    {kSimRecallList, menuSimulationRecallMemory},
};

}  // namespace

int SimEditors_RegisterKeys() {
    return KeyTable_RegisterMenu(kSlots, std::size(kSlots));
}
