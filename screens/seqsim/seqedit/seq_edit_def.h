#pragma once
// The DEF1 and DEF2 memories the SEQ and SIM voltage and frequency editors share with the home settings:
// words 7 and 8 of the record of the AC voltage (47), the DC voltage (51) or the frequency (12) of phase
// unit 0; the L2 and L3 editors use the same record. Menu/control thread only.
#include <cstdint>

#include "core/params/param_rec.h"

// The stored DEF1 (first) or DEF2.
int32_t SeqEdit_DefValue(uint32_t id, bool first);
// The long press of soft key 1 or 2: stores the typed number while digits are pending (rounded half a
// hundredth away from zero, divided by the record's display scale and truncated), else the working value.
// A typed number outside the record's limits posts the message and stores nothing (false). A stored value
// shows "Saved to DEF1" or "Saved to DEF2" and ends the keypad entry.
bool SeqEdit_StoreDef(uint32_t id, bool first, int32_t limitMessage);
