#pragma once
// Reads an uncompressed 24-bit BMP file (the screen pictures) into top-down RGB rows, for the sandbox's
// JPEG converter. Any file of the root can be handed to the converter, so every field is checked before
// a pixel is read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat::sandbox {

struct RgbPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, top row first
};

// The largest side taken; a bigger picture is refused rather than allocated.
constexpr uint32_t kBmpMaxSide = 8192;

// False, with the reason in *why, for anything but an uncompressed 24-bit BMP whose pixel rows (padded
// to 4 bytes, bottom-up or, with a negative height, top-down) lie inside the file.
bool DecodeBmp24(std::string_view file, RgbPicture* out, std::string* why);

}  // namespace plat::sandbox
