#pragma once
// The order in which the knob moves the SIMULATE field cursor: per selection state the next field (knob
// turned up) and the previous one (turned down or not at all), chosen by the current SIM state, the
// repeat and ON/OFF phase enables and the wiring. The L1 fields lead only to L1 fields; the L2/L3 fields
// (reached from a remote edit) lead among themselves and on to the phase angles.
#include <cstdint>

// The selection state the knob leads to from `state`, or `state` itself where the cursor stays.
uint32_t SimKnobTarget(uint32_t state, int32_t delta);
