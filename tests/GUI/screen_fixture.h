#pragma once
// The graphics library on the real framebuffer file of a process-wide instrument root, and what the
// screen tests look at: the file's bytes and golden pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui.h"
#include "GUI/lcd/lcd.h"
#include "GUI/text/gui_font.h"
#include "GUI/wm/wm.h"

namespace guitest {

// The process's root with its framebuffer file: made once, removed when the process ends.
void UseScreenRoot();
// The library started as GUI_Start starts it (fresh pool, framebuffer device, black screen, desktop).
void FreshScreen();
// A test on a fresh screen.
struct ScreenTest : ::testing::Test {
    void SetUp() override { FreshScreen(); }
};
// Codes drawn since the last FreshScreen that their font has no glyph for (they show blank).
uint32_t MissingGlyphsSinceFresh();
// Texts and characters drawn since the last FreshScreen that leave the part of the screen their window
// owns (they show cut).
uint32_t OverflowsSinceFresh();
// Fails (at the caller's line) on a code drawn without a glyph or a text cut by its window since the last
// FreshScreen.
#define EXPECT_TEXTS_WHOLE()                                                                      \
    do {                                                                                          \
        EXPECT_EQ(guitest::MissingGlyphsSinceFresh(), 0u) << "a text drew a code its font lacks"; \
        EXPECT_EQ(guitest::OverflowsSinceFresh(), 0u)                                             \
            << "a text leaves its window, the last: " << GUI_LastTextOverflow();                  \
    } while (0)
// FreshScreen with a grey (0x404040) page over the whole screen under what the test makes, so that a
// window that draws nothing shows the grey.
void FreshScreenOnGreyPage();
// The framebuffer file's bytes, and its 800x480 screen as pixels.
std::vector<uint8_t> FileBytes();
std::vector<uint16_t> Screen();
// The screen's pixel at (x, y), and a colour of 0xRRGGBB as the display shows it.
uint16_t PixelAt(int x, int y);
uint16_t Rgb565(uint32_t rgb);
// The smallest box around the pixels inside `box` that are `colour` (`match`) or are not (!`match`); all
// four -1 when there are none.
GUI_BOX Extent(const GUI_BOX& box, uint16_t colour, bool match = true);
// The pixels of `screen` (800x480) inside `box` (inclusive) that are `colour`.
int CountColour(const std::vector<uint16_t>& screen, const GUI_BOX& box, uint16_t colour);
// The pixels no window paints: the whole window tree is painted twice, each time over a different random
// picture, and the places that still show the picture after both are listed (y x 800 + x), except those
// whose topmost window is one of `transparent` (windows that show what lies under them by design).
std::vector<int> UnpaintedPixels(const std::vector<WM_HWINDOW>& transparent = {});
// "n pixels, box (x0, y0)-(x1, y1)" for a failure message.
std::string Describe(const std::vector<int>& pixels);
// Compares rect of the screen with golden/<name>.png in RGB565. A mismatch fails and writes the actual,
// expected and difference pictures to golden-out/; VRN_UPDATE_GOLDENS=1 rewrites the golden instead.
void ExpectGolden(const std::string& name, const GUI_BOX& rect);

}  // namespace guitest
