#pragma once
// The keys every SIMULATE selection state shares: the soft keys (run, hold, the memory lists, SEQUENCE),
// the parameter shortcut keys SIMULATE refuses, the function keys (MENU, SEQ, preset, OUTPUT), and the
// three hooks that keep their call sites. Each takes the packed key event.
#include <cstdint>

void Sim_SoftKeys(uint32_t* ev);
void Sim_FilterShortcutKeys(uint32_t* ev);
void Sim_FunctionKeys(uint32_t* ev);
// They do nothing: every event at the start of a selection handler, the keypad keys a selection state
// does not use, the function keys before Sim_FunctionKeys.
void Sim_KeyHook(uint32_t* ev);
void Sim_KeypadHook(uint32_t* ev);
void Sim_FunctionKeyHook(uint32_t* ev);
