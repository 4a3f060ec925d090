#pragma once
// The numeric keypad's typing into the shared entry (g_EditBuf), done for every key before the key
// handler of the menu state sees it: the handlers only read the typed text's value and, after the enter
// key, the entered integer.
#include <cstdint>

// Takes the packed key event. Keypad keys (class 1) build the entry text; the cursor keys and the knob
// (class 4) end any entry; other classes pass untouched.
void menuKeypadInput(uint32_t* ev);
