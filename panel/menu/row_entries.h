#pragma once
// The entries of the MENU lists' rows and editors: one per state, each the row of the one entry table that
// names its state (panel/menu/row_entry_table.h). Rows that the state list names are entered through
// Enter_<state name>; the others through menuEnterRow<state>. A guard that refuses leaves the state as it
// is, or enters the row the table names instead.
#include <cstdint>

#include "panel/menu/row_entry_table.h"
#include "panel/menu_entries.h"

// Enters the state as its row of the entry table says; a state without a row does nothing.
void menuEnterRowState(uint32_t state);

template <uint32_t State>
void menuEnterRow() {
    static_assert(panel::HasRowEntry(State), "the state has no row entry");
    menuEnterRowState(State);
}

// The barcode list from the password page: its first row with value and cursor 0.
void menuEnterBarcodeList();
// The parallel Enable row as the retry dialog leaves it: cursor 0.
void menuGoParallelEnableRow();
// The LF-ring builder fields back to their defaults, then a rebuild and a new preview.
void menuArbLFRingDefaults();

inline constexpr MenuEntryFn menuEnterSystemInfoItem = menuEnterRow<94>;
inline constexpr MenuEntryFn menuEnterOutputPhaseItem = menuEnterRow<98>;
inline constexpr MenuEntryFn menuEnterArbEditItem = menuEnterRow<214>;
inline constexpr MenuEntryFn menuEnterUpdateFirmwareItem = menuEnterRow<267>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkHoldEdit = menuEnterRow<97>;
inline constexpr MenuEntryFn Enter_KeyProcess_OutputPhaseEdit = menuEnterRow<99>;
inline constexpr MenuEntryFn Enter_KeyProcess_PhaseModeEdit = menuEnterRow<101>;
inline constexpr MenuEntryFn Enter_KeyProcess_IpkhClrEdit = menuEnterRow<103>;
inline constexpr MenuEntryFn Enter_KeyProcess_PowerOnEdit = menuEnterRow<105>;
inline constexpr MenuEntryFn Enter_KeyProcess_BuzzerEdit = menuEnterRow<107>;
inline constexpr MenuEntryFn Enter_KeyProcess_RemoteSenseEdit = menuEnterRow<109>;
inline constexpr MenuEntryFn Enter_KeyProcess_SlewRateEdit = menuEnterRow<111>;
inline constexpr MenuEntryFn Enter_KeyProcess_OutputRelayEdit = menuEnterRow<113>;
inline constexpr MenuEntryFn Enter_KeyProcess_HarmModeEdit = menuEnterRow<115>;
inline constexpr MenuEntryFn Enter_KeyProcess_ExtControlEdit = menuEnterRow<117>;
inline constexpr MenuEntryFn Enter_KeyProcess_ACV_UnitEdit = menuEnterRow<119>;
inline constexpr MenuEntryFn Enter_KeyProcess_SetChangePhase1Edit = menuEnterRow<121>;
inline constexpr MenuEntryFn Enter_KeyProcess_VI_Monitor_Source1Edit = menuEnterRow<123>;
inline constexpr MenuEntryFn Enter_KeyProcess_VI_Monitor_Source2Edit = menuEnterRow<125>;
inline constexpr MenuEntryFn Enter_KeyProcess_VI_MonitorEdit = menuEnterRow<127>;
inline constexpr MenuEntryFn Enter_KeyProcess_TriggerWidthEdit = menuEnterRow<129>;
inline constexpr MenuEntryFn Enter_KeyProcess_TriggerSourceEdit = menuEnterRow<131>;
inline constexpr MenuEntryFn Enter_KeyProcess_RelockEdit = menuEnterRow<133>;
inline constexpr MenuEntryFn Enter_KeyProcess_AvgCountEdit = menuEnterRow<135>;
inline constexpr MenuEntryFn Enter_KeyProcess_UpdateRateEdit = menuEnterRow<137>;
inline constexpr MenuEntryFn Enter_menuListLanDhcpEdit = menuEnterRow<140>;
inline constexpr MenuEntryFn Enter_menuListLanIp1Edit = menuEnterRow<142>;
inline constexpr MenuEntryFn Enter_menuListLanIp2Edit = menuEnterRow<143>;
inline constexpr MenuEntryFn Enter_menuListLanIp3Edit = menuEnterRow<144>;
inline constexpr MenuEntryFn Enter_menuListLanIp4Edit = menuEnterRow<145>;
inline constexpr MenuEntryFn Enter_menuListLanMask1Edit = menuEnterRow<147>;
inline constexpr MenuEntryFn Enter_menuListLanMask2Edit = menuEnterRow<148>;
inline constexpr MenuEntryFn Enter_menuListLanMask3Edit = menuEnterRow<149>;
inline constexpr MenuEntryFn Enter_menuListLanMask4Edit = menuEnterRow<150>;
inline constexpr MenuEntryFn Enter_menuListLanGate1Edit = menuEnterRow<152>;
inline constexpr MenuEntryFn Enter_menuListLanGate2Edit = menuEnterRow<153>;
inline constexpr MenuEntryFn Enter_menuListLanGate3Edit = menuEnterRow<154>;
inline constexpr MenuEntryFn Enter_menuListLanGate4Edit = menuEnterRow<155>;
inline constexpr MenuEntryFn Enter_menuListLanDns1Edit = menuEnterRow<157>;
inline constexpr MenuEntryFn Enter_menuListLanDns2Edit = menuEnterRow<158>;
inline constexpr MenuEntryFn Enter_menuListLanDns3Edit = menuEnterRow<159>;
inline constexpr MenuEntryFn Enter_menuListLanDns4Edit = menuEnterRow<160>;
inline constexpr MenuEntryFn Enter_menuListUSBModeEdit = menuEnterRow<169>;
inline constexpr MenuEntryFn Enter_menuListRS232BaudRateEdit = menuEnterRow<172>;
inline constexpr MenuEntryFn Enter_menuListRS232DataBitEdit = menuEnterRow<174>;
inline constexpr MenuEntryFn Enter_menuListRS232ParityEdit = menuEnterRow<176>;
inline constexpr MenuEntryFn Enter_menuListRS232StopBitEdit = menuEnterRow<178>;
inline constexpr MenuEntryFn Enter_menuListGPIBAddressEdit = menuEnterRow<181>;
inline constexpr MenuEntryFn Enter_menuListCANOPENBaudRateEdit = menuEnterRow<184>;
inline constexpr MenuEntryFn Enter_menuListCANOPENNodeIDEdit = menuEnterRow<186>;
inline constexpr MenuEntryFn Enter_menuListDeviceNetBaudRateEdit = menuEnterRow<189>;
inline constexpr MenuEntryFn Enter_menuListDeviceNetAddressEdit = menuEnterRow<191>;
inline constexpr MenuEntryFn Enter_menuListOutputImpedanceEdit = menuEnterRow<194>;
inline constexpr MenuEntryFn Enter_KeyProcess_L1InductanceEdit = menuEnterRow<196>;
inline constexpr MenuEntryFn Enter_KeyProcess_L2InductanceEdit = menuEnterRow<198>;
inline constexpr MenuEntryFn Enter_KeyProcess_L3InductanceEdit = menuEnterRow<200>;
inline constexpr MenuEntryFn Enter_KeyProcess_L1ResistanceEdit = menuEnterRow<202>;
inline constexpr MenuEntryFn Enter_KeyProcess_L2ResistanceEdit = menuEnterRow<204>;
inline constexpr MenuEntryFn Enter_KeyProcess_L3ResistanceEdit = menuEnterRow<206>;
inline constexpr MenuEntryFn Enter_menuListParallelPositionEdit = menuEnterRow<209>;
inline constexpr MenuEntryFn Enter_menuListParallelNumberEdit = menuEnterRow<211>;
inline constexpr MenuEntryFn Enter_menuListParallelEnableEdit = menuEnterRow<213>;
inline constexpr MenuEntryFn Enter_menuListLCDConfContrastEdit = menuEnterRow<216>;
inline constexpr MenuEntryFn Enter_menuListLCDConfBrightnessEdit = menuEnterRow<218>;
inline constexpr MenuEntryFn Enter_menuListLCDConfSaturationEdit = menuEnterRow<220>;
inline constexpr MenuEntryFn Enter_KeyProcess_DefaultSetEnter = menuEnterRow<222>;
inline constexpr MenuEntryFn Enter_KeyProcess_Password = menuEnterRow<224>;
inline constexpr MenuEntryFn Enter_KeyProcess_8623_FirmEdit = menuEnterRow<226>;
inline constexpr MenuEntryFn Enter_KeyProcess_8623_ModelEdit = menuEnterRow<228>;
inline constexpr MenuEntryFn Enter_menuListSavRecTypeEdit = menuEnterRow<286>;
inline constexpr MenuEntryFn Enter_menuListSavRecActionEdit = menuEnterRow<288>;
inline constexpr MenuEntryFn Enter_menuListSavRecMemoryEdit = menuEnterRow<290>;
inline constexpr MenuEntryFn Enter_menuEditArbTriangle = menuEnterRow<495>;
inline constexpr MenuEntryFn Enter_menuArbTriangle = menuEnterRow<496>;
inline constexpr MenuEntryFn Enter_menuEditArbStairs = menuEnterRow<497>;
inline constexpr MenuEntryFn Enter_menuArbStairs = menuEnterRow<498>;
inline constexpr MenuEntryFn Enter_menuEditArbClipKeepRms = menuEnterRow<499>;
inline constexpr MenuEntryFn Enter_menuArbClipKeepRms = menuEnterRow<500>;
inline constexpr MenuEntryFn Enter_menuEditArbClip = menuEnterRow<501>;
inline constexpr MenuEntryFn Enter_menuArbClip = menuEnterRow<502>;
inline constexpr MenuEntryFn Enter_menuEditArbCf1 = menuEnterRow<503>;
inline constexpr MenuEntryFn Enter_menuArbCf1 = menuEnterRow<504>;
inline constexpr MenuEntryFn Enter_menuEditArbCf2 = menuEnterRow<505>;
inline constexpr MenuEntryFn Enter_menuArbCf2 = menuEnterRow<506>;
inline constexpr MenuEntryFn Enter_menuEditArbSdSite = menuEnterRow<507>;
inline constexpr MenuEntryFn Enter_menuArbSdSite = menuEnterRow<508>;
inline constexpr MenuEntryFn Enter_menuEditArbSdAcv = menuEnterRow<509>;
inline constexpr MenuEntryFn Enter_menuArbSdAcv = menuEnterRow<510>;
inline constexpr MenuEntryFn Enter_menuEditArbSdMode = menuEnterRow<511>;
inline constexpr MenuEntryFn Enter_menuArbSdMode = menuEnterRow<512>;
inline constexpr MenuEntryFn Enter_menuEditArbRippleLevel = menuEnterRow<513>;
inline constexpr MenuEntryFn Enter_menuArbRippleLevel = menuEnterRow<514>;
inline constexpr MenuEntryFn Enter_menuEditArbRippleVDC = menuEnterRow<515>;
inline constexpr MenuEntryFn Enter_menuArbRippleVDC = menuEnterRow<516>;
inline constexpr MenuEntryFn Enter_menuEditArbRippleTimes = menuEnterRow<517>;
inline constexpr MenuEntryFn Enter_menuArbRippleTimes = menuEnterRow<518>;
inline constexpr MenuEntryFn Enter_menuEditArbDIPStart = menuEnterRow<519>;
inline constexpr MenuEntryFn Enter_menuArbDIPStart = menuEnterRow<520>;
inline constexpr MenuEntryFn Enter_menuEditArbDIPSweep = menuEnterRow<521>;
inline constexpr MenuEntryFn Enter_menuArbDIPSweep = menuEnterRow<522>;
inline constexpr MenuEntryFn Enter_menuEditArbDIPEnd = menuEnterRow<523>;
inline constexpr MenuEntryFn Enter_menuArbDIPEnd = menuEnterRow<524>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingACV = menuEnterRow<525>;
inline constexpr MenuEntryFn Enter_menuArbLFRingACV = menuEnterRow<526>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingAmp = menuEnterRow<527>;
inline constexpr MenuEntryFn Enter_menuArbLFRingAmp = menuEnterRow<528>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingBaseFreq = menuEnterRow<529>;
inline constexpr MenuEntryFn Enter_menuArbLFRingBaseFreq = menuEnterRow<530>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingRingFreq = menuEnterRow<531>;
inline constexpr MenuEntryFn Enter_menuArbLFRingRingFreq = menuEnterRow<532>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingDecay = menuEnterRow<533>;
inline constexpr MenuEntryFn Enter_menuArbLFRingDecay = menuEnterRow<534>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingStart = menuEnterRow<535>;
inline constexpr MenuEntryFn Enter_menuArbLFRingStart = menuEnterRow<536>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingEnd = menuEnterRow<537>;
inline constexpr MenuEntryFn Enter_menuArbLFRingEnd = menuEnterRow<538>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingRing = menuEnterRow<539>;
inline constexpr MenuEntryFn Enter_menuArbLFRingRing = menuEnterRow<540>;
inline constexpr MenuEntryFn Enter_menuEditArbArbNo = menuEnterRow<541>;
inline constexpr MenuEntryFn Enter_menuArbArbNo = menuEnterRow<542>;
inline constexpr MenuEntryFn Enter_menuEditArbitraryMode = menuEnterRow<543>;
inline constexpr MenuEntryFn Enter_menuArbitraryMode = menuEnterRow<544>;
