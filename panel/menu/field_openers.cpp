#include "panel/menu/field_openers.h"

#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/edit/param_enter.h"
#include "panel/menu/dialog_words.h"

namespace {
// The NO/CANCEL button of the confirmation dialogs.
constexpr int32_t kDialogCancel = 1;
}  // namespace

template <uint32_t State>
void menuOpenHomeParam() {
    if (menuEnterParamState(State) != 0) return;
    if constexpr (State == kMenuPhaseDialogCheck || State == kMenuPresetPhaseDialogCheck) {
        g_EditParam.workValue.store(kDialogCancel, std::memory_order_relaxed);
        g_EditBuf.choiceValue = kDialogCancel;
    } else if constexpr (State == kMenuPresetPhaseDialog) {
        g_DialogChoice.store(0, std::memory_order_relaxed);
    }
}

template void menuOpenHomeParam<kMenuPhaseDialog>();
template void menuOpenHomeParam<kMenuPhaseDialogCheck>();
template void menuOpenHomeParam<kMenuPresetPhaseDialog>();
template void menuOpenHomeParam<kMenuPresetPhaseDialogCheck>();
template void menuOpenHomeParam<kParamVoltLimit>();
template void menuOpenHomeParam<kParamVpkKind>();
template void menuOpenHomeParam<kParamVpkMax>();
template void menuOpenHomeParam<kParamVpkMin>();
template void menuOpenHomeParam<kParamFreqLimitKind>();
template void menuOpenHomeParam<kParamFreqLimitHi>();
template void menuOpenHomeParam<kParamFreqLimitLo>();
template void menuOpenHomeParam<kParamVoltRange>();
template void menuOpenHomeParam<kParamIpkKind>();
template void menuOpenHomeParam<kParamIpkMax>();
template void menuOpenHomeParam<kParamIpkMin>();
template void menuOpenHomeParam<kParamMeasItem1>();
template void menuOpenHomeParam<kParamMeasItem1 + 1>();
template void menuOpenHomeParam<kParamMeasItem1 + 2>();
template void menuOpenHomeParam<kParamMeasItem1 + 3>();
