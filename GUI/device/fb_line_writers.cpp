// The framebuffer driver's bitmap line writers: one row of 1, 2, 4, 8 or 16 bits per pixel, written
// straight into the row (one address multiplication per row). Draw mode: bit 0 XOR, bit 1 transparent.
#include <cstring>

#include "GUI/device/fb_driver.h"

namespace {

uint16_t* RowAt(GUI_DEV* dev, int x, int y) {
    const FbDriverContext* c = static_cast<FbDriverContext*>(dev->data);
    return c->vram + static_cast<std::ptrdiff_t>(y) * c->lineLength + x;
}

// Without a translation table a 1-bpp row has no colours: nothing is drawn.
void Row1(GUI_DEV* dev, uint16_t* p, const uint8_t* data, int bitOffset, int xsize, const uint32_t* t) {
    if (t == nullptr) return;
    const uint8_t mode = GUI_Context.drawMode;
    const auto mask = static_cast<uint16_t>(FbIndexMask(dev));
    unsigned bits = FbBitReverse[*data++] >> bitOffset;
    int left = 8 - bitOffset;
    for (int i = 0; i < xsize; ++i, bits >>= 1) {
        if (left-- == 0) {
            bits = FbBitReverse[*data++];
            left = 7;
        }
        const bool set = bits & 1;
        if (mode & LCD_DRAWMODE_XOR) {
            if (set) p[i] ^= mask;
        } else if (set || !(mode & LCD_DRAWMODE_TRANS)) {
            p[i] = static_cast<uint16_t>(t[set ? 1 : 0]);
        }
    }
}

// 2 and 4 bpp: pixels MSB first inside a byte; in XOR mode nothing is drawn.
void RowSubByte(uint16_t* p, const uint8_t* data, int bitOffset, int xsize, int bpp, const uint32_t* t) {
    const uint8_t mode = GUI_Context.drawMode;
    if (mode & LCD_DRAWMODE_XOR) return;
    const int perByte = 8 / bpp;
    const unsigned valueMask = (1u << bpp) - 1;
    for (int i = 0, pos = bitOffset; i < xsize; ++i, ++pos) {
        const unsigned shift = 8 - bpp * (pos % perByte + 1);
        const unsigned v = (data[pos / perByte] >> shift) & valueMask;
        if (v == 0 && (mode & LCD_DRAWMODE_TRANS)) continue;
        p[i] = static_cast<uint16_t>(t != nullptr ? t[v] : v);
    }
}

void Row8(uint16_t* p, const uint8_t* data, int xsize, const uint32_t* t) {
    const uint8_t mode = GUI_Context.drawMode;
    if (t == nullptr || (mode & LCD_DRAWMODE_XOR)) return;
    if (mode & LCD_DRAWMODE_TRANS) {
        for (int i = 0; i < xsize; ++i) {
            if (data[i] != 0) p[i] = static_cast<uint16_t>(t[data[i]]);
        }
        return;
    }
    int i = 0;
    for (; i + 8 <= xsize; i += 8) {
        p[i] = static_cast<uint16_t>(t[data[i]]);
        p[i + 1] = static_cast<uint16_t>(t[data[i + 1]]);
        p[i + 2] = static_cast<uint16_t>(t[data[i + 2]]);
        p[i + 3] = static_cast<uint16_t>(t[data[i + 3]]);
        p[i + 4] = static_cast<uint16_t>(t[data[i + 4]]);
        p[i + 5] = static_cast<uint16_t>(t[data[i + 5]]);
        p[i + 6] = static_cast<uint16_t>(t[data[i + 6]]);
        p[i + 7] = static_cast<uint16_t>(t[data[i + 7]]);
    }
    for (; i < xsize; ++i)
        p[i] = static_cast<uint16_t>(t[data[i]]);
}

}  // namespace

void FbDrawBitmapRow(GUI_DEV* dev, int x, int y, const uint8_t* data, int bitOffset, int xsize,
                     int bitsPerPixel, const uint32_t* translation) {
    switch (bitsPerPixel) {
        case 1:
            Row1(dev, RowAt(dev, x + bitOffset, y), data, bitOffset, xsize, translation);
            break;
        case 2:
        case 4:
            RowSubByte(RowAt(dev, x + bitOffset, y), data, bitOffset, xsize, bitsPerPixel, translation);
            break;
        case 8:
            Row8(RowAt(dev, x, y), data, xsize, translation);
            break;
        case 16:
            std::memcpy(RowAt(dev, x, y), data, sizeof(uint16_t) * xsize);
            break;
        default:
            break;
    }
}
