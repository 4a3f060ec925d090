#pragma once
// Saving memories to the USB memory and recalling them from it: one preset (M0-M9), SEQ memory (0-9),
// SIM memory (0-9) or waveform (ARB1-ARB253), or all of them (kind 4), with their messages. Files lie in
// the unit's brand directory on the USB memory.
#include <cstdint>

// A positive result on success. Without a mounted USB memory nothing is done: "USB Memory Unconnected"
// and 0. A number outside its range or a kind above 4 does nothing (0), except a preset save, which fails
// with -1 and its message. SEQ and SIM memories are copied from their internal files after a checked read,
// without touching the working tables. Kind 4 stops at the first failure, also while an alarm is latched.
int32_t SaveMemoryToUsb(int32_t kind, int32_t number);
// As above; waveforms and all are refused while the output is on.
int32_t RecallMemoryFromUsb(int32_t kind, int32_t number);
