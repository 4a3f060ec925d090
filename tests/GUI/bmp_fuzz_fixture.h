#pragma once
// One fuzz input through the BMP decoder on a started screen: the file is drawn across the edges of a
// clip limit, and the input fails (abort) when the result is not 0 or 1 or a pixel outside the limit
// changed. Shared by the libFuzzer target and the seed replay test.
#include <cstddef>
#include <cstdint>

namespace guitest {

// For the fuzz target: an instrument root of its own with the library started on its framebuffer.
void StartFuzzScreen();
// The decoder's result for the input (aborts on a broken invariant).
int BmpFuzzOne(const uint8_t* data, size_t size);

}  // namespace guitest
