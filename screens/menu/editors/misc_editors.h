#pragma once
// The editors of the MISC Configuration rows (edit states 97-137, odd): each edits the instrument setting
// whose parameter id is its state, by the common editor protocol, and differs only by its row of one table.
#include <cstdint>

#include "panel/menu/key_handler.h"

// The key handler of the MISC edit state; a state outside the table ignores the event.
void MiscEditor_Keys(uint32_t state, uint32_t* ev);
template <uint32_t State>
void MiscEditorKeys(uint32_t* ev) {
    MiscEditor_Keys(State, ev);
}

inline constexpr KeyHandler KeyProcess_IpkHoldEdit = MiscEditorKeys<97>;
inline constexpr KeyHandler KeyProcess_OutputPhaseEdit = MiscEditorKeys<99>;
inline constexpr KeyHandler KeyProcess_PhaseModeEdit = MiscEditorKeys<101>;
inline constexpr KeyHandler KeyProcess_IpkhClrEdit = MiscEditorKeys<103>;
inline constexpr KeyHandler KeyProcess_PowerOnEdit = MiscEditorKeys<105>;
inline constexpr KeyHandler KeyProcess_BuzzerEdit = MiscEditorKeys<107>;
inline constexpr KeyHandler KeyProcess_RemoteSenseEdit = MiscEditorKeys<109>;
inline constexpr KeyHandler KeyProcess_SlewRateEdit = MiscEditorKeys<111>;
inline constexpr KeyHandler KeyProcess_OutputRelayEdit = MiscEditorKeys<113>;
inline constexpr KeyHandler KeyProcess_HarmModeEdit = MiscEditorKeys<115>;
inline constexpr KeyHandler KeyProcess_ExtControlEdit = MiscEditorKeys<117>;
inline constexpr KeyHandler KeyProcess_ACV_UnitEdit = MiscEditorKeys<119>;
inline constexpr KeyHandler KeyProcess_SetChangePhase1Edit = MiscEditorKeys<121>;
inline constexpr KeyHandler KeyProcess_VI_Monitor_Source1Edit = MiscEditorKeys<123>;
inline constexpr KeyHandler KeyProcess_VI_Monitor_Source2Edit = MiscEditorKeys<125>;
inline constexpr KeyHandler KeyProcess_VI_MonitorEdit = MiscEditorKeys<127>;
inline constexpr KeyHandler KeyProcess_TriggerWidthEdit = MiscEditorKeys<129>;
inline constexpr KeyHandler KeyProcess_TriggerSourceEdit = MiscEditorKeys<131>;
inline constexpr KeyHandler KeyProcess_RelockEdit = MiscEditorKeys<133>;
inline constexpr KeyHandler KeyProcess_AvgCountEdit = MiscEditorKeys<135>;
inline constexpr KeyHandler KeyProcess_UpdateRateEdit = MiscEditorKeys<137>;

// The MISC edit states' slots of the key-handler table.
inline constexpr uint32_t kMiscFirstEditor = 97, kMiscLastEditor = 137;
