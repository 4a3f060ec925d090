#pragma once
// SIMULATE on the simulated power stage for the panel's key handlers: model type 1 (3P4W, AC+DC-INT),
// the default states downloaded into the stage, SIM mode and engine with the 200V set.
#include <bit>
#include <string>

#include "engine/seqsim/seqsim_data.h"
#include "engine/sim/sim_access.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/screens/screen_keys.h"

namespace test {

struct SimPanelEnv : SeqSimEnv {
    SimPanelEnv();
};
// A float step register of a state's copy in the stage (volts, hertz).
inline float StepFloat(uint32_t reg, uint32_t state) {
    return std::bit_cast<float>(Stage().Stored(reg, state));
}
inline SimStepRecord& Rec(uint32_t state, int phase) {
    return engine::SimRecAt(state, phase);
}
// The free text of the message popup.
using screenkeys::Popup;
// The key event of a key: class and code, or the knob with its delta.
uint32_t Key(uint8_t cls, uint8_t code);
uint32_t Knob(int8_t delta);
// Runs the keypad typing and the handler, as the dispatcher does.
void Press(void (*handler)(uint32_t*), uint32_t ev);
// Types a number on the keypad ('0'-'9' and '.') into the shared entry.
void Type(void (*handler)(uint32_t*), const char* digits);

}  // namespace test
