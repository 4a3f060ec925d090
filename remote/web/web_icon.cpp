#include "remote/web/web_icon.h"

#include <cstdint>

namespace web {
namespace {

constexpr int kSide = 16;
// Top row first; '#' is the letter, '.' the ground.
constexpr const char* kPicture[kSide] = {
    "................", "................", ".##..........##.", ".##..........##.",
    "..##........##..", "..##........##..", "...##......##...", "...##......##...",
    "....##....##....", "....##....##....", ".....##..##.....", ".....##..##.....",
    "......####......", ".......##.......", "................", "................",
};
constexpr uint32_t kLetter = 0xFFF0F0F0;  // ARGB
constexpr uint32_t kGround = 0xFF1C3A6E;
constexpr uint32_t kInfoSize = 40;  // the bitmap's info header
constexpr uint32_t kPixelBytes = kSide * kSide * 4;
constexpr uint32_t kMaskBytes = kSide * 4;  // one bit a pixel, rows padded to 32 bits
constexpr uint32_t kImageOffset = 6 + 16;   // after the icon header and its one entry

void Put16(std::string* out, uint32_t v) {
    out->push_back(static_cast<char>(v & 0xFF));
    out->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string* out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::string WebIconIco() {
    std::string out;
    Put16(&out, 0);  // reserved
    Put16(&out, 1);  // an icon
    Put16(&out, 1);  // one image
    out.push_back(static_cast<char>(kSide));
    out.push_back(static_cast<char>(kSide));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(&out, 1);   // planes
    Put16(&out, 32);  // bits a pixel
    Put32(&out, kInfoSize + kPixelBytes + kMaskBytes);
    Put32(&out, kImageOffset);
    Put32(&out, kInfoSize);
    Put32(&out, kSide);
    Put32(&out, 2 * kSide);  // the colour rows and the mask's
    Put16(&out, 1);
    Put16(&out, 32);
    Put32(&out, 0);  // uncompressed
    Put32(&out, kPixelBytes + kMaskBytes);
    for (int i = 0; i < 4; ++i)
        Put32(&out, 0);                         // resolution and palette counts
    for (int row = kSide - 1; row >= 0; --row)  // the bottom row first
        for (int col = 0; col < kSide; ++col)
            Put32(&out, kPicture[row][col] == '#' ? kLetter : kGround);  // B, G, R, A in the file
    out.append(kMaskBytes, '\0');                                        // every pixel opaque
    return out;
}

}  // namespace web
