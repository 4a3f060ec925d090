// Bitmaps on the framebuffer: the 16-bit drawers, the BMP corpus against the reference decoder, files
// that must be refused, and the full-screen logo.
#include <gtest/gtest.h>

#include "GUI/bitmap/gui_image.h"
#include "GUI/device/fb_driver.h"
#include "tests/GUI/bmp_corpus_fixture.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace guitest;

class Bitmaps : public ScreenTest {
  protected:
    static bool Black() {
        for (uint16_t p : Screen())
            if (p != 0) return false;
        return true;
    }
    static int Draw(const std::vector<uint8_t>& f, int x, int y) {
        return GUI_DrawBmpFile(f.data(), static_cast<uint32_t>(f.size()), x, y);
    }
};

TEST_F(Bitmaps, SixteenBitImages) {
    const uint8_t pixels[4] = {0x1F, 0x00, 0x34, 0x12};
    const GUI_IMAGE image = {2, 1, 4, 16, pixels, nullptr, &GUI_BitmapMethods565};
    GUI_DrawImage(&image, 10, 10);
    EXPECT_EQ(PixelAt(10, 10), 0x001F);
    EXPECT_EQ(PixelAt(11, 10), 0x1234);
    EXPECT_EQ(PixelAt(12, 10), 0);
}

// 5-5-5 pixels take their components from the 5-to-8 table: green 16, 17, 21 and 22 are 132, 140, 173
// and 181 (a scaling by 255/31 gives one less), red 16 is 132, blue 22 is 181.
TEST_F(Bitmaps, FiveFiveFivePixelsTakeTheFiveToEightTable) {
    const uint16_t pixels[6] = {16 << 5, 17 << 5, 21 << 5, 22 << 5, 16 << 10, 22};
    const uint32_t want[6] = {132 << 8, 140 << 8, 173 << 8, 181 << 8, 132, 181u << 16};
    std::vector<uint8_t> f = BmpHeader(6, 1, 16, 0, 0);
    for (uint16_t p : pixels)
        f.insert(f.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8)});
    ASSERT_EQ(Draw(f, 10, 10), 0);
    const auto s = Screen();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(s[10 * 800 + 10 + i], Color2Index_565(want[i])) << i;
}

// An RLE delta fills the rectangle from the cursor to its new place (both corners) with palette colour
// 0; the pixels it skips beside the rectangle keep what the screen showed.
TEST_F(Bitmaps, RleDeltaFillsTheRectangleItSpans) {
    std::vector<uint8_t> f = BmpHeader(8, 4, 8, 1, 3);  // 8 x 4, RLE8, three colours
    // Palette: 0 blue, 1 red, 2 green (blue, green, red, 0).
    f.insert(f.end(), {255, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0});
    // Bottom row: 2 red; delta 3 right, 2 up; 1 green; end of bitmap.
    f.insert(f.end(), {2, 1, 0, 2, 3, 2, 1, 2, 0, 1});
    GUI_FillBox(0, 0, 49, 49);  // white under the picture
    ASSERT_EQ(Draw(f, 10, 10), 0);
    const auto s = Screen();
    const uint16_t white = 0xFFFF, blue = 0x001F, red = 0xF800, green = 0x07E0;
    // Rows top (10) to bottom (13).
    const uint16_t want[4][8] = {
        {blue, blue, blue, blue, blue, blue, blue, blue},      // above the delta: the bitmap end
        {white, white, blue, blue, blue, green, blue, blue},   // the delta's new row
        {white, white, blue, blue, blue, blue, white, white},  // passed over
        {red, red, blue, blue, blue, blue, white, white},      // the delta's first row
    };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(s[(10 + y) * 800 + 10 + x], want[y][x]) << x << "," << y;
}

// Each file of the corpus (bottom-up and top-down) drawn whole, and again half off the left and top
// edges of a clip.
TEST_F(Bitmaps, CorpusMatchesReferenceDecoder) {
    for (const BmpCase& c : BmpCorpus()) {
        int w = 0, h = 0;
        std::vector<uint32_t> ref;
        ASSERT_TRUE(DecodeBmp(c.file, &w, &h, &ref)) << c.name;
        FreshScreen();
        ASSERT_EQ(Draw(c.file, 20, 30), 0) << c.name;
        ASSERT_EQ(Draw(c.file, -5, -3), 0) << c.name;
        const auto s = Screen();
        int bad = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto want = static_cast<uint16_t>(Color2Index_565(ref[y * w + x]));
                bad += s[(30 + y) * 800 + 20 + x] != want;
                if (x >= 5 && y >= 3) bad += s[(y - 3) * 800 + x - 5] != want;
            }
        EXPECT_EQ(bad, 0) << c.name;
        EXPECT_EQ(s[30 * 800 + 20 + w], 0) << c.name;
        EXPECT_EQ(s[(30 + h) * 800 + 20], 0) << c.name;
    }
}

TEST_F(Bitmaps, RefusedFilesDrawNothing) {
    const std::vector<uint8_t> good = BmpCorpus()[2].file;  // 8 bpp, 200 colours
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> f = good;
        for (size_t i = 0; i < bytes.size(); ++i)
            f[at + i] = bytes[i];
        return f;
    };
    const struct {
        const char* what;
        std::vector<uint8_t> file;
    } cases[] = {
        {"2 bpp", with(28, {2, 0})},
        {"300 colours", with(46, {0x2C, 0x01, 0, 0})},
        {"type BA", with(0, {'B', 'A'})},
        {"compression 4", with(30, {4, 0, 0, 0})},
        {"negative width", with(18, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"width 32768", with(18, {0, 0x80, 0, 0})},
        {"RLE8 on 4 bpp", with(28, {4, 0, 1, 0})},
        {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 40)},
        {"palette cut", std::vector<uint8_t>(good.begin(), good.begin() + 300)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Draw(c.file, 0, 0), 1) << c.what;
        EXPECT_TRUE(Black()) << c.what;
    }
    // A short pixel area is a failed read; the rows before it stay drawn.
    std::vector<uint8_t> cut(good.begin(), good.end() - 20);
    EXPECT_EQ(Draw(cut, 0, 0), 1);
    EXPECT_EQ(Draw(with(18, {0, 0, 0, 0}), 0, 0), 0);  // width 0: nothing, no failure
}

TEST_F(Bitmaps, LogoFillsTheScreen) {
    const auto logo = Bmp24(
        800, 480, [](int x, int y) -> uint32_t { return (x * 255 / 799) | (y * 255 / 479) << 8 | 0x400000; });
    ASSERT_EQ(logo.size(), 1152054u);
    ASSERT_EQ(Draw(logo, 0, 0), 0);
    const auto s = Screen();
    for (int i = 0; i < 800 * 480; i += 997)
        ASSERT_NE(s[i], 0) << i;
    EXPECT_EQ(s[479 * 800 + 799], Color2Index_565(0x40FFFF));
}

}  // namespace
