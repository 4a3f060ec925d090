#pragma once
// Openers of the home settings' edit states that the shortcut keys and the home screens use besides the
// settings panel. Each makes the setting's edit state current with the selected phase's record; none
// moves the panel row. The parallel retry dialog (state 7) opens through menuEnterParallelRetry.
#include <cstdint>

#include "panel/menu_entries.h"

// The edit state of a home setting, as it is opened from outside the settings panel.
template <uint32_t State>
void menuOpenHomeParam();

// The confirmation dialogs open on their NO/CANCEL button (1); the preset wiring prompt on its first.
inline constexpr MenuEntryFn Enter_KeyProcess_Switch_OutputPhase = menuOpenHomeParam<3>;
inline constexpr MenuEntryFn Enter_KeyProcess_Switch_OutputPhaseCheck = menuOpenHomeParam<4>;
inline constexpr MenuEntryFn Enter_KeyProcess_Preset_OutputPhase = menuOpenHomeParam<5>;
inline constexpr MenuEntryFn Enter_KeyProcess_Switch_PresetOutputPhaseCheck = menuOpenHomeParam<6>;
inline constexpr MenuEntryFn Enter_KeyProcess_VoltLimit = menuOpenHomeParam<8>;
inline constexpr MenuEntryFn Enter_KeyProcess_VpkKind = menuOpenHomeParam<9>;
inline constexpr MenuEntryFn Enter_KeyProcess_VpkMax = menuOpenHomeParam<10>;
inline constexpr MenuEntryFn Enter_KeyProcess_VpkMin = menuOpenHomeParam<11>;
inline constexpr MenuEntryFn Enter_KeyProcess_FreqLimit_Kind = menuOpenHomeParam<15>;
inline constexpr MenuEntryFn Enter_KeyProcess_FreqLimit_Hi = menuOpenHomeParam<16>;
inline constexpr MenuEntryFn Enter_KeyProcess_FreqLimit_Lo = menuOpenHomeParam<19>;
inline constexpr MenuEntryFn Enter_KeyProcess_VoltRange = menuOpenHomeParam<22>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkKind = menuOpenHomeParam<23>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkMax = menuOpenHomeParam<24>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkMin = menuOpenHomeParam<27>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem1 = menuOpenHomeParam<38>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem2 = menuOpenHomeParam<39>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem3 = menuOpenHomeParam<40>;
inline constexpr MenuEntryFn Enter_Keyprocess_MeasItem4 = menuOpenHomeParam<41>;

extern template void menuOpenHomeParam<3>();
extern template void menuOpenHomeParam<4>();
extern template void menuOpenHomeParam<5>();
extern template void menuOpenHomeParam<6>();
extern template void menuOpenHomeParam<8>();
extern template void menuOpenHomeParam<9>();
extern template void menuOpenHomeParam<10>();
extern template void menuOpenHomeParam<11>();
extern template void menuOpenHomeParam<15>();
extern template void menuOpenHomeParam<16>();
extern template void menuOpenHomeParam<19>();
extern template void menuOpenHomeParam<22>();
extern template void menuOpenHomeParam<23>();
extern template void menuOpenHomeParam<24>();
extern template void menuOpenHomeParam<27>();
extern template void menuOpenHomeParam<38>();
extern template void menuOpenHomeParam<39>();
extern template void menuOpenHomeParam<40>();
extern template void menuOpenHomeParam<41>();
