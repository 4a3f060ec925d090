#pragma once
// What every SIMULATE field editor shares: the key decoding, the exit and SEQ keys that never write, the
// typed number in the field's stored unit, the writes of an L1 editor to all three phases and the
// read-back check after the write.
#include <cstdint>

#include "core/system/messaging/msg_ring.h"
#include "drivers/panel_link.h"

namespace simedit {

struct Key {
    uint8_t cls, code;
    int8_t delta;
};
Key Decode(const uint32_t* ev);

// The exit key 'T' and the SEQ key 'M': true when the key is one of them. A pending keypad entry is only
// cancelled; otherwise back() returns to the selection state, which reloads the value.
bool ExitKey(const Key& k, void (*back)(int phase), int phase);

// How a typed number becomes the stored unit.
enum class Typed : uint8_t {
    kTenthMs,     // seconds to 0.1 ms
    kHundredths,  // volts or hertz to 0.01
    kTenths,      // degrees to 0.1, truncated
    kWhole,       // truncated
};
// The typed number converted; false when it does not fit 32 bits (the caller refuses it).
bool TypedValue(Typed rule, double x, int32_t* out);
// The ON/OFF phase rule: above 500.00 Hz a number within 359.0 degrees is rounded to whole degrees.
bool TypedPhase(double x, int32_t freq, int32_t* out);
// A refused typed number: its message (0 for none), the entry cancelled; the editor stays.
void RefuseTyped(int32_t message);

// Writes phase p, or phases 0-2 for the L1 editor of a per-phase field, each only when the value lies
// within that phase's limits [lower(p), upper(p)]: a refused value never reaches the setter, whose refusal
// would send the last value it sent, for any state, to the edited state's register. False when a phase
// refused it.
struct PhaseLimits {
    int32_t (*lower)(int phase);
    int32_t (*upper)(int phase);
};
bool WritePhases(int32_t (*set)(int32_t value, int phase), PhaseLimits limits, int32_t value, int phase,
                 bool allPhases);

// The read-back result of the write, reported by the panel's check ("SIM Err.(%d, %d)", apply strobe in
// Initial).
void AfterWrite(int mismatch);

}  // namespace simedit
