#pragma once
// The display's stand-in: /dev/fb0 under the instrument root is a plain file of one mapped framebuffer
// (800 x 480 RGB565 pixels and the driver's spare lines), which people and tests can look at.
#include <cstdint>

namespace plat {

inline constexpr uint32_t kFramebufferFileBytes = 1152000;

// Makes the file black (all zero) when it is missing and extends a shorter one with zeros, so that the
// whole mapping lies inside the file. 0, or -1 when it cannot be made.
int PrepareFramebufferFile();

}  // namespace plat
