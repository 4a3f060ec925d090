#pragma once
// The MENU lists' key side: moving from row to row, opening a row, going back, and the MENU key.
#include <cstdint>

// Key handler of every list row state and of the list owners without a row (182, 187).
void KeyProcess_SelectMenuItem(uint32_t* ev);
// The function keys of every row and editor state: only MENU acts, leading one level up.
void KeyProcess_MenuFunctionKeys(uint32_t* ev);
