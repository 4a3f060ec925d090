// Painted at run time: as constant arrays these six would add some 250 KB of pixel data to the source.
#include "panel/draw/popup_art.h"

#include <cstdint>
#include <vector>

#include "GUI/device/fb_driver.h"

namespace panel::art {

namespace {

// c0 at step 0, c1 at step span (0xRRGGBB, byte by byte); beyond span stays c1.
uint32_t Mix(uint32_t c0, uint32_t c1, int step, int span) {
    if (step >= span) return c1;
    if (step <= 0) return c0;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((c0 >> shift) & 0xFF), b = static_cast<int>((c1 >> shift) & 0xFF);
        out |= static_cast<uint32_t>(a + (b - a) * step / span) << shift;
    }
    return out;
}

bool InRounded(int x, int y, int w, int h, int r) {
    const int cx = x < r ? r : (x >= w - r ? w - 1 - r : x);
    const int cy = y < r ? r : (y >= h - r ? h - 1 - r : y);
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}

// 0: outside the rounded rectangle, 1: on its one-pixel rim, 2: inside.
int Zone(int x, int y, int w, int h, int r) {
    if (!InRounded(x, y, w, h, r)) return 0;
    if (!InRounded(x - 1, y, w, h, r) || !InRounded(x + 1, y, w, h, r) || !InRounded(x, y - 1, w, h, r) ||
        !InRounded(x, y + 1, w, h, r))
        return 1;
    return 2;
}

// The popups' body: light at the top, settling on the grey the button rows clear to.
uint32_t Body(int y) {
    return Mix(0xF6F6F6, 0xE6E6E6, y, 50);
}

struct Bitmap {
    std::vector<uint8_t> pixels;
    GUI_IMAGE image;
};

template <class F>
Bitmap Paint(int w, int h, F colour) {
    Bitmap out{std::vector<uint8_t>(static_cast<size_t>(w) * h * 2), {}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t rgb = colour(x, y);
            const uint32_t bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
            const uint32_t v = Color2Index_565(bgr);
            out.pixels[2 * (static_cast<size_t>(y) * w + x)] = static_cast<uint8_t>(v);
            out.pixels[2 * (static_cast<size_t>(y) * w + x) + 1] = static_cast<uint8_t>(v >> 8);
        }
    }
    out.image = GUI_IMAGE{static_cast<uint16_t>(w), static_cast<uint16_t>(h), static_cast<uint16_t>(2 * w), 16,
                          out.pixels.data(), nullptr, &GUI_BitmapMethods565};
    return out;
}

Bitmap PaintBackground(int w, int h) {
    return Paint(w, h, [w, h](int x, int y) -> uint32_t {
        switch (Zone(x, y, w, h, 6)) {
            case 0: return 0x000000;
            case 1: return 0x505050;
            default: return y == 1 ? 0xFFFFFF : Body(y);
        }
    });
}

}  // namespace

const GUI_IMAGE& PopupBackground() {
    static const Bitmap art = PaintBackground(231, 131);
    return art.image;
}

const GUI_IMAGE& SmallPopupBackground() {
    static const Bitmap art = PaintBackground(201, 91);
    return art.image;
}

const GUI_IMAGE& CfgPhaseBackground() {
    static const Bitmap art = PaintBackground(321, 131);
    return art.image;
}

// Orange under the title, fading into the body towards the right.
const GUI_IMAGE& PopupTitleBand() {
    static const Bitmap art = Paint(156, 19, [](int x, int y) -> uint32_t {
        if (y == 18) return Mix(0xB06A00, 0xD0D0D0, x, 155);
        if (y == 0) return Mix(0xFFD27A, 0xF0F0F0, x, 155);
        return Mix(0xF7A81E, 0xE6E6E6, x, 155);
    });
    return art.image;
}

// A dark well around the value window.
const GUI_IMAGE& ValueFieldFrame() {
    static const Bitmap art = Paint(200, 50, [](int x, int y) -> uint32_t {
        switch (Zone(x, y, 200, 50, 6)) {
            case 0: return Body(70 + y);
            case 1: return 0x6A6A6A;
            default: return Mix(0x505050, 0x202020, y, 49);
        }
    });
    return art.image;
}

// A light groove: the range text above it runs into its top rows and stays readable.
const GUI_IMAGE& SmallPopupBand() {
    static const Bitmap art = Paint(183, 50, [](int x, int y) -> uint32_t {
        switch (Zone(x, y, 183, 50, 5)) {
            case 0: return Body(37 + y);
            case 1: return 0x9A9A9A;
            default: return Mix(0xD6D6D6, 0xF2F2F2, y, 49);
        }
    });
    return art.image;
}

}  // namespace panel::art
