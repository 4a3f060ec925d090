#pragma once
// The four measurement items of the home screen as the remote commands name them: each item stores a
// slot of its own list, which differs between DC-INT and the other output modes.
#include <cstdint>

#include "core/control/measure/meas_items.h"

// The slot of `choice` in the list of item 0-3 for the output mode, or -1 when the list lacks it.
int32_t MeasItemSlotOf(uint32_t item, uint32_t outputMode, int32_t choice);
// The short name of the quantity in `slot` of the item's list for the output mode; "VRMS" for a slot
// outside the list.
const char* MeasItemChoiceText(uint32_t item, uint32_t outputMode, int32_t slot);
