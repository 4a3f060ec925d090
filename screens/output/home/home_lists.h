#pragma once
// The drop-down lists of the home screen's settings: the measurement items of a meter row, the output
// modes and the lines. GUI thread only.
#include <cstdint>

// The item names 0..count-1 of a measurement-item list, 25 pixels apart, in boxes on the list's orange.
void HomeList_DrawItems(const char* const* names, int32_t count);
