// RGB565 colour conversion: library colours are 0x00BBGGRR, indices carry red in bits 11-15, green in
// bits 5-10 and blue in bits 0-4. Every table is built at compile time.
#include <array>
#include <cstring>

#include "GUI/device/fb_driver.h"

namespace {

template <int Bits>
constexpr std::array<uint8_t, 256> Narrow() {
    std::array<uint8_t, 256> t{};
    constexpr int top = (1 << Bits) - 1;
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<uint8_t>((i * top * 2 + 255) / 510);
    return t;
}

constexpr std::array<uint8_t, 256> kT5 = [] {
    auto t = Narrow<5>();
    t[37] = 5;  // the panel's red ramp splits between 36 and 37
    return t;
}();
constexpr std::array<uint8_t, 256> kT6 = Narrow<6>();
constexpr uint8_t kT58[32] = {0,   8,   16,  25,  33,  41,  49,  58,  66,  74,  82,  91,  99,  107, 115, 123,
                              132, 140, 148, 156, 165, 173, 181, 189, 197, 206, 214, 222, 230, 239, 247, 255};
constexpr std::array<uint8_t, 64> kT68 = [] {
    std::array<uint8_t, 64> t{};
    for (int i = 0; i < 64; ++i)
        t[i] = static_cast<uint8_t>((i * 255 * 2 + 63) / 126);
    return t;
}();

uint32_t Mask565() {
    return 0xFFFF;
}

}  // namespace

extern const std::array<uint8_t, 256> FbBitReverse = [] {
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            r |= ((i >> b) & 1) << (7 - b);
        t[i] = static_cast<uint8_t>(r);
    }
    return t;
}();

uint32_t Color2Index_565(uint32_t color) {
    return (static_cast<uint32_t>(kT5[color & 0xFF]) << 11) +
           (static_cast<uint32_t>(kT6[(color >> 8) & 0xFF]) << 5) + kT5[(color >> 16) & 0xFF];
}

uint32_t Index2Color_565(uint32_t index) {
    return kT58[(index >> 11) & 31] | (static_cast<uint32_t>(kT68[(index >> 5) & 63]) << 8) |
           (static_cast<uint32_t>(kT58[index & 31]) << 16);
}

uint32_t Index2Color_555(uint32_t index) {
    return kT58[(index >> 10) & 31] | (static_cast<uint32_t>(kT58[(index >> 5) & 31]) << 8) |
           (static_cast<uint32_t>(kT58[index & 31]) << 16);
}

void Color2IndexBulk_565(const uint32_t* colors, void* indices, int count, int indexSize) {
    auto* out = static_cast<uint8_t*>(indices);
    for (int i = 0; i < count; ++i, out += indexSize) {
        const auto v = static_cast<uint16_t>(Color2Index_565(colors[i]));
        std::memcpy(out, &v, sizeof v);
    }
}

// From the last item to the first, so the colours may overwrite the indices they come from.
void Index2ColorBulk_565(const void* indices, uint32_t* colors, int count, int indexSize) {
    const auto* in = static_cast<const uint8_t*>(indices);
    for (int i = count - 1; i >= 0; --i) {
        uint16_t v;
        std::memcpy(&v, in + static_cast<std::ptrdiff_t>(i) * indexSize, sizeof v);
        colors[i] = Index2Color_565(v);
    }
}

const GUI_COLORCONV ColorConv_565 = {Color2Index_565,     Index2Color_565,    Mask565, 1,
                                     Color2IndexBulk_565, Index2ColorBulk_565};
