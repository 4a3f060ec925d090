#pragma once
// Setters of the current SIMULATE state for the editors that take any value: the value is brought into
// the field's limits first, so a value out of range is stored at the limit instead of being dropped.
// Each returns the value stored; the caller compares it with what it asked for to tell the user.
// Phase 0 (L1) writes the per-phase fields of all three phases, as the panel's L1 editors do; the value
// returned is then the one stored for L3, whose limits may be the narrower (its own frequency).
#include <cstdint>

int32_t SimSetEnOnphaClamp(int32_t value, int phase);
int32_t SimSetEnOffphaClamp(int32_t value, int phase);
int32_t SimSetOnphaClamp(int32_t value, int phase);
int32_t SimSetOffphaClamp(int32_t value, int phase);
int32_t SimSetAcvClamp(int32_t value, int phase);
int32_t SimSetFreqClamp(int32_t value, int phase);
int32_t SimSetTimeClamp(int32_t value);
int32_t SimSetSyncCodeClamp(int32_t value);
int32_t SimSetRepeatClamp(int32_t value);
int32_t SimSetEnRepeatClamp(int32_t value);

// The field a clamping setter wrote: the SIM screen, above the engine, is asked to show its edit state
// through the screen request kSimShowField (the field, and the phase or -1 for the fields that have none).
enum class SimClampField : uint32_t {
    kEnOnpha,
    kEnOffpha,
    kOnpha,
    kOffpha,
    kAcv,
    kFreq,
    kTime,
    kSyncCode,
    kRepeat,
    kEnRepeat
};

// Whether the field's clamping setter would store value as it is in state 0-6 for the phase (L1: for all
// three), each phase held to its own limits there: a remote write checks every state and phase it goes
// to before the first is written, so that a value any of them would clamp is refused whole.
bool SimClampTakes(SimClampField field, int32_t value, uint32_t state, int phase);
