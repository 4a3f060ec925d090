#pragma once
// The key thread: turns front-panel keys, knob turns and USB keypad or barcode-scanner input into key
// events for the menu/control thread.
#include <cstdint>

void* KeyThread(void* arg);
// The key thread's set-up before its loop (scanner, mailbox, scanner countdown).
void KeyThread_Init();
// One pass (without its 2 ms sleep).
void KeyThread_Pass();

// Sets the class byte of a packed key event from its key code (kKeyKnobOther is first taken as kKeyKnob).
uint32_t KeyCode_SetClass(uint32_t event);

namespace core {

constexpr uint32_t kLongPressPasses = 400;  // a key held this many passes is a long press

struct KeyThreadState {
    uint32_t scanCountdown;
    uint32_t current;   // panel key word of this pass
    uint32_t previous;  // previous panel key word (after translation)
    uint32_t hold;      // passes with a key down
    bool longSent;
};
extern KeyThreadState g_KeyThreadState;

// The long-press code of a key code (codes without one keep their code).
uint8_t LongPressCode(uint8_t code);
// The key event a USB keyboard usage code of the scanner or keypad yields, or 0 when it yields none.
uint32_t ScanCodeKeyEvent(uint8_t usage);

}  // namespace core
