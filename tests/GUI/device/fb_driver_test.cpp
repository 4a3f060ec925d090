// The framebuffer driver seen through the framebuffer file's bytes, and the RGB565 conversion.
#include "GUI/device/fb_driver.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "GUI/device/fb_png.h"
#include "GUI/device/gui_devfunc.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/support/png_read.h"

namespace {

using namespace guitest;

class FbDriver : public ScreenTest {
  protected:
    GUI_DEV* dev() const { return GUI_DEV_FindDriver(0); }
};

// The byte positions in which two file images differ.
std::vector<size_t> Changed(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    std::vector<size_t> out;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i] != after[i]) out.push_back(i);
    return out;
}

TEST(Rgb565, ConversionVectors) {
    const struct {
        uint32_t color, index;
    } toIndex[] = {
        {0x00FFFFFF, 0xFFFF}, {0x000000FF, 0xF800}, {37, 0x2800}, {36, 0x2000}, {0x00FF0000, 0x001F}};
    for (const auto& [color, index] : toIndex)
        EXPECT_EQ(Color2Index_565(color), index) << std::hex << color;
    EXPECT_EQ(Index2Color_565(0xF800), 0x000000FFu);
    EXPECT_EQ(Index2Color_565(0xFFFF), 0x00FFFFFFu);
}

// Every index survives index -> colour -> PNG -> colour -> index.
TEST(Rgb565, PngRoundTripIsExactForEveryIndex) {
    std::vector<uint16_t> all(65536);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<uint16_t>(i);
    const std::string path = testing::TempDir() + "vrn-all565.png";
    ASSERT_EQ(FbWritePng(all.data(), 256, {0, 0, 255, 255}, path), 0);
    testsupport::RgbImage image;
    ASSERT_TRUE(testsupport::ReadRgbPng(path, &image));
    ASSERT_EQ(image.width * image.height, 65536);
    for (size_t i = 0; i < all.size(); ++i) {
        const uint8_t* p = &image.rgb[3 * i];
        ASSERT_EQ(Color2Index_565(p[0] | p[1] << 8 | p[2] << 16), i);
    }
    std::filesystem::remove(path);
}

// A normal fill writes exactly its pixels and a second one changes nothing; an XOR fill inverts them
// and a second one restores them.
TEST_F(FbDriver, FillRectWritesExactlyItsPixels) {
    const struct {
        int x0, y0, x1, y1;
        uint8_t mode;
        size_t firstByte, lastByte;  // the bytes the first fill changes
    } cases[] = {
        {1, 0, 1, 0, 0, 2, 3},
        {0, 0, 0, 0, 0, 0, 1},
        {2, 3, 18, 3, 0, 2 * (800 * 3 + 2), 2 * (800 * 3 + 18) + 1},  // 17 pixels from an even x
        {1, 4, 17, 4, LCD_DRAWMODE_XOR, 2 * (800 * 4 + 1), 2 * (800 * 4 + 17) + 1},
    };
    GUI_Context.colorIndex = 0xABCD;
    for (const auto& c : cases) {
        GUI_Context.drawMode = c.mode;
        const auto before = FileBytes();
        dev()->api->FillRect(dev(), c.x0, c.y0, c.x1, c.y1);
        const auto after = FileBytes();
        std::vector<size_t> want;
        for (size_t b = c.firstByte; b <= c.lastByte; ++b)
            want.push_back(b);
        EXPECT_EQ(Changed(before, after), want) << c.x0 << "," << c.y0;
        const uint16_t pixel = c.mode ? 0xFFFF : 0xABCD;
        for (size_t b = c.firstByte; b <= c.lastByte; b += 2)
            EXPECT_EQ(after[b] | after[b + 1] << 8, pixel);
        dev()->api->FillRect(dev(), c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(FileBytes(), c.mode ? before : after) << c.x0 << "," << c.y0;
    }
}

// Buffer 1 would end past the 1,152,000 mapped bytes: refused, and drawing stays in buffer 0.
TEST_F(FbDriver, BufferCopyOutsideTheMapIsRefused) {
    auto* copy = reinterpret_cast<gui::DevFuncPair*>(gui::GetDevFunc(dev(), 33));
    ASSERT_NE(copy, nullptr);
    GUI_Context.colorIndex = 0x5555;
    dev()->api->FillRect(dev(), 0, 0, 799, 479);
    const auto before = FileBytes();
    for (auto [src, dst] : {std::pair{0, 1}, {1, 0}, {0, 0}, {-1, 0}})
        copy(dev(), src, dst);
    EXPECT_EQ(FileBytes(), before);
    GUI_Context.colorIndex = 0x0F0F;
    dev()->api->FillRect(dev(), 0, 0, 0, 0);
    EXPECT_EQ(Screen()[0], 0x0F0F);
}

TEST_F(FbDriver, LineWriters) {
    const uint32_t t2[2] = {0x1111, 0x2222};
    const uint32_t t16[16] = {0x1111, 0x2222, 0x3333, 0x4444};
    const uint8_t ones[2] = {0x10, 0x80};  // 1 bpp: bit 4 of byte 0 is the pixel at offset 3
    const uint8_t nibbles[2] = {0x10, 0x02};
    const uint8_t bytes[3] = {1, 0, 2};
    const auto* words = reinterpret_cast<const uint8_t*>(t16);
    const struct {
        int bpp;
        const uint8_t* data;
        int bitOffset, xsize;
        uint8_t mode;
        const uint32_t* table;
        std::vector<uint16_t> row;  // pixels 10..14 of the row afterwards (0x7777 untouched)
    } cases[] = {
        {1, ones, 3, 5, 0, t2, {0x7777, 0x7777, 0x7777, 0x2222, 0x1111}},
        {1, ones, 3, 5, 0, nullptr, {0x7777, 0x7777, 0x7777, 0x7777, 0x7777}},
        {1, ones, 3, 5, LCD_DRAWMODE_TRANS, t2, {0x7777, 0x7777, 0x7777, 0x2222, 0x7777}},
        {1, ones, 3, 5, LCD_DRAWMODE_XOR, t2, {0x7777, 0x7777, 0x7777, 0x8888, 0x7777}},
        {4, nibbles, 0, 4, LCD_DRAWMODE_TRANS, t16, {0x2222, 0x7777, 0x7777, 0x3333, 0x7777}},
        {4, nibbles, 0, 4, 0, nullptr, {1, 0, 0, 2, 0x7777}},
        {8, bytes, 0, 3, 0, nullptr, {0x7777, 0x7777, 0x7777, 0x7777, 0x7777}},
        {8, bytes, 0, 3, 0, t16, {0x2222, 0x1111, 0x3333, 0x7777, 0x7777}},
        {16, words, 0, 2, LCD_DRAWMODE_XOR, nullptr, {0x1111, 0, 0x7777, 0x7777, 0x7777}},
    };
    for (const auto& c : cases) {
        GUI_Context.drawMode = 0;
        GUI_Context.colorIndex = 0x7777;
        dev()->api->FillRect(dev(), 0, 5, 30, 5);
        GUI_Context.drawMode = c.mode;
        dev()->api->DrawBitmap(dev(), 10, 5, c.xsize, 1, c.bpp, 4, c.data, c.bitOffset, c.table);
        const auto screen = Screen();
        const std::vector<uint16_t> row(screen.begin() + 5 * 800 + 10, screen.begin() + 5 * 800 + 15);
        EXPECT_EQ(row, c.row) << c.bpp << " bpp, mode " << int{c.mode};
    }
}

}  // namespace
