// The display layer: clipping, bitmap cuts, colour indices, antialiasing, palette and start-up, seen
// through the framebuffer file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "platform/host/root.h"
#include "tests/GUI/screen_fixture.h"

namespace {

using namespace guitest;

using Lcd = ScreenTest;

// A fill of the whole range fills exactly the screen; every drawing call across all four edges of the clip
// leaves the outside as it was.
TEST_F(Lcd, DrawingAcrossEveryEdgeStaysInside) {
    GUI_SetForeColor(0xFFFFFF);
    LCD_FillBox(0, 0, 4095, 4095);
    for (uint16_t p : Screen())
        ASSERT_EQ(p, 0xFFFF);
    static const uint8_t bits[8 * 40] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    static const uint32_t table[2] = {0xAAAA, 0x5555};
    static uint8_t bytes[64 * 64];
    for (uint8_t& b : bytes)
        b = 1;
    const std::function<void()> draws[] = {
        [] {
            for (int i = -5; i < 70; ++i)
                LCD_Pixel(i, i);
        },
        [] { LCD_HLine(-10, 20, 900); },
        [] { LCD_VLine(30, -10, 900); },
        [] { LCD_FillBox(-100, -100, 100, 100); },
        [] { LCD_Blit(0, 0, 64, 64, 1, 1, 8, 64, bytes, table); },
        [] { LCD_Blit(0, 0, 40, 8, 1, 1, 1, 5, bits, table); },
        [] { LCD_Blit(-3, -3, 40, 8, 3, 9, 1, 5, bits, table); },
        [] { LCD_PixelAA(10, 9, 8); },
    };
    const GUI_BOX clip{10, 10, 49, 49};
    for (const auto& draw : draws) {
        FreshScreen();
        GUI_Context.clipRect = clip;
        draw();
        const auto s = Screen();
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 800; ++x)
                ASSERT_TRUE(s[static_cast<size_t>(y) * 800 + x] == 0 ||
                            (x >= clip.x0 && x <= clip.x1 && y >= clip.y0 && y <= clip.y1))
                    << x << "," << y;
    }
}

// 13 pixels cut on the left: the device starts at byte 1 with offset 5, so pixel x of the screen shows
// bit x of the source.
TEST_F(Lcd, OneBitBlitCutOnTheLeftKeepsItsBits) {
    const uint8_t bits[4] = {0x00, 0b00000100, 0b10110000, 0xFF};
    const uint32_t table[2] = {0x1111, 0x2222};
    GUI_Context.clipRect = {113, 0, 799, 479};
    LCD_Blit(100, 7, 32, 1, 1, 1, 1, 4, bits, table);
    EXPECT_EQ(PixelAt(112, 7), 0);
    for (int i = 13; i < 32; ++i) {
        const bool set = bits[i / 8] & (0x80 >> (i % 8));
        EXPECT_EQ(PixelAt(100 + i, 7), set ? 0x2222 : 0x1111) << i;
    }
}

TEST_F(Lcd, ReverseModeSwapsTheIndicesOnceAndAntialiasingEndsAtThem) {
    GUI_SetForeColor(0x0000FF);
    GUI_SetBackColor(0x00FF00);
    const uint32_t fg = LCD_GetForeIndex(), bg = LCD_GetBackIndex();
    const struct {
        uint8_t mode;
        uint32_t fore, back;
    } steps[] = {{4, bg, fg}, {4, bg, fg}, {5, bg, fg}, {0, fg, bg}};
    for (const auto& s : steps) {
        GUI_SetPaintMode(s.mode);
        EXPECT_EQ(LCD_GetForeIndex(), s.fore) << int{s.mode};
        EXPECT_EQ(LCD_GetBackIndex(), s.back) << int{s.mode};
    }
    GUI_SetPaintMode(4);
    GUI_SetForeColor(0xFFFFFF);  // the new foreground goes where the foreground lives while reversed
    GUI_SetPaintMode(0);
    EXPECT_EQ(LCD_GetForeIndex(), 0xFFFFu);
    // Antialiased pixels end at the two indices.
    GUI_SetForeColor(0x0000FF);
    GUI_SetBackColor(0x00FF00);
    LCD_PixelAA(1, 1, 15);
    LCD_PixelAA(2, 1, 0);
    LCD_PixelAA(3, 1, 8);
    EXPECT_EQ(PixelAt(1, 1), 0xF800);
    EXPECT_EQ(PixelAt(2, 1), 0x07E0);
    EXPECT_NE(PixelAt(3, 1), 0xF800);
    EXPECT_NE(PixelAt(3, 1), 0x07E0);
}

TEST(LcdHelpers, PaletteAndIndexWidths) {
    static const uint32_t colors[257] = {0x0000FF};
    const LCD_PALETTE big{257, 0, colors}, full{256, 0, colors}, none{2, 0, nullptr};
    EXPECT_EQ(LCD_GetPaletteIndexTable(&big), nullptr);
    EXPECT_EQ(LCD_GetPaletteIndexTable(&none), nullptr);
    EXPECT_NE(LCD_GetPaletteIndexTable(&full), nullptr);
}

// GUI_Start in a process of its own (the framebuffer is opened once per process), on a fresh root, a
// framebuffer file cut short and none at all; its output goes to standard error, where the death test
// looks. Drawing afterwards must not touch memory outside the file.
TEST(LcdStart, FramebufferFileAtStart) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    UseScreenRoot();
    const struct {
        int keepBytes;  // -1: as made, 0: removed, else cut to that length
        const char* output;
    } cases[] = {
        {-1,
         "screensize=1152000\n/dev/fb0 opened.\nZorvek memory mapped at address 0x[0-9a-f]+.\nresult=0 "
         "black=1 pixel=2016\n"},
        {100, "/dev/fb0 opened.\nZorvek memory mapped .*result=0 black=1 pixel=2016\n"},
        {0, "Can't open /dev/fb0.\nresult=1 black=0 pixel=0\n"},
    };
    for (const auto& [keepBytes, output] : cases) {
        EXPECT_EXIT(
            {
                dup2(2, 1);
                const std::string fb = plat::MapPath("/dev/fb0");
                if (keepBytes == 0) unlink(fb.c_str());
                if (keepBytes > 0) (void)truncate(fb.c_str(), keepBytes);
                const int result = GUI_Start();
                const auto bytes = FileBytes();
                bool black = bytes.size() == 1152000;
                for (uint8_t b : bytes)
                    black = black && b == 0;
                GUI_SetForeColor(0x00FF00);
                GUI_FillDisc(100, 100, 50);
                GUI_ClearWindow();
                GUI_Line(0, 0, 799, 479);
                LCD_FillBox(0, 0, 4095, 4095);
                std::fprintf(stderr, "result=%d black=%d pixel=%u\n", result, black ? 1 : 0,
                             LCD_ReadPixelIndex(0, 0));
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), output)
            << keepBytes;
    }
}

}  // namespace
