#pragma once
// BMP files made for the tests and the fuzz seeds, and an independent reference decoder: each file is
// decoded here to colours (0x00BBGGRR, top row first) without the library.
#include <cstdint>
#include <string>
#include <vector>

namespace guitest {

struct BmpCase {
    std::string name;
    std::vector<uint8_t> file;
};

// 13x7 images: 1, 4 and 8 bpp, RLE8 and RLE4 with every escape, 5-5-5, bit fields (16 and 32), 24, 32,
// and a top-down 24-bit one.
std::vector<BmpCase> BmpCorpus();
// A file's 54 header bytes: type, width, height, depth, compression and colours used set, the rest 0.
std::vector<uint8_t> BmpHeader(int w, int h, int bpp, uint32_t compression, uint32_t used);
// A 24-bit file of w x h pixels whose colour is pixel(x, y) (rows bottom-up unless height < 0).
std::vector<uint8_t> Bmp24(int w, int h, uint32_t (*pixel)(int x, int y));
// The reference decoding; false for a file it does not know.
bool DecodeBmp(const std::vector<uint8_t>& f, int* w, int* h, std::vector<uint32_t>* colors);

}  // namespace guitest
