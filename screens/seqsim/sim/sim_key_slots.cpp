#include "screens/seqsim/sim/sim_key_slots.h"

#include <iterator>

#include "screens/output/keys/key_table.h"
#include "screens/seqsim/sim/sim_select_keys.h"

namespace {
constexpr MenuKeySlot kSlots[] = {
    {kSimSelSyncCode, menuSimulationSyncCode},
    {kSimSelOffpha, menuSimulationOffpha},
    {kSimSelOffpha + 1, menuSimulationOffpha_L2},
    {kSimSelOffpha + 2, menuSimulationOffpha_L3},
    {kSimSelOnpha, menuSimulationOnpha},
    {kSimSelOnpha + 1, menuSimulationOnpha_L2},
    {kSimSelOnpha + 2, menuSimulationOnpha_L3},
    {kSimSelEnOffpha, menuSimulationEnOffpha},
    {kSimSelEnOffpha + 1, menuSimulationEnOffpha_L2},
    {kSimSelEnOffpha + 2, menuSimulationEnOffpha_L3},
    {kSimSelEnOnpha, menuSimulationEnOnpha},
    {kSimSelEnOnpha + 1, menuSimulationEnOnpha_L2},
    {kSimSelEnOnpha + 2, menuSimulationEnOnpha_L3},
    {kSimSelEnRepeat, menuSimulationEnRepeat},
    {kSimSelRepeat, menuSimulationRepeat},
    {kSimSelWave, menuSimulationWave},
    {kSimSelFreq, menuSimulationFreq},
    {kSimSelFreq + 1, menuSimulationFreq_L2},
    {kSimSelFreq + 2, menuSimulationFreq_L3},
    {kSimSelAcv, menuSimulationAcv},
    {kSimSelAcv + 1, menuSimulationAcv_L2},
    {kSimSelAcv + 2, menuSimulationAcv_L3},
    {kSimSelTime, menuSimulationTime},
    {kSimSelStep, menuSimulationStep},
    {kSimSelBalanceL2, menuSimBalance_L2},
    {kSimSelBalanceL3, menuSimBalance_L3},
    {kSimEditStep, menuEditSimulationStep},
};
}  // namespace

int Sim_RegisterSelectKeys() {
    return KeyTable_RegisterMenu(kSlots, std::size(kSlots));
}
