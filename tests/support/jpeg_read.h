#pragma once
// Decodes a JPEG (the web server's screen capture) into RGB for comparison.
#include <string_view>

#include "tests/support/png_read.h"

namespace testsupport {

// False when the bytes are not a JPEG libjpeg can decode to three components.
bool DecodeJpeg(std::string_view jpeg, RgbImage* image);

}  // namespace testsupport
