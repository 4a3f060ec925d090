#pragma once
// The digit cursor of a field whose value changed width.
#include <cstdint>

// Keeps the cursor on the same decade when the working value crossed 10000 or 100000 from the start
// value: a shorter value moves it up (at most to the digit count), a longer one moves it down and drops
// the digits the wider display no longer shows from the working value.
void menuKeepDigitCursor(int32_t digits);
