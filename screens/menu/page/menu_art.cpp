// The separator is painted at compile time; the illustration, too big for that, once on its first use.
#include "screens/menu/page/menu_art.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace menu::art {
namespace {

constexpr uint16_t To565(uint32_t rgb) {
    return static_cast<uint16_t>(((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 |
                                 ((rgb >> 3) & 0x1F));
}

constexpr GUI_IMAGE Image(int w, int h, const uint8_t* data) {
    return GUI_IMAGE{
        static_cast<uint16_t>(w), static_cast<uint16_t>(h), static_cast<uint16_t>(2 * w), 16, data, nullptr,
        &GUI_BitmapMethods565};
}

template <int W, int H, class F>
constexpr void Fill(uint8_t* data, F colour) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint16_t v = To565(colour(x, y));
            data[2 * (y * W + x)] = static_cast<uint8_t>(v);
            data[2 * (y * W + x) + 1] = static_cast<uint8_t>(v >> 8);
        }
}

// A light line fading to the right over a dark shadow line.
constexpr uint32_t SeparatorColour(int x, int y) {
    const uint32_t level = 0xE0 - static_cast<uint32_t>(x) * 0xA0 / 480;
    if (y == 2 || y == 3) return level << 16 | level << 8 | level;
    if (y == 4) return 0x202020;
    return 0x000000;
}

constexpr std::array<uint8_t, 480 * 7 * 2> kSeparatorData = [] {
    std::array<uint8_t, 480 * 7 * 2> d{};
    Fill<480, 7>(d.data(), SeparatorColour);
    return d;
}();

constexpr int kPicW = 400, kPicH = 250;

// A source on the left, a coil and a resistor in the upper wire, the load on the right: black strokes on
// white.
uint32_t ImpedanceColour(int x, int y) {
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    const bool frame = x == 0 || y == 0 || x == kPicW - 1 || y == kPicH - 1;
    const int sx = 60, sy = 150, r = 30;  // source circle
    const int d2 = (x - sx) * (x - sx) + (y - sy) * (y - sy);
    const bool source = std::abs(d2 - r * r) <= 2 * r;
    const bool wave =
        x > sx - 15 && x < sx + 15 && near(y, sy + ((x - sx) * (x - sx) * (x > sx ? -1 : 1)) / 20);
    const bool leftWire = near(x, sx) && ((y >= 50 && y <= sy - r) || (y >= sy + r && y <= 220));
    bool coil = false;
    for (int k = 0; k < 4; ++k) {
        const int cx = 125 + 20 * k, dx = x - cx, dy = y - 50;
        if (dy <= 0 && std::abs(dx * dx + dy * dy - 100) <= 10) coil = true;
    }
    const bool resistor = (x >= 220 && x <= 290) && (near(y, 40) || near(y, 60))
                              ? true
                              : (y >= 40 && y <= 60) && (near(x, 220) || near(x, 290));
    const bool topWire =
        near(y, 50) && ((x >= sx && x <= 115) || (x >= 195 && x <= 220) || (x >= 290 && x <= 340));
    const bool bottomWire = near(y, 220) && x >= sx && x <= 340;
    const bool load = (x >= 325 && x <= 355) && (y >= 110 && y <= 160) &&
                      (near(x, 325) || near(x, 355) || near(y, 110) || near(y, 160));
    const bool loadWire = near(x, 340) && ((y >= 50 && y <= 110) || (y >= 160 && y <= 220));
    if (frame || source || wave || leftWire || coil || resistor || topWire || bottomWire || load || loadWire)
        return 0x000000;
    return 0xFFFFFF;
}

}  // namespace

const GUI_IMAGE kTitleSeparator = Image(480, 7, kSeparatorData.data());

const GUI_IMAGE& ImpedancePicture() {
    static const auto* data = [] {
        static std::array<uint8_t, kPicW * kPicH * 2> pixels;
        Fill<kPicW, kPicH>(pixels.data(), ImpedanceColour);
        return pixels.data();
    }();
    static const GUI_IMAGE image = Image(kPicW, kPicH, data);
    return image;
}

}  // namespace menu::art
