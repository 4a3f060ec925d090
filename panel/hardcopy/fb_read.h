#pragma once
// The screen copy's read of the framebuffer.
#include <cstddef>
#include <cstdint>

// Reads the framebuffer device "/dev/fb0" whole (1,152,000 bytes) into the screen-copy work buffer; 0,
// or -1 when it cannot be opened or gives fewer bytes.
int Fb_ReadScreen();

namespace panel {
inline constexpr size_t kFbReadBytes = 1152000;
// The work buffer: 800 x 480 RGB565 pixels, little-endian, row after row from the top-left, then the
// driver's spare lines.
const uint8_t* ScreenCopyPixels();
}  // namespace panel
