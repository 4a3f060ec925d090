#pragma once
// The editors of the MISC Configuration rows (edit states 97-137, odd): each edits the instrument setting
// whose parameter id is its state, by the common editor protocol, and differs only by its row of one table.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"
#include "panel/menu/key_handler.h"

// The key handler of the MISC edit state; a state outside the table ignores the event.
void MiscEditor_Keys(uint32_t state, uint32_t* ev);
template <uint32_t State>
void MiscEditorKeys(uint32_t* ev) {
    MiscEditor_Keys(State, ev);
}

// The MISC edit states' slots of the key-handler table.
inline constexpr uint32_t kMiscFirstEditor = kMenuIpkHoldEdit, kMiscLastEditor = kMenuUpdateRateEdit;
