#pragma once
// The home page's settings panel, phase header, lists and phasor as windows of their own at their places
// on the screen, over a factory-default model-1 store, painted one at a time; every text drawn is kept
// with its screen anchor and colour, and the framebuffer's pixels are read back.
#include <cstdint>
#include <string>
#include <vector>

#include "GUI/wm/wm.h"

namespace hometest {

struct DrawnText {
    std::string text;
    int x;
    int y;
    uint32_t rgb;  // 0xRRGGBB
    uint16_t align;
};

class HomePaintScreen {
  public:
    HomePaintScreen();
    ~HomePaintScreen();
    HomePaintScreen(const HomePaintScreen&) = delete;
    HomePaintScreen& operator=(const HomePaintScreen&) = delete;

    // Paints the home window of that index at once (the texts of earlier paints are dropped first).
    void Paint(int win);
    // The panel's twelve label and value windows.
    void PaintPanel();
    const std::vector<DrawnText>& Texts() const;
    // The text drawn at (x, y), or "" when none.
    std::string TextAt(int x, int y) const;
    // The framebuffer's pixel, and a colour 0xRRGGBB as the display stores it.
    static uint16_t Pixel(int x, int y);
    static uint16_t Rgb565(uint32_t rgb);
};

}  // namespace hometest
