#pragma once
// Key handlers of the home settings' edit states 8-89. One row per group of states says how the state's
// field is edited: a numeric field through the generic field operations (with the checks after a stored
// value and the message of a limited one), a choice applied on the enter key, a kind selector, the range
// keys or the duty.
#include <cstdint>

// The handler of every state 8-89 but the measurement items (38-44); the current state picks the row.
void KeyProcess_HomeField(uint32_t* ev);

namespace screens {
// The typed duty (keypad number in percent) as the field stores it, in 0.1 %: rounded to the resolution the
// frequency allows (f in 0.01 Hz). Out of its bounds (digit setting 1: 10-90 %, 2: 1-99 %, else
// 0.1-99.9 %) it is -1, and so is a number past the 32-bit range.
int32_t TypedDuty(double entry, float scale, int32_t digitSetting, int32_t frequency);
}  // namespace screens
