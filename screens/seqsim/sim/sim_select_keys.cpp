#include "screens/seqsim/sim/sim_select_keys.h"

#include "drivers/panel_link.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_keys.h"
#include "screens/seqsim/sim/sim_knob.h"

namespace {
void KeypadKey(const SimFieldRow& row, int phase, uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyEnter) {
        SimEnterEdit(row, phase);
    } else if (code == kKeyExit) {
        if (row.exitReloads) SimEnterSelect(row, phase);
    } else {
        Sim_KeypadHook(ev);
    }
}
}  // namespace

// The shared classes of every selection state; the keypad and cursor classes are the caller's.
bool SimCommonKeys(uint32_t* ev) {
    switch (KeyEventClass(*ev)) {
        case kClassShortcut:
            Sim_FilterShortcutKeys(ev);
            return true;
        case kClassSoft:
            Sim_SoftKeys(ev);
            return true;
        case kClassFunction:
            Sim_FunctionKeyHook(ev);
            Sim_FunctionKeys(ev);
            return true;
        default:
            return false;
    }
}

void SimCursorKeys(uint32_t state, uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyLeft || code == kKeyRight) {
        Sim_StepKeys(code);
    } else if (code == kKeyKnob) {
        const uint32_t target = SimKnobTarget(state, KeyEventDelta(*ev));
        if (target != state) SimEnterSelectState(target);
    }
}

void SimSelectKeys(uint32_t state, uint32_t* ev) {
    Sim_KeyHook(ev);
    int phase = 0;
    const SimFieldRow* row = SimFieldOfState(state, &phase);
    if (row == nullptr || SimCommonKeys(ev)) return;
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassKeypad)
        KeypadKey(*row, phase, ev);
    else if (cls == kClassCursor)
        SimCursorKeys(state, ev);
}
