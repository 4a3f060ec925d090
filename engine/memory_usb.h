#pragma once
// Saving memories to the USB memory and recalling them from it: one preset (M0-M9), SEQ memory (0-9),
// SIM memory (0-9) or waveform (ARB1-ARB253), or all of them (kind 4), with their messages. Files lie in
// the unit's brand directory on the USB memory.
#include <cstdint>

// How a preset and a waveform travel to and from the USB memory, handed over by their owners at
// start-up. Save: the write's result. Load: the load's result; rejectedModel the model text of the last
// preset file refused for its model; wdb set when the waveform came from its ".wdb" fallback.
struct MemoryUsbHooks {
    int32_t (*presetSave)(int32_t n);
    int32_t (*presetLoad)(int32_t n);
    const char* (*presetRejectedModel)();
    int32_t (*arbSave)(int32_t n);
    int32_t (*arbLoad)(int32_t n, bool* wdb);
};
void MemoryUsb_SetHooks(const MemoryUsbHooks& hooks);

// A positive result on success. A number outside its range or a kind above 4 does nothing (0), except a
// preset save, which fails with -1 and its message. SEQ and SIM memories are copied from their internal
// files after a checked read, without touching the working tables. Kind 4 needs the preset and waveform
// hooks (0 without them) and stops at the first failure, also while an alarm is latched.
int32_t SaveMemoryToUsb(int32_t kind, int32_t number);
// As above; waveforms and all are refused while the output is on.
int32_t RecallMemoryFromUsb(int32_t kind, int32_t number);
