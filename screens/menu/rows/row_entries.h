#pragma once
// The entries of the MENU lists' rows and editors: one per state, each the row of the one entry table that
// names its state (screens/menu/rows/row_entry_table.h). Rows that the state list names are entered through
// Enter_<state name>; the others through menuEnterRow<state>. A guard that refuses leaves the state as it
// is, or enters the row the table names instead. Lower layers enter a row through menuEnterRowState
// (panel/menu/row_entry_hook.h), which the start-up hands this entry.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"
#include "panel/menu_entries.h"
#include "screens/menu/rows/row_entry_table.h"

// Enters the state as its row of the entry table says; a state without a row does nothing.
void MenuRows_EnterState(uint32_t state);

template <uint32_t State>
void menuEnterRow() {
    static_assert(menu_rows::HasRowEntry(State), "the state has no row entry");
    MenuRows_EnterState(State);
}

// The barcode list from the password page: its first row with value and cursor 0.
void menuEnterBarcodeList();
// The LF-ring builder fields back to their defaults, then a rebuild and a new preview.
void menuArbLFRingDefaults();

inline constexpr MenuEntryFn menuEnterSystemInfoItem = menuEnterRow<kMenuSystemInfo>;
inline constexpr MenuEntryFn menuEnterArbEditItem = menuEnterRow<kMenuArbEdit>;
inline constexpr MenuEntryFn Enter_KeyProcess_RemoteSenseEdit = menuEnterRow<kMenuRemoteSenseEdit>;
inline constexpr MenuEntryFn Enter_menuListLanIp1Edit = menuEnterRow<kMenuLanIp1Edit>;
inline constexpr MenuEntryFn Enter_menuListLanIp2Edit = menuEnterRow<kMenuLanIp2Edit>;
inline constexpr MenuEntryFn Enter_menuListLanIp3Edit = menuEnterRow<kMenuLanIp3Edit>;
inline constexpr MenuEntryFn Enter_menuListLanIp4Edit = menuEnterRow<kMenuLanIp4Edit>;
inline constexpr MenuEntryFn Enter_menuListLanMask2Edit = menuEnterRow<kMenuLanMask2Edit>;
inline constexpr MenuEntryFn Enter_menuListLanMask3Edit = menuEnterRow<kMenuLanMask3Edit>;
inline constexpr MenuEntryFn Enter_menuListLanMask4Edit = menuEnterRow<kMenuLanMask4Edit>;
inline constexpr MenuEntryFn Enter_menuListLanGate2Edit = menuEnterRow<kMenuLanGate2Edit>;
inline constexpr MenuEntryFn Enter_menuListLanGate3Edit = menuEnterRow<kMenuLanGate3Edit>;
inline constexpr MenuEntryFn Enter_menuListLanGate4Edit = menuEnterRow<kMenuLanGate4Edit>;
inline constexpr MenuEntryFn Enter_menuListLanDns2Edit = menuEnterRow<kMenuLanDns2Edit>;
inline constexpr MenuEntryFn Enter_menuListLanDns3Edit = menuEnterRow<kMenuLanDns3Edit>;
inline constexpr MenuEntryFn Enter_menuListLanDns4Edit = menuEnterRow<kMenuLanDns4Edit>;
inline constexpr MenuEntryFn Enter_menuEditArbTriangle = menuEnterRow<kMenuArbTriangleEdit>;
inline constexpr MenuEntryFn Enter_menuArbTriangle = menuEnterRow<kMenuArbTriangle>;
inline constexpr MenuEntryFn Enter_menuEditArbStairs = menuEnterRow<kMenuArbStairsEdit>;
inline constexpr MenuEntryFn Enter_menuArbStairs = menuEnterRow<kMenuArbStairs>;
inline constexpr MenuEntryFn Enter_menuEditArbClipKeepRms = menuEnterRow<kMenuArbClipKeepRmsEdit>;
inline constexpr MenuEntryFn Enter_menuArbClipKeepRms = menuEnterRow<kMenuArbClipKeepRms>;
inline constexpr MenuEntryFn Enter_menuEditArbClip = menuEnterRow<kMenuArbClipEdit>;
inline constexpr MenuEntryFn Enter_menuArbClip = menuEnterRow<kMenuArbClip>;
inline constexpr MenuEntryFn Enter_menuEditArbCf1 = menuEnterRow<kMenuArbCf1Edit>;
inline constexpr MenuEntryFn Enter_menuArbCf1 = menuEnterRow<kMenuArbCf1>;
inline constexpr MenuEntryFn Enter_menuEditArbCf2 = menuEnterRow<kMenuArbCf2Edit>;
inline constexpr MenuEntryFn Enter_menuArbCf2 = menuEnterRow<kMenuArbCf2>;
inline constexpr MenuEntryFn Enter_menuEditArbSdSite = menuEnterRow<kMenuArbSdSiteEdit>;
inline constexpr MenuEntryFn Enter_menuArbSdSite = menuEnterRow<kMenuArbSdSite>;
inline constexpr MenuEntryFn Enter_menuEditArbSdAcv = menuEnterRow<kMenuArbSdAcvEdit>;
inline constexpr MenuEntryFn Enter_menuArbSdAcv = menuEnterRow<kMenuArbSdAcv>;
inline constexpr MenuEntryFn Enter_menuEditArbSdMode = menuEnterRow<kMenuArbSdModeEdit>;
inline constexpr MenuEntryFn Enter_menuArbSdMode = menuEnterRow<kMenuArbSdMode>;
inline constexpr MenuEntryFn Enter_menuEditArbRippleLevel = menuEnterRow<kMenuArbRippleLevelEdit>;
inline constexpr MenuEntryFn Enter_menuArbRippleLevel = menuEnterRow<kMenuArbRippleLevel>;
inline constexpr MenuEntryFn Enter_menuEditArbRippleVDC = menuEnterRow<kMenuArbRippleVdcEdit>;
inline constexpr MenuEntryFn Enter_menuArbRippleVDC = menuEnterRow<kMenuArbRippleVdc>;
inline constexpr MenuEntryFn Enter_menuEditArbRippleTimes = menuEnterRow<kMenuArbRippleTimesEdit>;
inline constexpr MenuEntryFn Enter_menuArbRippleTimes = menuEnterRow<kMenuArbRippleTimes>;
inline constexpr MenuEntryFn Enter_menuEditArbDIPStart = menuEnterRow<kMenuArbDipStartEdit>;
inline constexpr MenuEntryFn Enter_menuArbDIPStart = menuEnterRow<kMenuArbDipStart>;
inline constexpr MenuEntryFn Enter_menuEditArbDIPSweep = menuEnterRow<kMenuArbDipSweepEdit>;
inline constexpr MenuEntryFn Enter_menuArbDIPSweep = menuEnterRow<kMenuArbDipSweep>;
inline constexpr MenuEntryFn Enter_menuEditArbDIPEnd = menuEnterRow<kMenuArbDipEndEdit>;
inline constexpr MenuEntryFn Enter_menuArbDIPEnd = menuEnterRow<kMenuArbDipEnd>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingACV = menuEnterRow<kMenuArbLfRingAcvEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingACV = menuEnterRow<kMenuArbLfRingAcv>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingAmp = menuEnterRow<kMenuArbLfRingAmpEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingAmp = menuEnterRow<kMenuArbLfRingAmp>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingBaseFreq = menuEnterRow<kMenuArbLfRingBaseFreqEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingBaseFreq = menuEnterRow<kMenuArbLfRingBaseFreq>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingRingFreq = menuEnterRow<kMenuArbLfRingRingFreqEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingRingFreq = menuEnterRow<kMenuArbLfRingRingFreq>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingDecay = menuEnterRow<kMenuArbLfRingDecayEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingDecay = menuEnterRow<kMenuArbLfRingDecay>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingStart = menuEnterRow<kMenuArbLfRingStartEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingStart = menuEnterRow<kMenuArbLfRingStart>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingEnd = menuEnterRow<kMenuArbLfRingEndEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingEnd = menuEnterRow<kMenuArbLfRingEnd>;
inline constexpr MenuEntryFn Enter_menuEditArbLFRingRing = menuEnterRow<kMenuArbLfRingRingEdit>;
inline constexpr MenuEntryFn Enter_menuArbLFRingRing = menuEnterRow<kMenuArbLfRingRing>;
inline constexpr MenuEntryFn Enter_menuEditArbArbNo = menuEnterRow<kMenuArbArbNoEdit>;
inline constexpr MenuEntryFn Enter_menuArbArbNo = menuEnterRow<kMenuArbArbNo>;
inline constexpr MenuEntryFn Enter_menuEditArbitraryMode = menuEnterRow<kMenuArbTypeEdit>;
inline constexpr MenuEntryFn Enter_menuArbitraryMode = menuEnterRow<kMenuArbType>;
