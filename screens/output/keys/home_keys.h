#pragma once
// Key handlers of the home views and of the home settings' edit states, and the two plain handlers that
// the other states share until their screens bring their own.
#include <atomic>
#include <cstdint>

// State 1, the advanced screen: the enter key opens the setting of the selected panel row, the knob moves
// the row, shortcut and function keys go to the home editors, other keys to preset mode and the soft
// keys. A parallel slave takes only the MENU key (and the soft keys under the service override).
void menuAdvenceScreen(uint32_t* ev);
// State 2, the simple screen: as the advanced screen without rows and fields.
void menuSimpleScreen(uint32_t* ev);
// Preset mode's keys: a soft key or digit recalls, a long press saves, OUTPUT passes, any other key
// leaves the mode. Consumes (zeroes) the event it acts on.
void KeyProcess_PresetMode(uint32_t* ev);
// The soft keys of the advanced screen (also of the measurement-item fields) and of the simple screen.
void KeyProcess_HomeSoftKeys(uint32_t* ev);
void KeyProcess_SimpleSoftKeys(uint32_t* ev);
// The home page's own re-layout, which the DISPLAY key asks for: filled by the page; unset, nothing.
extern std::atomic<void (*)()> g_HomeScreenHide;
extern std::atomic<void (*)()> g_HomeScreenShow;
// States whose screen has no keys of its own yet: the exit key returns to the last home view.
void KeyProcess_ExitToHome(uint32_t* ev);
// A state whose keys do nothing.
void KeyProcess_Ignore(uint32_t* ev);
