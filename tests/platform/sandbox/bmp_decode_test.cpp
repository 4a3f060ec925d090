// The BMP reader of the sandbox's cjpeg: row order by the height's sign, padded rows, and refusals.
#include "platform/sandbox/tools/bmp_decode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void Put(std::string& d, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        d[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// A 2 x 2 picture, rows padded to 8 bytes: stored rows {blue, green} then {red, white}.
std::string TwoByTwo(int32_t height) {
    std::string d(54 + 16, '\0');
    d[0] = 'B';
    d[1] = 'M';
    Put(d, 2, static_cast<uint32_t>(d.size()), 4);
    Put(d, 10, 54, 4);
    Put(d, 14, 40, 4);
    Put(d, 18, 2, 4);
    Put(d, 22, static_cast<uint32_t>(height), 4);
    Put(d, 26, 1, 2);
    Put(d, 28, 24, 2);
    const unsigned char rows[16] = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    d.replace(54, 16, reinterpret_cast<const char*>(rows), 16);
    return d;
}

TEST(BmpDecodeTest, RowsComeTopFirstWhateverTheStoredOrder) {
    plat::sandbox::RgbPicture pic;
    std::string why;
    ASSERT_TRUE(plat::sandbox::DecodeBmp24(TwoByTwo(2), &pic, &why)) << why;
    // Bottom-up: the first stored row is the bottom one.
    const std::vector<uint8_t> bottomUp = {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0};
    EXPECT_EQ(pic.rgb, bottomUp);
    ASSERT_TRUE(plat::sandbox::DecodeBmp24(TwoByTwo(-2), &pic, &why)) << why;
    const std::vector<uint8_t> topDown = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    EXPECT_EQ(pic.rgb, topDown);
}

TEST(BmpDecodeTest, CutShortOtherDepthsAndHugeSidesAreRefused) {
    plat::sandbox::RgbPicture pic;
    std::string why;
    std::string d = TwoByTwo(2);
    EXPECT_FALSE(plat::sandbox::DecodeBmp24(d.substr(0, d.size() - 1), &pic, &why));
    EXPECT_EQ(why, "BMP pixel data cut short");
    d = TwoByTwo(2);
    Put(d, 28, 32, 2);
    EXPECT_FALSE(plat::sandbox::DecodeBmp24(d, &pic, &why));
    d = TwoByTwo(2);
    Put(d, 18, 9000, 4);
    EXPECT_FALSE(plat::sandbox::DecodeBmp24(d, &pic, &why));
    d = TwoByTwo(static_cast<int32_t>(0x80000000u));
    EXPECT_FALSE(plat::sandbox::DecodeBmp24(d, &pic, &why));
    EXPECT_FALSE(plat::sandbox::DecodeBmp24("BM", &pic, &why));
}

}  // namespace
