#pragma once
// The parameter access layer: named getters and setters of the output settings.
//
// Only the few that the register bus needs exist so far, on plain words instead of the parameter store's
// records: the setters store what they are given (no limits, nothing posted to the output shadow) and the
// getters return it. The parameter store replaces these definitions with its own.
#include <cstdint>

// Output mode 0-9 (AC+DC-INT ... AC-VCA).
uint32_t GetOutputMode();
uint32_t SetOutputMode(uint32_t mode);

// Synchronisation phase, 0.1 degree (parameter 89).
int32_t GetSyncPhase();
int32_t SetSyncPhase(int32_t value);

// External signal selection of L1 (parameter 81); 3 takes the frequency from the synchronisation input.
int32_t GetMainSig();
int32_t SetMainSig(int32_t value, int phase);

// Entry w of the per-waveform factor table (the float table the power stage keeps at register 104).
float GetWaveCrestFactor(int waveform);
