#include "tests/GUI/bmp_corpus_fixture.h"

#include <cstdlib>

namespace guitest {

namespace {

constexpr int kW = 13, kH = 7;

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t Get(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | b[at + i];
    return v;
}

int Stride(int bpp, int w) {
    return ((bpp * w + 31) / 32) * 4;
}

void Palette(std::vector<uint8_t>& b, int n) {
    for (int i = 0; i < n; ++i)
        b.insert(b.end(), {uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 11), 0});
}

// Uncompressed rows of arbitrary bytes (8-bit values beyond the palette show black), after the palette
// or the masks.
std::vector<uint8_t> Rows(int bpp, uint32_t compression, int colors, const uint32_t* masks = nullptr) {
    std::vector<uint8_t> b = BmpHeader(kW, kH, bpp, compression, bpp == 8 ? colors : 0);
    Palette(b, colors);
    for (int i = 0; masks != nullptr && i < 4; ++i)
        b.insert(b.end(), {uint8_t(masks[i]), uint8_t(masks[i] >> 8), uint8_t(masks[i] >> 16),
                           uint8_t(masks[i] >> 24)});
    for (int i = 0; i < kH * Stride(bpp, kW); ++i)
        b.push_back(static_cast<uint8_t>(i * 7 + i * i * 3));
    return b;
}

// Runs, an absolute run (odd, with its pad), a delta across a row, line ends and the bitmap end.
std::vector<uint8_t> Rle(bool rle4) {
    std::vector<uint8_t> b = BmpHeader(kW, kH, rle4 ? 4 : 8, rle4 ? 2 : 1, 16);
    Palette(b, 16);
    const std::vector<uint8_t> data = {
        5, 0x21, 0,    3,    0x13, 0x45, 0x6F, 0,    2, 0x07,
        0, 0,                                               // row 0: run, absolute 3, run past the edge
        0, 2,    3,    1,                                   // delta: 3 right, 1 up (row 1 left)
        4, 0x33, 0,    0,                                   // row 2: run, end of line
        0, 5,    0x12, 0x34, 0x5A, 0,    3,    0xEE, 0, 0,  // row 3: absolute 5, run
        2, 0x9C, 0,    1,                                   // row 4: run, end of bitmap
    };
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

}  // namespace

std::vector<uint8_t> BmpHeader(int w, int h, int bpp, uint32_t compression, uint32_t used) {
    std::vector<uint8_t> b(54, 0);
    Put(b, 0, 0x4D42, 2);
    Put(b, 18, static_cast<uint32_t>(w), 4);
    Put(b, 22, static_cast<uint32_t>(h), 4);
    Put(b, 28, bpp, 2);
    Put(b, 30, compression, 4);
    Put(b, 46, used, 4);
    return b;
}

std::vector<uint8_t> Bmp24(int w, int h, uint32_t (*pixel)(int x, int y)) {
    std::vector<uint8_t> b = BmpHeader(w, h, 24, 0, 0);
    const int rows = std::abs(h), stride = Stride(24, w);
    for (int r = 0; r < rows; ++r) {
        const int y = h > 0 ? rows - 1 - r : r;
        std::vector<uint8_t> line(stride, 0);
        for (int x = 0; x < w; ++x) {
            const uint32_t c = pixel(x, y);
            line[3 * x] = (c >> 16) & 0xFF;
            line[3 * x + 1] = (c >> 8) & 0xFF;
            line[3 * x + 2] = c & 0xFF;
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

std::vector<BmpCase> BmpCorpus() {
    const uint32_t m565[4] = {0xF800, 0x07E0, 0x001F, 0};
    const uint32_t m32[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    const uint32_t odd[4] = {0xFFFFFFFF, 0, 0x0F0F0000, 0};  // full word, empty, with a gap
    return {
        {"1bpp", Rows(1, 0, 2)},
        {"4bpp", Rows(4, 0, 16)},
        {"8bpp", Rows(8, 0, 200)},
        {"rle8", Rle(false)},
        {"rle4", Rle(true)},
        {"555", Rows(16, 0, 0)},
        {"fields16", Rows(16, 3, 0, m565)},
        {"fields32", Rows(32, 3, 0, m32)},
        {"fields-odd", Rows(32, 3, 0, odd)},
        {"24", Rows(24, 0, 0)},
        {"32", Rows(32, 0, 0)},
        {"24-topdown", Bmp24(kW, -kH, [](int x, int y) { return (x * 7 + y * 13u) * 0x010203u; })},
    };
}

bool DecodeBmp(const std::vector<uint8_t>& f, int* w, int* h, std::vector<uint32_t>* out) {
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') return false;
    const int width = static_cast<int32_t>(Get(f, 18, 4)), height = static_cast<int32_t>(Get(f, 22, 4));
    const int bpp = static_cast<int>(Get(f, 28, 2)), comp = static_cast<int>(Get(f, 30, 4));
    const int rows = std::abs(height);
    int nPal = bpp <= 8 ? 1 << bpp : 0;
    if (bpp <= 8 && Get(f, 46, 4) != 0) nPal = static_cast<int>(Get(f, 46, 4));
    std::vector<uint32_t> pal(256, 0);
    for (int i = 0; i < nPal; ++i)
        pal[i] = f[54 + 4 * i + 2] | f[54 + 4 * i + 1] << 8 | f[54 + 4 * i] << 16;
    size_t data = 54 + 4 * nPal + (comp == 3 ? 16 : 0);
    *w = width;
    *h = rows;
    out->assign(static_cast<size_t>(width) * rows, pal[0]);
    auto set = [&](int x, int fileRow, uint32_t c) {
        const int y = height > 0 ? rows - 1 - fileRow : fileRow;
        if (x >= 0 && x < width && y >= 0 && y < rows) (*out)[static_cast<size_t>(y) * width + x] = c;
    };
    if (comp == 1 || comp == 2) {
        // What the file leaves untouched keeps the black screen; line ends, the bitmap end and the
        // rectangle a delta spans (both corners included) take palette colour 0.
        out->assign(static_cast<size_t>(width) * rows, 0);
        int x = 0, r = 0;
        for (size_t p = data; p + 1 < f.size();) {
            const int n = f[p], v = f[p + 1];
            p += 2;
            if (n > 0) {
                for (int i = 0; i < n; ++i)
                    set(x + i, r, pal[comp == 1 ? v : (i % 2 ? v & 15 : v >> 4)]);
                x += n;
            } else if (v == 0) {
                for (; x < width; ++x)
                    set(x, r, pal[0]);
                x = 0;
                ++r;
            } else if (v == 1) {
                for (; r < rows; ++r, x = 0)
                    for (; x < width; ++x)
                        set(x, r, pal[0]);
                break;
            } else if (v == 2) {
                for (int dy = 0; dy <= f[p + 1]; ++dy)
                    for (int dx = 0; dx <= f[p]; ++dx)
                        set(x + dx, r + dy, pal[0]);
                x += f[p];
                r += f[p + 1];
                p += 2;
            } else {
                const int bytes = comp == 1 ? v : (v + 1) / 2;
                for (int i = 0; i < v; ++i)
                    set(x + i, r,
                        pal[comp == 1 ? f[p + i] : (i % 2 ? f[p + i / 2] & 15 : f[p + i / 2] >> 4)]);
                x += v;
                p += bytes + bytes % 2;
            }
        }
        return true;
    }
    auto scale = [](uint32_t v, uint32_t mask) -> uint32_t {
        if (mask == 0) return 0;
        int s = 0, n = 0;
        while (!(mask >> s & 1))
            ++s;
        while (s + n < 32 && (mask >> (s + n) & 1))
            ++n;
        const uint64_t c = static_cast<uint64_t>((v & mask) >> s) * 255 / ((1ull << n) - 1);
        return c > 255 ? 255 : static_cast<uint32_t>(c);
    };
    const int stride = Stride(bpp, width);
    for (int r = 0; r < rows; ++r)
        for (int x = 0; x < width; ++x) {
            const size_t at = data + static_cast<size_t>(r) * stride;
            uint32_t c;
            if (bpp <= 8) {
                const int v = f[at + x * bpp / 8] >> (8 - bpp - (x * bpp) % 8) & ((1 << bpp) - 1);
                c = pal[v];
            } else if (comp == 3) {
                const uint32_t v = Get(f, at + x * bpp / 8, bpp / 8);
                c = scale(v, Get(f, 54, 4)) | scale(v, Get(f, 58, 4)) << 8 | scale(v, Get(f, 62, 4)) << 16;
            } else if (bpp == 16) {
                // 5-5-5 components go through the 5-to-8 table of the display's colour conversions.
                static constexpr uint8_t k58[32] = {0,   8,   16,  25,  33,  41,  49,  58,  66,  74,  82,
                                                    91,  99,  107, 115, 123, 132, 140, 148, 156, 165, 173,
                                                    181, 189, 197, 206, 214, 222, 230, 239, 247, 255};
                const uint32_t v = Get(f, at + 2 * x, 2);
                c = k58[v >> 10 & 31] | k58[v >> 5 & 31] << 8 | static_cast<uint32_t>(k58[v & 31]) << 16;
            } else {
                const size_t p = at + x * bpp / 8;
                c = f[p + 2] | f[p + 1] << 8 | f[p] << 16;
            }
            set(x, r, c);
        }
    return true;
}

}  // namespace guitest
