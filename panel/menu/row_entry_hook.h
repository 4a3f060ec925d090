#pragma once
// Entering a MENU row from below the MENU page: the row entries live with the MENU rows
// (screens/menu/rows), which the start-up hands over here. Until then an entry does nothing.
#include <cstdint>

using MenuRowEntryFn = void (*)(uint32_t state);
// Sets the entry of the MENU rows (at start-up, before any thread runs).
void MenuRows_SetEntry(MenuRowEntryFn enter);
// Enters the state as its row of the MENU rows' entry table says.
void menuEnterRowState(uint32_t state);
// The parallel Enable row as the retry dialog leaves it: cursor 0.
void menuGoParallelEnableRow();
