#pragma once
// Openers of the home settings' edit states that the shortcut keys and the home screens use besides the
// settings panel. Each makes the setting's edit state current with the selected phase's record; none
// moves the panel row. The parallel retry dialog (kMenuParallelRetry) opens through menuEnterParallelRetry.
#include <cstdint>

#include "core/params/param_store.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu_entries.h"

// The edit state of a home setting, as it is opened from outside the settings panel.
template <uint32_t State>
void menuOpenHomeParam();

// The confirmation dialogs open on their NO/CANCEL button (1); the preset wiring prompt on its first.
inline constexpr MenuEntryFn Enter_KeyProcess_Switch_OutputPhase = menuOpenHomeParam<kMenuPhaseDialog>;
inline constexpr MenuEntryFn Enter_KeyProcess_Switch_OutputPhaseCheck =
    menuOpenHomeParam<kMenuPhaseDialogCheck>;
inline constexpr MenuEntryFn Enter_KeyProcess_Preset_OutputPhase = menuOpenHomeParam<kMenuPresetPhaseDialog>;
inline constexpr MenuEntryFn Enter_KeyProcess_Switch_PresetOutputPhaseCheck =
    menuOpenHomeParam<kMenuPresetPhaseDialogCheck>;
inline constexpr MenuEntryFn Enter_KeyProcess_VoltLimit = menuOpenHomeParam<kParamVoltLimit>;
inline constexpr MenuEntryFn Enter_KeyProcess_VpkKind = menuOpenHomeParam<kParamVpkKind>;
inline constexpr MenuEntryFn Enter_KeyProcess_VpkMax = menuOpenHomeParam<kParamVpkMax>;
inline constexpr MenuEntryFn Enter_KeyProcess_VpkMin = menuOpenHomeParam<kParamVpkMin>;
inline constexpr MenuEntryFn Enter_KeyProcess_FreqLimit_Kind = menuOpenHomeParam<kParamFreqLimitKind>;
inline constexpr MenuEntryFn Enter_KeyProcess_FreqLimit_Hi = menuOpenHomeParam<kParamFreqLimitHi>;
inline constexpr MenuEntryFn Enter_KeyProcess_FreqLimit_Lo = menuOpenHomeParam<kParamFreqLimitLo>;
inline constexpr MenuEntryFn Enter_KeyProcess_VoltRange = menuOpenHomeParam<kParamVoltRange>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkKind = menuOpenHomeParam<kParamIpkKind>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkMax = menuOpenHomeParam<kParamIpkMax>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkMin = menuOpenHomeParam<kParamIpkMin>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem1 = menuOpenHomeParam<kParamMeasItem1>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem2 = menuOpenHomeParam<kParamMeasItem1 + 1>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem3 = menuOpenHomeParam<kParamMeasItem1 + 2>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem4 = menuOpenHomeParam<kParamMeasItem1 + 3>;

extern template void menuOpenHomeParam<kMenuPhaseDialog>();
extern template void menuOpenHomeParam<kMenuPhaseDialogCheck>();
extern template void menuOpenHomeParam<kMenuPresetPhaseDialog>();
extern template void menuOpenHomeParam<kMenuPresetPhaseDialogCheck>();
extern template void menuOpenHomeParam<kParamVoltLimit>();
extern template void menuOpenHomeParam<kParamVpkKind>();
extern template void menuOpenHomeParam<kParamVpkMax>();
extern template void menuOpenHomeParam<kParamVpkMin>();
extern template void menuOpenHomeParam<kParamFreqLimitKind>();
extern template void menuOpenHomeParam<kParamFreqLimitHi>();
extern template void menuOpenHomeParam<kParamFreqLimitLo>();
extern template void menuOpenHomeParam<kParamVoltRange>();
extern template void menuOpenHomeParam<kParamIpkKind>();
extern template void menuOpenHomeParam<kParamIpkMax>();
extern template void menuOpenHomeParam<kParamIpkMin>();
extern template void menuOpenHomeParam<kParamMeasItem1>();
extern template void menuOpenHomeParam<kParamMeasItem1 + 1>();
extern template void menuOpenHomeParam<kParamMeasItem1 + 2>();
extern template void menuOpenHomeParam<kParamMeasItem1 + 3>();
