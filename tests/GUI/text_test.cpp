// Text on the framebuffer: placement, alignment, cursor, line gaps, missing characters, clipping by a
// covering window, and golden pictures of every font and the text modes.
#include <gtest/gtest.h>

#include "GUI/Fonts/fonts.h"
#include "GUI/fb_driver.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace guitest;

constexpr uint32_t kWhite = 0xFFFFFF, kBlue = 0xFF0000, kRed = 0x0000FF;
constexpr uint16_t kWhite565 = 0xFFFF, kBlue565 = 0x001F;

class Text : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshScreen();
        GUI_SelectFont(&FontMono6x8);
        GUI_SetForeColor(kWhite);
        GUI_SetBackColor(kBlue);
        GUI_SetTextDrawMode(GUI_TM_NORMAL);
    }
    static uint16_t At(const std::vector<uint16_t>& s, int x, int y) { return s[y * 800 + x]; }
    // Rows and columns of the screen holding any non-black pixel.
    static GUI_BOX Inked() {
        const auto s = Screen();
        GUI_BOX b{800, 480, -1, -1};
        for (int i = 0; i < 800 * 480; ++i)
            if (s[i] != 0) {
                const int x = i % 800, y = i / 800;
                b = {std::min<int16_t>(b.x0, x), std::min<int16_t>(b.y0, y), std::max<int16_t>(b.x1, x),
                     std::max<int16_t>(b.y1, y)};
            }
        return b;
    }
};

TEST_F(Text, RightAlignedEndsLeftOfItsPoint) {
    GUI_SetAlign(GUI_TA_RIGHT);
    GUI_DrawTextAt("HELLO", 100, 10);
    const auto s = Screen();
    int white = 0;
    for (int y = 10; y <= 17; ++y) {
        for (int x = 70; x <= 99; ++x) {
            ASSERT_TRUE(At(s, x, y) == kWhite565 || At(s, x, y) == kBlue565) << x << "," << y;
            white += At(s, x, y) == kWhite565;
        }
        EXPECT_EQ(At(s, 69, y), 0);
        EXPECT_EQ(At(s, 100, y), 0);
    }
    EXPECT_GT(white, 30);
    EXPECT_EQ(GUI_Context.textX, 100);
    EXPECT_EQ(GUI_Context.textY, 10);
    EXPECT_EQ(GUI_Context.textAlign & GUI_TA_HORIZONTAL, 0);
    const GUI_BOX b = Inked();
    EXPECT_TRUE(b.x0 == 70 && b.x1 == 99 && b.y0 == 10 && b.y1 == 17);
}

// Line 2 of left-aligned text starts at the left border; right and centred text keep their x.
TEST_F(Text, SecondLinePlacement) {
    const struct {
        uint16_t align;
        int x0, x1;
    } cases[] = {{GUI_TA_LEFT, 0, 11}, {GUI_TA_RIGHT, 28, 39}, {GUI_TA_HCENTER, 34, 45}};
    for (const auto& c : cases) {
        FreshScreen();
        GUI_SelectFont(&FontMono6x8);
        GUI_SetBackColor(kBlue);
        GUI_SetAlign(c.align);
        GUI_DrawTextAt("AB\nCD", 40, 100);
        const GUI_BOX b = Inked();
        EXPECT_EQ(b.y1, 115) << c.align;
        const auto s = Screen();
        GUI_BOX line2{800, 0, -1, 0};
        for (int x = 0; x < 800; ++x)
            if (At(s, x, 110) != 0) {
                line2.x0 = std::min<int16_t>(line2.x0, x);
                line2.x1 = std::max<int16_t>(line2.x1, x);
            }
        EXPECT_EQ(line2.x0, c.x0) << c.align;
        EXPECT_EQ(line2.x1, c.x1) << c.align;
    }
}

TEST_F(Text, BottomAlignmentAndEmptyText) {
    GUI_SelectFont(&Font16c);
    GUI_SetAlign(GUI_TA_BOTTOM | GUI_TA_RIGHT);
    GUI_DrawTextAt("", 300, 50);
    EXPECT_EQ(GUI_Context.textAlign, GUI_TA_BOTTOM);
    EXPECT_EQ(GUI_Context.textX, 300);
    EXPECT_EQ(Inked().x1, -1);
    GUI_DrawTextAt("Ag", 300, 50);
    const GUI_BOX b = Inked();
    EXPECT_EQ(b.y0, 35);
    EXPECT_EQ(b.y1, 50);
    EXPECT_EQ(GUI_Context.textY, 50);
}

TEST_F(Text, MissingCharacterNeitherDrawsNorMoves) {
    GUI_SelectFont(&Font16c);
    GUI_DrawCharAt(0xC0, 50, 50);
    EXPECT_EQ(GUI_Context.textX, 50);
    EXPECT_EQ(Inked().x1, -1);
    GUI_DrawCharAt('A', 50, 50);
    EXPECT_EQ(GUI_Context.textX, 50 + GUI_GetCharAdvance('A'));
}

// The gap under a 6x8 glyph in the 9-pixel line: background in mode 0, untouched when transparent.
TEST_F(Text, LineGapFill) {
    GUI_SelectFont(&FontMono6x9);
    GUI_DrawTextAt("ab", 10, 10);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_DrawTextAt("ab", 10, 30);
    const auto s = Screen();
    for (int x = 10; x < 22; ++x) {
        EXPECT_EQ(At(s, x, 18), kBlue565) << x;
        EXPECT_EQ(At(s, x, 38), 0) << x;
    }
    EXPECT_EQ(At(s, 22, 18), 0);
    EXPECT_EQ(At(s, 10, 19), 0);
}

// A glyph reaching left of its cursor survives its neighbour's background.
TEST_F(Text, ExtendedFontKeepsNeighbours) {
    GUI_SelectFont(&Font30x);
    GUI_SetBackColor(0);
    GUI_DrawTextAt("AVAjW", 10, 10);
    const auto together = Screen();
    int inkTogether = 0, inkAlone = 0;
    for (uint16_t p : together)
        inkTogether += p == kWhite565;
    FreshScreen();
    GUI_SelectFont(&Font30x);
    GUI_SetBackColor(0);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_DrawTextAt("AVAjW", 10, 10);
    for (uint16_t p : Screen())
        inkAlone += p == kWhite565;
    EXPECT_EQ(inkTogether, inkAlone);
}

// A window over the middle of a character splits it; both parts are drawn, unshifted.
TEST_F(Text, CharacterSplitByCoveringWindow) {
    GUI_SelectFont(&Font45a);
    GUI_DrawCharAt('W', 100, 100);
    const auto whole = Screen();
    FreshScreen();
    GUI_SelectFont(&Font45a);
    GUI_SetBackColor(kBlue);
    const int w = GUI_GetCharAdvance('W');
    WM_CreateTop(100 + w / 3, 90, w / 3, 80, WM_CF_SHOW, nullptr, 0);
    WM_Select(WM_GetDesktop());
    GUI_DrawCharAt('W', 100, 100);
    const auto split = Screen();
    for (int y = 100; y < 145; ++y)
        for (int x = 100; x < 100 + w; ++x)
            if (x < 100 + w / 3 || x >= 100 + 2 * (w / 3))
                ASSERT_EQ(split[y * 800 + x], whole[y * 800 + x]) << x << "," << y;
}

TEST_F(Text, GoldenFontsAndModes) {
    const GUI_FONTDEF* fonts[] = {&FontMono6x8, &Font10,  &Font15a, &Font15b, &Font16a, &Font16c,
                                  &Font16d,     &Font16e, &Font20a, &Font20b, &Font22a, &Font22b,
                                  &Font24a,     &Font24b, &Font27a, &Font27b, &Font28,  &Font30x};
    int y = 0;
    GUI_SetBackColor(0);
    for (const GUI_FONTDEF* f : fonts) {
        GUI_SelectFont(f);
        GUI_DrawTextAt("Vrn 230.0V 4.5A \xB0\xB1\xB2\xB3\xB4\xB5 Ajg", 2, y);
        y += f->YDist;
    }
    ExpectGolden("text_fonts_small", {0, 0, 399, static_cast<int16_t>(y - 1)});
    FreshScreen();
    const GUI_FONTDEF* large[] = {&Font36a, &Font36b, &Font44a, &Font44b, &Font45a, &Font45b};
    y = 0;
    for (const GUI_FONTDEF* f : large) {
        GUI_SelectFont(f);
        GUI_DrawTextAt("Output 100.0V", 2, y);
        y += f->YDist;
    }
    GUI_SelectFont(&Font160);
    GUI_DrawTextAt("12 Save", 2, y);
    ExpectGolden("text_fonts_large", {0, 0, 799, static_cast<int16_t>(y + 159)});
    FreshScreen();
    GUI_FillBox(0, 0, 299, 99);
    GUI_SetForeColor(kRed);
    GUI_SetBackColor(kBlue);
    GUI_SelectFont(&Font24b);
    const uint16_t modes[] = {GUI_TM_NORMAL, GUI_TM_XOR, GUI_TM_TRANS, GUI_TM_REV};
    for (int i = 0; i < 4; ++i) {
        GUI_SetTextDrawMode(modes[i]);
        GUI_SetAlign(i % 2 ? GUI_TA_RIGHT | GUI_TA_VCENTER : GUI_TA_HCENTER | GUI_TA_BASELINE);
        GUI_DrawTextAt("Mode \xB0", 150, 12 + 25 * i);
    }
    ExpectGolden("text_modes_aligns", {0, 0, 299, 99});
}

}  // namespace
