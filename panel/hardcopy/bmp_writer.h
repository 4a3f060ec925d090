#pragma once
// The screen as an 800 x 480 24-bit BMP file: the screen copy to USB memory and the web server's screen
// image use it.
#include <cstddef>

// Writes what the framebuffer shows to the file at the instrument path. 0, -1 when the framebuffer cannot
// be read (no file is made), -2 when the file cannot be made or written whole (no file is left, and one
// that was there before is kept).
int Bmp_WriteScreen(const char* path);

namespace panel {
inline constexpr size_t kBmpFileBytes = 1152054;
}  // namespace panel
