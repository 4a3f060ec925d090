#pragma once
// The advanced home screen's settings panel: which setting each panel row opens in each output mode, the
// openers of the settings' edit states, the panel row that follows the field being edited, and the keys
// that every MENU-page list state shares.
#include <cstdint>

#include "core/params/param_ranges.h"
#include "panel/menu/key_handler.h"
#include "panel/menu/settings_layout.h"
#include "panel/menu_entries.h"

// [panel row][output mode]; an empty cell holds an opener that does nothing. Each opens the setting of the
// row's item in the 3P4W layout (checked where it is defined).
extern const MenuEntryFn g_HomeFieldEnterMatrix[kLayoutRows][core::kModes];
// Sets the home panel row from the current menu state; states outside the panel leave it.
void menuSyncHomePanelRow();
// The common keys of the MENU-page list states (94-315).
void KeyProcess_MenuPageKeys(uint32_t* ev);
