#pragma once
// What the SEQUENCE dialogs and previews share: the first look at every key and the way out.
#include <cstdint>

#include "drivers/panel_link.h"

namespace seqpage {

// The key hook with every event; true when the event goes no further: keypad and cursor/knob keys while
// a run is in progress.
bool Filtered(uint32_t* ev);
// Closes the recall page; a number being typed is only cancelled, else back to the step index.
void Leave();
// Leaves on 'T'; passes any other keypad key but 'U' to the keypad hook. True when the key was 'T' or
// went to the hook.
bool ExitOrKeypadHook(uint32_t* ev);
}  // namespace seqpage
