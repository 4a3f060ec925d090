#pragma once
// Reads an 8-bit RGB PNG (the screen pictures) for comparison.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, row-major
};

// False when the file is missing, not a PNG or not 8-bit RGB.
bool ReadRgbPng(const std::string& path, RgbImage* image);

}  // namespace testsupport
