#pragma once
// The key handler of every menu state and the dispatcher that the menu/control thread hands each key
// event to.
#include <array>
#include <cstdint>

#include "panel/menu/key_handler.h"

constexpr uint32_t kMenuStateCount = 545;  // states 0..544
// Slot s: the handler of state s. Slot 0 and slots 90-93 are parameter ids only and hold none.
extern const std::array<KeyHandler, kMenuStateCount> g_KeyProcessTable;

// Takes the packed key event: a zero event is no key. Runs the keypad typing, then the handler of the
// current menu state; a state without a handler drops the event whole.
void menuKeyDispatch(uint32_t* ev);
