#pragma once
// The keypad number being typed, as the interface and display editors take it: a whole number.
#include <cstdint>

// The typed number truncated toward zero into *out when a number is being typed and it lies within
// [lo, hi]; false otherwise. The test is made on the typed value itself, so a number beyond 32 bits is
// outside like any other.
bool TypedWholeWithin(int32_t lo, int32_t hi, int32_t* out);
