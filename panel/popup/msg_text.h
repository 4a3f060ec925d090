#pragma once
// The popup's text builders: one per numbered message, found by number in g_MsgTextTable. A builder clears
// the popup's flag word, writes the popup text and posts to the machine's row the event that starts
// the popup: timed (kPopupTimedStart) or held until closed (kPopupHeldStart). GUI thread only.
#include <cstdint>

#include "core/system/util/step_obj.h"

using MsgTextBuilder = void (*)(StepRow* row, uint32_t number);
// Indexed by number 0-31; entry 0 is empty.
extern const MsgTextBuilder g_MsgTextTable[32];

// Ids 1-4: the rear USB port and the GPIB link.
void MsgText_Link(StepRow* row, uint32_t number);
// Ids 5-8: the pending free text; 7 and 8 in the red frame, 6 and 8 held.
void MsgText_Free(StepRow* row, uint32_t number);
// Ids 9 and 10: keypad hints, held.
void MsgText_KeyHint(StepRow* row, uint32_t number);
// Ids 11-31: settings refused or limited, presets recalled or saved.
void MsgText_Setting(StepRow* row, uint32_t number);
