#include "tests/GUI/bmp_corpus_fixture.h"

#include <cstdlib>

namespace guitest {

namespace {

constexpr int kW = 13, kH = 7;

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
uint32_t Get(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | b[at + i];
    return v;
}

std::vector<uint8_t> Header(int w, int h, int bpp, uint32_t compression, uint32_t used) {
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 18, static_cast<uint32_t>(w));
    Put32(b, 22, static_cast<uint32_t>(h));
    Put16(b, 28, bpp);
    Put32(b, 30, compression);
    Put32(b, 46, used);
    return b;
}

int Stride(int bpp, int w) {
    return ((bpp * w + 31) / 32) * 4;
}

uint32_t Pseudo(int x, int y) {
    return static_cast<uint32_t>((x * 7 + y * 13 + x * y * 3) & 0xFF);
}

void Palette(std::vector<uint8_t>& b, int n) {
    for (int i = 0; i < n; ++i) {
        b.push_back(static_cast<uint8_t>(i * 37));  // blue
        b.push_back(static_cast<uint8_t>(255 - i));
        b.push_back(static_cast<uint8_t>(i * 11));
        b.push_back(0);
    }
}

std::vector<uint8_t> Indexed(int bpp) {
    const int n = 1 << bpp;
    std::vector<uint8_t> b = Header(kW, kH, bpp, 0, bpp == 8 ? 200 : 0);
    Palette(b, bpp == 8 ? 200 : n);
    const int stride = Stride(bpp, kW);
    for (int row = 0; row < kH; ++row) {
        std::vector<uint8_t> line(stride, 0);
        for (int x = 0; x < kW; ++x) {
            const uint32_t v = Pseudo(x, row) % (bpp == 8 ? 200 : n);
            line[x * bpp / 8] |= static_cast<uint8_t>(v << (8 - bpp - (x * bpp) % 8));
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

std::vector<uint8_t> Direct(int bpp, uint32_t compression, const uint32_t* masks) {
    std::vector<uint8_t> b = Header(kW, kH, bpp, compression, 0);
    if (masks != nullptr) {
        b.resize(70, 0);
        for (int i = 0; i < 3; ++i)
            Put32(b, 54 + 4 * i, masks[i]);
    }
    const int stride = Stride(bpp, kW);
    for (int row = 0; row < kH; ++row) {
        std::vector<uint8_t> line(stride, 0);
        for (int x = 0; x < kW; ++x)
            for (int k = 0; k < bpp / 8; ++k)
                line[x * bpp / 8 + k] = static_cast<uint8_t>(Pseudo(x + k * 5, row) * (k + 1));
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

// Runs, an absolute run (odd, with its pad), a delta across a row, line ends and the bitmap end.
std::vector<uint8_t> Rle(bool rle4) {
    std::vector<uint8_t> b = Header(kW, kH, rle4 ? 4 : 8, rle4 ? 2 : 1, 16);
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

std::vector<uint8_t> Bmp24(int w, int h, uint32_t (*pixel)(int x, int y)) {
    std::vector<uint8_t> b = Header(w, h, 24, 0, 0);
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
    const uint32_t m565[3] = {0xF800, 0x07E0, 0x001F};
    const uint32_t m32[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    const uint32_t odd[3] = {0xFFFFFFFF, 0, 0x0F0F0000};  // full word, empty, with a gap
    std::vector<BmpCase> c = {
        {"1bpp", Indexed(1)},
        {"4bpp", Indexed(4)},
        {"8bpp", Indexed(8)},
        {"rle8", Rle(false)},
        {"rle4", Rle(true)},
        {"555", Direct(16, 0, nullptr)},
        {"fields16", Direct(16, 3, m565)},
        {"fields32", Direct(32, 3, m32)},
        {"fields-odd", Direct(32, 3, odd)},
        {"24", Direct(24, 0, nullptr)},
        {"32", Direct(32, 0, nullptr)},
        {"24-topdown", Bmp24(kW, -kH, [](int x, int y) { return Pseudo(x, y) * 0x010203u; })},
    };
    return c;
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
        int x = 0, r = 0;
        for (size_t p = data; p + 1 < f.size();) {
            const int n = f[p], v = f[p + 1];
            p += 2;
            if (n > 0) {
                for (int i = 0; i < n; ++i)
                    set(x + i, r, pal[comp == 1 ? v : (i % 2 ? v & 15 : v >> 4)]);
                x += n;
            } else if (v == 0) {
                x = 0;
                ++r;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
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
                const uint32_t v = Get(f, at + 2 * x, 2);
                c = scale(v, 0x7C00) | scale(v, 0x03E0) << 8 | scale(v, 0x001F) << 16;
            } else {
                const size_t p = at + x * bpp / 8;
                c = f[p + 2] | f[p + 1] << 8 | f[p] << 16;
            }
            set(x, r, c);
        }
    return true;
}

}  // namespace guitest
