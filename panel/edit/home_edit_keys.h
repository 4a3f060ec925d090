#pragma once
// Editing the home screens' settings (the edit states 8-89): the group handlers that the per-field key
// handlers call by key class, with the parameter id of the field. The value handlers return 0 when
// nothing changed, 1 when a value was applied, 2 when it was refused or limited.
#include <cstdint>

int32_t menuEditParamEnterKey(uint32_t* ev, uint32_t id);  // class 1: keypad, exit, enter
int32_t menuEditParamSoftKey(uint32_t* ev, uint32_t id);   // class 3: DEF1/DEF2/MAX/MIN
int32_t menuEditParamKnobKey(uint32_t* ev, uint32_t id);   // class 4: knob and cursor keys
void KeyProcess_HomeCommonKeys(uint32_t* ev);              // class 5: function keys
void KeyProcess_HomeParamKeys(uint32_t* ev);               // class 2: shortcut keys
void KeyProcess_SlaveHomeKeys(uint32_t* ev);               // the home views of a parallel slave

// The SEQUENCE/SIMULATE key handler ('M' in a home view) comes from the SEQ/SIM screens above the panel,
// handed over at start-up; unset, the key does nothing.
void HomeKeys_SetSeqSimKey(void (*handler)());
