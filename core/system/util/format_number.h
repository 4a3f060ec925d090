#pragma once
// The number text of the front panel and the measurement getters.
#include <cstddef>

// out must hold kNumberTextSize characters; a longer text is cut there.
inline constexpr size_t kNumberTextSize = 64;

// Prints value with 0-4 decimals (any other count: 5); with plus 1 a value above -0.005 gets a leading "+"
// (a value in (-0.005, 0) prints as +0); a unit (may be empty) follows after a blank. Returns 0, or 1 when
// out is null.
int FormatNumber(int plus, char* out, int decimals, const char* unit, float value);
