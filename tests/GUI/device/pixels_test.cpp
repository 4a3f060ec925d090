// Pixel buffers: packing and expanding at every depth, reading the framebuffer back, and alpha blending
// of a line over it.
#include <gtest/gtest.h>

#include "GUI/device/fb_driver.h"
#include "GUI/device/gui_pixels.h"
#include "tests/GUI/screen_fixture.h"

namespace {

TEST(PixelPack, NineOneBitIndicesMakeTwoBytes) {
    uint32_t b[9] = {1, 0, 0, 0, 0, 0, 0, 1, 1};
    ASSERT_EQ(GUI_PackIndices(b, 9, 1), 2);
    const auto* bytes = reinterpret_cast<const uint8_t*>(b);
    EXPECT_EQ(bytes[0], 0x81);
    EXPECT_EQ(bytes[1], 0x80);
    EXPECT_EQ(GUI_PackIndices(b, 9, 17), 0);
}

// Packing then expanding gives the indices back, cut to the depth.
TEST(PixelPack, RoundTripAtEveryDepth) {
    const struct {
        int bpp, bytes;
    } cases[] = {{1, 3}, {2, 5}, {3, 17}, {4, 9}, {5, 17}, {8, 17}, {9, 34}, {16, 34}};
    for (const auto& c : cases) {
        uint32_t b[17];
        for (uint32_t i = 0; i < 17; ++i)
            b[i] = (i + 1) * 0x9E3779B1u;  // no index 0: the first is packed like the others
        EXPECT_EQ(GUI_PackIndices(b, 17, c.bpp), c.bytes) << c.bpp;
        ASSERT_EQ(GUI_ExpandIndices(b, 17, c.bpp), 1);
        for (uint32_t i = 0; i < 17; ++i)
            EXPECT_EQ(b[i], ((i + 1) * 0x9E3779B1u) & ((1u << c.bpp) - 1)) << c.bpp << " " << i;
    }
}

TEST(PixelReadBack, BoxesAndBlendedLines) {
    guitest::FreshScreen();
    GUI_SetForeColor(0x0000FF);
    LCD_FillBox(10, 10, 12, 11);
    uint32_t box[12] = {};
    GUI_ReadBoxIndices(9, 10, 12, 12, box, nullptr);
    const uint32_t want[12] = {0, 0xF800, 0xF800, 0xF800, 0, 0xF800, 0xF800, 0xF800, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(box[i], want[i]) << i;
    // Opaque, half, invisible over red; an invisible-only line writes nothing.
    const uint32_t line[3] = {0x00FF0000, 0x80FF0000, 0xFF00FF00};
    int written = 0;
    const uint32_t* out = GUI_BlendAlphaLine(10, 10, line, 3, nullptr, &written);
    EXPECT_EQ(out[0], 0xFF0000u);
    EXPECT_EQ(out[1], LCD_BlendColors(0xFF0000, 0x0000FF, 127));
    EXPECT_EQ(out[2], 0x0000FFu);
    EXPECT_EQ(written, 1);
    const uint32_t hidden[2] = {0xFF000000, 0xFF123456};
    GUI_BlendAlphaLine(10, 10, hidden, 2, nullptr, &written);
    EXPECT_EQ(written, 0);
}

}  // namespace
