#include "screens/seqsim/sim/sim_remote_field.h"

#include <iterator>

#include "core/system/state/edit_state.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/sim/sim_entries.h"

namespace {
constexpr SimField kFieldOf[] = {
    SimField::kEnOnpha, SimField::kEnOffpha, SimField::kOnpha,    SimField::kOffpha, SimField::kAcv,
    SimField::kFreq,    SimField::kTime,     SimField::kSyncCode, SimField::kRepeat, SimField::kEnRepeat,
};
static_assert(std::size(kFieldOf) == static_cast<size_t>(SimClampField::kEnRepeat) + 1);
}  // namespace

void Sim_ShowRemoteField(SimClampField field, int phase) {
    if (!SimIsActiveMode() || !SimIsSelectState(g_MenuState.load(std::memory_order_acquire))) return;
    SimEnterSelect(SimFieldOf(kFieldOf[static_cast<size_t>(field)]), phase < 0 ? 0 : phase);
}
