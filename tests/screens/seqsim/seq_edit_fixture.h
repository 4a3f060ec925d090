#pragma once
// What the SEQ editor tests share: SEQUENCE entered on model type 1 (3P4W, AC+DC-INT) with the default
// steps downloaded into the simulated stage, the keypad entry typed directly, and the messages and
// popups the handlers posted.
#include <string>
#include <vector>

#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/screen_keys.h"

namespace seqedit {

// The SEQ/SIM data reset on model type 1, the stage reading the step the engine shows; reset again after.
class SeqSimTest : public ::testing::Test {
  protected:
    SeqSimTest();
    ~SeqSimTest() override;
    test::CtrlEnv env_{1};
};

class SeqEditTest : public SeqSimTest {
  protected:
    SeqEditTest();
    ~SeqEditTest() override;
};

// SEQUENCE entered on model type 1 with its page keys registered, driven through the dispatcher.
class SeqPageTest : public SeqSimTest {
  protected:
    SeqPageTest();
};

// The editors' way back to their selection state, counted (reset by SeqEditTest): the calls and the
// phase of the last.
extern int g_backs, g_backPhase;
void Back(int phase);
inline int32_t Working() {
    return g_EditParam.workValue.load();
}
// An edit state as its entry leaves it: working, reference and previous value, cursor 0, no entry; the
// live values of the step as its selection state left them.
void Open(int32_t value);
// Selects the step (no run in progress).
void GoToStep(int32_t step);
// A number typed on the keypad: digits, '.' and a leading '-' (the SHIFT sign key).
void Type(const char* text);
// A number typed on the keypad through the key dispatcher: digits and '.'.
void TypeDispatched(const char* text);
// Runs the keypad typing and the handler, as the dispatcher does.
void Press(void (*handler)(uint32_t*), uint8_t cls, uint8_t code);
void Turn(void (*handler)(uint32_t*), int8_t delta);
// Every parameter shortcut key pressed once through the dispatcher: the settings a step holds itself are
// refused with the message (in a two-line popup), the others post nothing and leave the menu state.
void ExpectShortcutKeys(const char* refusal);
// Empties the ring so that the next numbered message is queued even when it repeats the last one.
void FreshRing();
// The numbered messages and text popups posted since the last FreshRing, oldest first.
inline std::vector<std::string> Posted() {
    return screenkeys::Messages();
}

}  // namespace seqedit
