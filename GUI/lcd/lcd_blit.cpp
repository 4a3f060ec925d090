// Bitmap output clipped once: whole rows cut at the top and bottom, pixels cut on the right, and on the
// left the data advanced by whole bytes with the rest of the cut handed to the device as a bit offset.
#include "GUI/lcd/lcd.h"

namespace {

// Magnified output (glyphs): each set pixel (every pixel unless transparent) becomes an xmul x ymul box
// in the colour its value translates to.
void BlitMagnified(int x0, int y0, int xsize, int ysize, int xmul, int ymul, int bpp, int bytesPerLine,
                   const uint8_t* data, const uint32_t* translation) {
    if (bpp != 1 && bpp != 2 && bpp != 4) return;
    const GUI_BOX& c = GUI_Context.clipRect;
    const uint32_t saved = GUI_Context.colorIndex;
    const bool transparent = GUI_Context.drawMode & LCD_DRAWMODE_TRANS;
    const unsigned mask = (1u << bpp) - 1;
    for (int r = 0; r < ysize; ++r, data += bytesPerLine) {
        const int y = y0 + r * ymul;
        if (y + ymul - 1 < c.y0 || y > c.y1) continue;
        for (int i = 0; i < xsize; ++i) {
            const int bit = i * bpp;
            const unsigned v = (data[bit / 8] >> (8 - bpp - bit % 8)) & mask;
            if (v == 0 && transparent) continue;
            GUI_Context.colorIndex = translation != nullptr ? translation[v] : v;
            const int x = x0 + i * xmul;
            LCD_FillBox(x, y, x + xmul - 1, y + ymul - 1);
        }
    }
    GUI_Context.colorIndex = saved;
}

// Pixels of the left cut n as whole bytes and a residual offset in pixels.
void CutLeft(int n, int bpp, int* bytes, int* offset) {
    switch (bpp) {
        case 1:
        case 2:
        case 4: {
            const int perByte = 8 / bpp;
            *bytes = n / perByte;
            *offset = n % perByte;
            return;
        }
        case 8:
            *bytes = n;
            break;
        case 16:
            *bytes = 2 * n;
            break;
        default:
            *bytes = 4 * n;
            break;  // 24-bit pixels are kept in 32-bit words
    }
    *offset = 0;
}

// Clips and hands the rows to the device; bitOffset < pixels per byte addresses the first pixel.
void BlitClipped(int x0, int y0, int xsize, int ysize, int bpp, int bytesPerLine, const uint8_t* data,
                 int bitOffset, const uint32_t* translation) {
    GUI_DEV* dev = GUI_Context.apDevice[GUI_Context.selLayer];
    const GUI_BOX& c = GUI_Context.clipRect;
    if (dev == nullptr || xsize <= 0 || ysize <= 0) return;
    if (y0 < c.y0) {
        const int rows = c.y0 - y0;
        data += static_cast<std::ptrdiff_t>(rows) * bytesPerLine;
        ysize -= rows;
        y0 = c.y0;
    }
    if (y0 + ysize - 1 > c.y1) ysize = c.y1 - y0 + 1;
    if (ysize <= 0) return;
    if (x0 + xsize - 1 > c.x1) xsize = c.x1 - x0 + 1;
    if (x0 < c.x0) {
        const int n = c.x0 - x0;
        int bytes, rest;
        CutLeft(bitOffset + n, bpp, &bytes, &rest);
        data += bytes;
        xsize -= n;
        x0 = c.x0 - rest;
        bitOffset = rest;
    } else {
        x0 -= bitOffset;  // the device places the first pixel at x + offset
    }
    if (xsize <= 0) return;
    dev->api->DrawBitmap(dev, x0, y0, xsize, ysize, bpp, bytesPerLine, data, bitOffset, translation);
}

}  // namespace

void LCD_Blit(int x0, int y0, int xsize, int ysize, int xmul, int ymul, int bitsPerPixel, int bytesPerLine,
              const uint8_t* data, const uint32_t* translation) {
    if (xmul != 1 || ymul != 1) {
        BlitMagnified(x0, y0, xsize, ysize, xmul, ymul, bitsPerPixel, bytesPerLine, data, translation);
        return;
    }
    BlitClipped(x0, y0, xsize, ysize, bitsPerPixel, bytesPerLine, data, 0, translation);
}
