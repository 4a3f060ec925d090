#pragma once
// The key handler of every menu state and the dispatcher that the menu/control thread hands each key
// event to.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/system/state/menu_state_ids.h"
#include "panel/menu/key_handler.h"

constexpr uint32_t kMenuStateCount = kMenuArbType + 1;  // states 0..544
// Slot s: the handler of state s. Slot 0 and slots 90-93 are parameter ids only and hold none.
extern const std::array<KeyHandler, kMenuStateCount> g_KeyProcessTable;

// The MENU page's states take the handlers of the menu screens, a layer above this table: app/ registers
// them before the menu/control thread starts. A registered slot overrides the table's handler. The slots
// are the MENU lists' states and the waveform builder's editor states.
constexpr uint32_t kMenuSlotFirst = kMenuSystemInfo, kMenuSlotLast = kMenuCalDefaultConfirm;
constexpr uint32_t kArbSlotFirst = kMenuArbTriangleEdit, kArbSlotLast = kMenuArbType;
// The SEQUENCE and SIMULATE screens' states, registered by their key handlers above this table.
constexpr uint32_t kSeqSimSlotFirst = kMenuSeqOutputPhase, kSeqSimSlotLast = kMenuSelSequenceMode;
struct MenuKeySlot {
    uint32_t state;
    KeyHandler handler;
};
// Sets the listed slots. Refuses the whole list (-1, nothing set) when a state lies outside 94-329, a
// handler is null or a slot already holds another handler; the same handler again is accepted. The
// states 330-494 and 495-544 are accepted as well.
int KeyTable_RegisterMenu(const MenuKeySlot* slots, size_t count);
// The handler the dispatcher runs for the state: the registered one, else the table's; null for none.
KeyHandler KeyTable_Handler(uint32_t state);

// Takes the packed key event: a zero event is no key. Runs the keypad typing, then the handler of the
// current menu state; a state without a handler drops the event whole.
void menuKeyDispatch(uint32_t* ev);
