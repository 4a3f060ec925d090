#pragma once
// The settings text written beside each screen copy: "VRN4100_Info.txt" in the brand directory of the
// USB memory, always 1024 bytes (the text, then zeros).
#include <cstddef>

// Builds the text from the settings in force and writes it; its own write result is not reported.
void Hardcopy_WriteInfoText();

namespace panel {
inline constexpr size_t kInfoTextBytes = 1024;
inline constexpr size_t kInfoLineBytes = 64;  // one line with its line feed
}  // namespace panel
