#pragma once
// The editors of the MISC Configuration rows (edit states 97-137, odd): each edits the instrument setting
// whose parameter id is its state, by the common editor protocol, and differs only by its row of one table.
#include <cstdint>

#include "panel/menu/key_handler.h"
#include "panel/menu/menu_states.h"

// The key handler of the MISC edit state; a state outside the table ignores the event.
void MiscEditor_Keys(uint32_t state, uint32_t* ev);
template <uint32_t State>
void MiscEditorKeys(uint32_t* ev) {
    MiscEditor_Keys(State, ev);
}

inline constexpr KeyHandler KeyProcess_IpkHoldEdit = MiscEditorKeys<kMenuIpkHoldEdit>;
inline constexpr KeyHandler KeyProcess_OutputPhaseEdit = MiscEditorKeys<kMenuOutputPhaseEdit>;
inline constexpr KeyHandler KeyProcess_PhaseModeEdit = MiscEditorKeys<kMenuPhaseModeEdit>;
inline constexpr KeyHandler KeyProcess_IpkhClrEdit = MiscEditorKeys<kMenuIpkhClrEdit>;
inline constexpr KeyHandler KeyProcess_PowerOnEdit = MiscEditorKeys<kMenuPowerOnEdit>;
inline constexpr KeyHandler KeyProcess_BuzzerEdit = MiscEditorKeys<kMenuBuzzerEdit>;
inline constexpr KeyHandler KeyProcess_RemoteSenseEdit = MiscEditorKeys<kMenuRemoteSenseEdit>;
inline constexpr KeyHandler KeyProcess_SlewRateEdit = MiscEditorKeys<kMenuSlewRateEdit>;
inline constexpr KeyHandler KeyProcess_OutputRelayEdit = MiscEditorKeys<kMenuOutputRelayEdit>;
inline constexpr KeyHandler KeyProcess_HarmModeEdit = MiscEditorKeys<kMenuHarmModeEdit>;
inline constexpr KeyHandler KeyProcess_ExtControlEdit = MiscEditorKeys<kMenuExtControlEdit>;
inline constexpr KeyHandler KeyProcess_ACV_UnitEdit = MiscEditorKeys<kMenuAcvUnitEdit>;
inline constexpr KeyHandler KeyProcess_SetChangePhase1Edit = MiscEditorKeys<kMenuSetChangePhaseEdit>;
inline constexpr KeyHandler KeyProcess_VI_Monitor_Source1Edit = MiscEditorKeys<kMenuMonitorSource1Edit>;
inline constexpr KeyHandler KeyProcess_VI_Monitor_Source2Edit = MiscEditorKeys<kMenuMonitorSource2Edit>;
inline constexpr KeyHandler KeyProcess_VI_MonitorEdit = MiscEditorKeys<kMenuMonitorAmpEdit>;
inline constexpr KeyHandler KeyProcess_TriggerWidthEdit = MiscEditorKeys<kMenuTriggerWidthEdit>;
inline constexpr KeyHandler KeyProcess_TriggerSourceEdit = MiscEditorKeys<kMenuTriggerSourceEdit>;
inline constexpr KeyHandler KeyProcess_RelockEdit = MiscEditorKeys<kMenuRelockEdit>;
inline constexpr KeyHandler KeyProcess_AvgCountEdit = MiscEditorKeys<kMenuAvgCountEdit>;
inline constexpr KeyHandler KeyProcess_UpdateRateEdit = MiscEditorKeys<kMenuUpdateRateEdit>;

// The MISC edit states' slots of the key-handler table.
inline constexpr uint32_t kMiscFirstEditor = kMenuIpkHoldEdit, kMiscLastEditor = kMenuUpdateRateEdit;
