#pragma once
// The unit's directory on USB memory, one per brand.
#include <cstdint>

extern const char* const g_BrandDirTable[3];  // "qx", "tulve", "pelma"

// The row of g_BrandId; brand 0's for an id outside the table.
const char* BrandDir();
