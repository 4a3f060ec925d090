#pragma once
// Key handlers of the home views and of the home settings' edit states, and the two plain handlers that
// the other states share until their screens bring their own.
#include <cstdint>

// State 1, the advanced screen: the enter key opens the setting of the selected panel row, the knob and
// the cursor keys move the row, shortcut and function keys go to the home editors. A parallel slave
// hands every key to its own home keys.
void menuAdvenceScreen(uint32_t* ev);
// State 2, the simple screen: shortcut and function keys.
void menuSimpleScreen(uint32_t* ev);
// States whose screen has no keys of its own yet: the exit key returns to the last home view.
void KeyProcess_ExitToHome(uint32_t* ev);
// A state whose keys do nothing.
void KeyProcess_Ignore(uint32_t* ev);
