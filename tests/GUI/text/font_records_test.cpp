// The font records against the panel's font table: metrics, kind and the edges of every code range.
#include <gtest/gtest.h>

#include <vector>

#include "GUI/Fonts/fonts.h"

namespace {

using Ranges = std::vector<std::pair<int, int>>;

struct Row {
    const GUI_FONTDEF* font;
    uint16_t flags;
    int ySize, yDist, baseline;
    Ranges ranges;
};

const std::vector<Row>& Table() {
    const Ranges ranges24b = {{0x20, 0x7E}, {0xAB, 0xAB}, {0xB0, 0xB5}, {0xBB, 0xBB}, {0xF0, 0xF2}};
    // Every text face holds the instrument's signs: degree, plus-minus, the two arrows, micro, ohm, angle.
    const Ranges text = {{0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}};
    const Ranges ranges160 = {{0x20, 0x20}, {0x31, 0x35}, {0x53, 0x53}, {0x61, 0x61},
                              {0x65, 0x65}, {0x6C, 0x6C}, {0x76, 0x76}};
    static const std::vector<Row> rows = {
        {&Font10, 1, 10, 10, 9, text},
        {&Font15a, 1, 15, 15, 12, text},
        {&Font15b, 1, 15, 15, 12, {{0x09, 0x09}, {0x0D, 0x0D}, {0x20, 0x7E}, {0xA0, 0xFF}}},
        {&Font16a, 1, 16, 16, 13, text},
        {&Font16c, 1, 16, 16, 13, {{0x20, 0x81}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {&Font16d, 1, 16, 16, 13, {{0x20, 0x7E}, {0xA0, 0xFF}}},
        {&Font16e, 1, 16, 16, 12, {{0x20, 0x7F}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {&Font20a, 1, 20, 20, 16, {{0x09, 0x09}, {0x20, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {&Font20b, 1, 20, 20, 16, text},
        {&Font22a, 1, 22, 22, 17, text},
        {&Font22b, 1, 22, 22, 17, text},
        {&Font24a, 1, 24, 24, 19, text},
        {&Font24b, 1, 24, 24, 19, ranges24b},
        {&Font27a, 1, 27, 27, 24, {{0x20, 0x7A}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {&Font27b, 1, 27, 27, 25, {{0x20, 0x26}, {0x28, 0x7E}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {&Font28, 1, 28, 28, 22, text},
        {&Font30x, 1, 30, 30, 23, {{0x20, 0x7E}, {0xA0, 0xBF}, {0xF2, 0xF2}}},
        {&Font36a, 1, 36, 36, 28, text},
        {&Font36b, 1, 36, 36, 25, text},
        {&Font44a, 1, 44, 44, 41, text},
        {&Font44b, 1, 44, 44, 43, {{0x20, 0x26}, {0x28, 0x7A}, {0xB0, 0xB5}, {0xF2, 0xF2}}},
        {&Font45a, 1, 45, 45, 35, text},
        {&Font45b, 1, 45, 45, 35, text},
        {&Font160, 1, 160, 160, 126, ranges160},
        {&FontMono6x8, 2, 8, 8, 7, {{0x20, 0x7E}}},
        {&FontMono6x9, 2, 8, 9, 7, {{0x20, 0x7E}}},
    };
    return rows;
}

bool InRanges(const Row& r, int c) {
    for (const auto& [a, b] : r.ranges)
        if (a <= c && c <= b) return true;
    return false;
}

// Every code 0-255 is in the font exactly when the table lists it (the monospaced fonts' composed codes
// are their own data); glyphs fit their cell and the advance is never negative.
TEST(FontRecords, MatchTheTable) {
    GUI_DRAWCTX saved = GUI_Context;
    for (const Row& r : Table()) {
        SCOPED_TRACE(r.ySize * 1000 + r.baseline);
        uint16_t flags = 0;
        r.font->Info(&flags);
        EXPECT_EQ(flags, r.flags);
        EXPECT_EQ(r.font->YSize, r.ySize);
        EXPECT_EQ(r.font->YDist, r.yDist);
        EXPECT_EQ(r.font->Baseline, r.baseline);
        EXPECT_EQ(r.font->XMag, 1);
        EXPECT_EQ(r.font->pLineOps != nullptr, r.font == &Font30x);
        EXPECT_EQ(r.font->GlyphInfo != nullptr, r.font == &Font30x);
        GUI_Context.pFont = r.font;
        for (int c = 0; c < 0x100; ++c) {
            if (flags == 2 && c >= 0x90) continue;
            EXPECT_EQ(r.font->HasChar(r.font, static_cast<uint16_t>(c)), InRanges(r, c) ? 1 : 0) << c;
            EXPECT_TRUE(InRanges(r, c) ||
                        r.font->Advance(static_cast<uint16_t>(c), nullptr) == (flags == 2 ? 6 : 0))
                << c;
        }
        GUI_CHARINFO_EXT g{};
        if (r.font == &Font30x)
            for (int c = 0x21; c <= 0x7E; ++c) {
                ASSERT_EQ(PropExtFont_GlyphInfo(static_cast<uint16_t>(c), &g), 0);
                EXPECT_LE(g.YPos + g.YSize, r.ySize) << c;
            }
    }
    GUI_Context = saved;
    // The monospaced font's composed codes: the accented letters are there, the C1 controls not.
    EXPECT_EQ(FontMono6x8.HasChar(&FontMono6x8, 0x90), 0);
    EXPECT_EQ(FontMono6x8.HasChar(&FontMono6x8, 0xC9), 1);
    EXPECT_EQ(FontMono6x8.HasChar(&FontMono6x8, 0xFF), 1);
    EXPECT_EQ(FontMono6x8.HasChar(&FontMono6x8, 0x100), 0);
}

}  // namespace
