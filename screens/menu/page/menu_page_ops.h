#pragma once
// The MENU page's internal operations: which list is on screen, where the focus is, which windows a state
// or a changed value repaints. GUI thread only.
#include <cstdint>

#include "screens/menu/page/menu_lists.h"

// 1 when the current state's select row belongs to another list, which it then makes current.
int MenuPage_SelectList();
void MenuPage_ShowCurrentList();
void MenuPage_ShowRowFocus(const MenuListRow* table);
void MenuPage_RepaintCurrentRow();
void MenuPage_HideListWindows();
void MenuPage_HideRowWindows(const MenuListRow* table);
void MenuPage_HideAllColumns();
void MenuPage_PreviewTick();
void MenuPage_WatchInterfaces();
// The watched settings: a changed one repaints its column and row, or follows into its open editor.
void MenuPage_WatchSettings();
// The current menu state, as the page reads it.
uint32_t MenuPage_State();
