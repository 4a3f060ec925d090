#pragma once
// The meter grid's drawers: one per measured quantity, each formatting the quantity of one phase with
// its getter (screen mode 0) and drawing value and unit into the selected meter cell.
#include <cstdint>

inline constexpr uint32_t kMeterWhite = 0xFFFFFF;
inline constexpr uint32_t kMeterHeldGrey = 0xDEDEDE;

// quantity: MeasItemChoice; phase 0-2. A quantity outside the table draws nothing.
void HomeMeter_DrawQuantity(int32_t quantity, int phase, uint32_t colour);
// Value ending at x 150, unit from x 150, both in the 44-pixel fonts.
void HomeMeter_DrawText(const char* value, const char* unit, uint32_t colour);
// The colour of meter and power values: grey while the meter is held.
uint32_t HomeMeter_Colour();
