#pragma once
// What the home screen shows for the four measurement items: each quantity's name (the item lists and
// the ITEM soft keys) and the small tags of the meter cells. Which quantity an item slot holds is the
// measurement's own table (core/control/measure/meas_items.h).
#include <cstdint>

#include "core/control/measure/meas_items.h"

namespace home {

inline constexpr const char* kQuantityName[kMeasChoiceCount] = {
    "Vrms", "Vavg", "Vmax", "Vmin", "VpkH", "Irms", "Iavg", "Imax",    "Imin",    "IpkH",    "P",
    "S",    "Q",    "Freq", "PF",   "CF",   "THDv", "THDi", "VLL rms", "VLL avg", "VLL max", "VLL min"};

// The tag of item 0 by item row, and of a line-to-line item by column (phase).
inline constexpr const char* kFirstItemTag[4] = {"V", "A", "", ""};
inline constexpr const char* kLineToLineTag[3] = {"V12", "V23", "V31"};

// The number of items item row 0-3 offers in the output mode (0 for another row).
constexpr int32_t ItemCount(uint32_t row, uint32_t outputMode) {
    return row > 3 ? 0 : static_cast<int32_t>(meas_items::ListOf(row, outputMode).count);
}

// The name of item slot `item` of item row 0-3 in the output mode; "" outside the row's list.
constexpr const char* ItemName(uint32_t row, uint32_t outputMode, int32_t item) {
    const int32_t q = MeasItemQuantity(row, outputMode, item);
    return q < 0 ? "" : kQuantityName[q];
}

}  // namespace home
