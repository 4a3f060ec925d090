// Text on the framebuffer: placement, alignment, cursor, line gaps, missing characters, clipping by a
// covering window, and golden pictures of every font, the text modes and the alignments.
#include <gtest/gtest.h>

#include "GUI/Fonts/fonts.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace guitest;

constexpr uint16_t kWhite565 = 0xFFFF, kBlue565 = 0x001F;

// The screen from a fresh start, with the font and white on blue.
void Fresh(const GUI_FONTDEF* font, uint32_t back = 0xFF0000) {
    FreshScreen();
    GUI_SelectFont(font);
    GUI_SetForeColor(0xFFFFFF);
    GUI_SetBackColor(back);
}

// The box around every non-black pixel (x1 = -1 when there is none).
GUI_BOX Inked() {
    return Extent({0, 0, 799, 479}, 0, false);
}

TEST(Text, RightAlignedEndsLeftOfItsPoint) {
    Fresh(&FontMono6x8);
    GUI_SetAlign(GUI_TA_RIGHT);
    GUI_DrawTextAt("HELLO", 100, 10);
    const auto s = Screen();
    int white = 0;
    for (int y = 10; y <= 17; ++y)
        for (int x = 70; x <= 99; ++x) {
            ASSERT_TRUE(s[y * 800 + x] == kWhite565 || s[y * 800 + x] == kBlue565) << x << "," << y;
            white += s[y * 800 + x] == kWhite565;
        }
    EXPECT_GT(white, 30);
    const GUI_BOX b = Inked();  // columns 69 and 100 untouched
    EXPECT_TRUE(b.x0 == 70 && b.x1 == 99 && b.y0 == 10 && b.y1 == 17);
    EXPECT_TRUE(GUI_Context.textX == 100 && GUI_Context.textY == 10);
    EXPECT_EQ(GUI_Context.textAlign & GUI_TA_HORIZONTAL, 0);
}

// Line 2 of left-aligned text starts at the left border; right and centred text keep their x.
TEST(Text, SecondLinePlacement) {
    const struct {
        uint16_t align;
        int x0, x1;
    } cases[] = {{GUI_TA_LEFT, 0, 11}, {GUI_TA_RIGHT, 28, 39}, {GUI_TA_HCENTER, 34, 45}};
    for (const auto& c : cases) {
        Fresh(&FontMono6x8);
        GUI_SetAlign(c.align);
        GUI_DrawTextAt("AB\nCD", 40, 100);
        GUI_SetForeColor(0);  // the first line blacked out: what is left is line 2
        GUI_FillBox(0, 100, 799, 107);
        const GUI_BOX b = Inked();
        EXPECT_TRUE(b.x0 == c.x0 && b.x1 == c.x1 && b.y0 == 108 && b.y1 == 115) << c.align;
    }
}

TEST(Text, BottomAlignmentEmptyTextAndMissingCharacters) {
    Fresh(&Font16c);
    GUI_SetAlign(GUI_TA_BOTTOM | GUI_TA_RIGHT);
    GUI_DrawTextAt("", 300, 50);
    EXPECT_TRUE(GUI_Context.textAlign == GUI_TA_BOTTOM && GUI_Context.textX == 300);
    GUI_DrawCharAt(0xC0, 50, 50);
    EXPECT_EQ(GUI_Context.textX, 50);
    EXPECT_EQ(Inked().x1, -1);
    EXPECT_EQ(MissingGlyphsSinceFresh(), 1u) << "the code the font lacks is counted";
    GUI_DrawTextAt("Ag", 300, 50);
    const GUI_BOX b = Inked();
    EXPECT_TRUE(b.y0 == 35 && b.y1 == 50 && GUI_Context.textY == 50);
    GUI_DrawTextAt("A\xC1g\n\xB2", 300, 100);  // a line feed is no glyph
    EXPECT_EQ(MissingGlyphsSinceFresh(), 2u);
}

// A text or character whose ink is cut by its window (or by the window's parent) is counted; blank cells past
// the edge and a text wholly outside are not.
TEST(Text, InkCutByItsWindowIsCounted) {
    Fresh(&FontMono6x8);
    const WM_HWINDOW win = WM_CreateTop(100, 100, 40, 20, WM_CF_SHOW, nullptr, 0);
    WM_Select(win);
    GUI_DrawTextAt("HELLO", 0, 0);
    GUI_DrawTextAt("HELLO   ", 8, 10);  // 30 pixels of ink, then blank cells past x 39
    GUI_DrawTextAt("HELLO", 0, 30);
    EXPECT_EQ(OverflowsSinceFresh(), 0u) << GUI_LastTextOverflow();
    GUI_DrawTextAt("HELLO", 15, 0);
    EXPECT_EQ(OverflowsSinceFresh(), 1u);
    GUI_DrawCharAt('H', 37, 0);
    EXPECT_EQ(OverflowsSinceFresh(), 2u);
    GUI_DrawTextAt("HELLO", 0, 15);  // the lower rows of the glyphs
    EXPECT_EQ(OverflowsSinceFresh(), 3u);
    WM_Select(WM_CreateChild(20, 0, 40, 20, win, WM_CF_SHOW, nullptr, 0));
    GUI_DrawTextAt("HELLO", 0, 0);  // the parent shows 20 of the child's 40 pixels
    EXPECT_EQ(OverflowsSinceFresh(), 4u);
}

// The gap under a 6x8 glyph in the 9-pixel line: background in mode 0, untouched when transparent.
TEST(Text, LineGapFill) {
    Fresh(&FontMono6x9);
    GUI_DrawTextAt("ab", 10, 10);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_DrawTextAt("ab", 10, 30);
    const auto s = Screen();
    for (int x = 10; x < 22; ++x)
        EXPECT_TRUE(s[18 * 800 + x] == kBlue565 && s[38 * 800 + x] == 0) << x;
    EXPECT_TRUE(s[18 * 800 + 22] == 0 && s[19 * 800 + 10] == 0);
}

// Glyphs reaching left of their cursor survive their neighbour's background, and a character split by a
// covering window is drawn in both parts, unshifted.
TEST(Text, NeighboursAndCoveringWindows) {
    auto ink = [](uint16_t mode) {
        Fresh(&Font30x, 0);
        GUI_SetTextDrawMode(mode);
        GUI_DrawTextAt("AVAjW", 10, 10);
        const auto s = Screen();
        return std::count(s.begin(), s.end(), kWhite565);
    };
    EXPECT_EQ(ink(GUI_TM_NORMAL), ink(GUI_TM_TRANS));
    Fresh(&Font45a);
    GUI_DrawCharAt('W', 100, 100);
    const auto whole = Screen();
    Fresh(&Font45a);
    const int w = GUI_GetCharAdvance('W');
    WM_CreateTop(100 + w / 3, 90, w / 3, 80, WM_CF_SHOW, nullptr, 0);
    WM_Select(WM_GetDesktop());
    GUI_DrawCharAt('W', 100, 100);
    const auto split = Screen();
    for (int y = 100; y < 145; ++y)
        for (int x = 100; x < 100 + w; ++x)
            ASSERT_TRUE(split[y * 800 + x] == whole[y * 800 + x] ||
                        (x >= 100 + w / 3 && x < 100 + 2 * (w / 3)))
                << x << "," << y;
}

TEST(Text, GoldenFontsModesAndAlignments) {
    Fresh(&FontMono6x8, 0);
    const GUI_FONTDEF* fonts[] = {&FontMono6x8, &Font10,  &Font15a, &Font15b, &Font16a, &Font16c,
                                  &Font16d,     &Font16e, &Font20a, &Font20b, &Font22a, &Font22b,
                                  &Font24a,     &Font24b, &Font27a, &Font27b, &Font28,  &Font30x,
                                  &Font36a,     &Font36b, &Font44a, &Font44b, &Font45a, &Font45b};
    int y = 0;
    for (const GUI_FONTDEF* f : fonts) {
        if (f == &Font36a) {  // the large fonts on a screen of their own
            ExpectGolden("text_fonts_small", {0, 0, 479, static_cast<int16_t>(y - 1)});
            Fresh(f, 0);
            y = 0;
        }
        GUI_SelectFont(f);
        GUI_DrawTextAt("Vrn 230.0V 4.5A \xB0\xB1\xB2\xB3\xB4\xB5 Ajg", 2, y);
        y += f->YDist;
    }
    GUI_SelectFont(&Font160);
    GUI_DrawTextAt("12 Save", 2, y);
    ExpectGolden("text_fonts_large", {0, 0, 799, static_cast<int16_t>(y + 159)});
    Fresh(&Font24b);
    GUI_FillBox(0, 0, 299, 99);
    GUI_SetForeColor(0x0000FF);
    const uint16_t modes[] = {GUI_TM_NORMAL, GUI_TM_XOR, GUI_TM_TRANS, GUI_TM_REV};
    for (int i = 0; i < 4; ++i) {
        GUI_SetTextDrawMode(modes[i]);
        GUI_SetAlign(i % 2 ? GUI_TA_RIGHT | GUI_TA_VCENTER : GUI_TA_HCENTER | GUI_TA_BASELINE);
        GUI_DrawTextAt("Mode \xB0", 150, 12 + 25 * i);
    }
    ExpectGolden("text_modes_aligns", {0, 0, 299, 99});
}

}  // namespace
