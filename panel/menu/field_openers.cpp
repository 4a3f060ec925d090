#include "panel/menu/field_openers.h"

#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/dialog_words.h"

namespace {
constexpr uint32_t kOutputPhaseCheck = 4, kPresetOutputPhase = 5, kPresetOutputPhaseCheck = 6;
// The NO/CANCEL button of the confirmation dialogs.
constexpr int32_t kDialogCancel = 1;
}  // namespace

template <uint32_t State>
void menuOpenHomeParam() {
    if (menuEnterParamState(State) != 0) return;
    if constexpr (State == kOutputPhaseCheck || State == kPresetOutputPhaseCheck) {
        g_EditParam.workValue.store(kDialogCancel, std::memory_order_relaxed);
        g_EditBuf.choiceValue = kDialogCancel;
    } else if constexpr (State == kPresetOutputPhase) {
        g_DialogChoice.store(0, std::memory_order_relaxed);
    }
}

template void menuOpenHomeParam<3>();
template void menuOpenHomeParam<4>();
template void menuOpenHomeParam<5>();
template void menuOpenHomeParam<6>();
template void menuOpenHomeParam<8>();
template void menuOpenHomeParam<9>();
template void menuOpenHomeParam<10>();
template void menuOpenHomeParam<11>();
template void menuOpenHomeParam<15>();
template void menuOpenHomeParam<16>();
template void menuOpenHomeParam<19>();
template void menuOpenHomeParam<22>();
template void menuOpenHomeParam<23>();
template void menuOpenHomeParam<24>();
template void menuOpenHomeParam<27>();
template void menuOpenHomeParam<38>();
template void menuOpenHomeParam<39>();
template void menuOpenHomeParam<40>();
template void menuOpenHomeParam<41>();
