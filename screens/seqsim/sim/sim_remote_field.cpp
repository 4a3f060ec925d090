#include "screens/seqsim/sim/sim_remote_field.h"

#include <iterator>

#include "core/system/state/edit_state.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_clamp_setters.h"
#include "screens/seqsim/sim/sim_entries.h"

namespace {
constexpr SimField kFieldOf[] = {
    SimField::kEnOnpha, SimField::kEnOffpha, SimField::kOnpha,    SimField::kOffpha, SimField::kAcv,
    SimField::kFreq,    SimField::kTime,     SimField::kSyncCode, SimField::kRepeat, SimField::kEnRepeat,
};
static_assert(std::size(kFieldOf) == static_cast<size_t>(SimClampField::kEnRepeat) + 1);
}  // namespace

void Sim_ShowRemoteField(uint32_t field, int32_t phase) {
    if (field >= std::size(kFieldOf)) return;
    if (!SimIsActiveMode() || !SimIsSelectState(g_MenuState.load(std::memory_order_acquire))) return;
    SimEnterSelect(SimFieldOf(kFieldOf[field]), phase < 0 ? 0 : phase);
}
