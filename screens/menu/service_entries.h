#pragma once
// The row actions of the service lists and the entries of the service tuning editors. They do nothing
// until the service pages are built; the navigation table names them already.
#include "panel/menu_entries.h"

void menuServiceToggle();
void menuUpdateListAction();
void menuServiceDataListAction();
void menuServiceTuningEntry();

inline constexpr MenuEntryFn Enter_KeyProcess_9371_VoltSlewEdit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_FanSlewEdit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_FanDutyMaxEdit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_FanDutyMinEdit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_AvgCurrComp_kpEdit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_AvgCurrComp_kiEdit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_RD_Define1Edit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_RD_Define2Edit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_RD_Define3Edit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_RD_Define4Edit = menuServiceTuningEntry;
inline constexpr MenuEntryFn Enter_KeyProcess_9371_RD_Define5Edit = menuServiceTuningEntry;
