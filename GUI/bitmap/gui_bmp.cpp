// BMP files: the header checks, palette and direct-colour decoding of the rows that survive clipping.
#include "GUI/bitmap/gui_bmp.h"

#include <cstdlib>

#include "GUI/device/fb_driver.h"
#include "GUI/draw/gui_2d.h"

namespace gui {

namespace {

uint32_t U32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr int kMaxSide = 32767;

int Stride(int bpp, int w) {
    if (bpp == 8) return (w + 3) & ~3;
    if (bpp == 32) return 4 * w;
    return ((bpp * w + 31) >> 5) * 4;
}

// One bit-field mask: its shift and width; a gap in the mask still scales to at most 255.
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;
    uint32_t Scale(uint32_t v) const {
        if (mask == 0) return 0;
        const uint64_t c = static_cast<uint64_t>((v & mask) >> shift) * 255 / ((uint64_t{1} << width) - 1);
        return c > 255 ? 255 : static_cast<uint32_t>(c);
    }
};

Field MakeField(uint32_t mask) {
    Field f;
    f.mask = mask;
    if (mask == 0) return f;
    while (!((mask >> f.shift) & 1))
        ++f.shift;
    while (f.shift + f.width < 32 && ((mask >> (f.shift + f.width)) & 1))
        ++f.width;
    return f;
}

// Direct-colour rows (16, 24, 32 bits, or bit fields) through the BMP writer, bottom row first.
int DrawDirect(const BmpSource& src, const BmpHeader& h, uint32_t dataOffset, const Field* fields, int x0,
               int y0, const GUI_BOX& vis) {
    const int bytesPerPixel = h.bitsPerPixel / 8;
    const int stride = Stride(h.bitsPerPixel, h.width);
    const int cutLeft = vis.x0 - x0, cols = vis.x1 - vis.x0 + 1;
    const GUI_LINE_WRITER& w = GUI_BmpLineWriter;
    if (w.Begin(vis.x0, vis.y0, vis.x1, vis.y1) != 0) return 0;
    int result = 0;
    for (int y = vis.y1; y >= vis.y0 && result == 0; --y) {
        const int r = y - y0;  // image row from the top
        const int fileRow = h.topDown ? r : h.height - 1 - r;
        const uint8_t* p = src.Read(dataOffset + static_cast<uint64_t>(fileRow) * stride +
                                        static_cast<uint64_t>(cutLeft) * bytesPerPixel,
                                    cols * bytesPerPixel);
        if (p == nullptr) {
            result = 1;
            break;
        }
        for (int i = 0; i < cols; ++i, p += bytesPerPixel) {
            uint32_t color;
            if (fields != nullptr) {
                const uint32_t v = bytesPerPixel == 2 ? U16(p) : U32(p);
                color = fields[0].Scale(v) | fields[1].Scale(v) << 8 | fields[2].Scale(v) << 16;
            } else if (bytesPerPixel == 2) {
                color = Index2Color_555(U16(p));
            } else {
                color = p[2] | p[1] << 8 | p[0] << 16;
            }
            w.WritePixel(LCD_ColorToIndex(color));
        }
        if (y > vis.y0) w.NextLine();
    }
    w.End();
    return result;
}

// Palette rows (1, 4, 8 bits): only the bytes of the visible columns are read; a left cut inside a byte
// starts at that byte's first pixel.
int DrawIndexed(const BmpSource& src, const BmpHeader& h, uint32_t dataOffset, const uint32_t* palette,
                int x0, int y0, const GUI_BOX& vis) {
    const int bpp = h.bitsPerPixel, perByte = 8 / bpp;
    const int stride = Stride(bpp, h.width);
    const int firstByte = (vis.x0 - x0) / perByte;
    const int lastByte = (vis.x1 - x0) / perByte;
    const int xStart = x0 + firstByte * perByte;
    const int pixels = vis.x1 - xStart + 1;
    for (int y = vis.y0; y <= vis.y1; ++y) {
        const int r = y - y0;
        const int fileRow = h.topDown ? r : h.height - 1 - r;
        const uint8_t* p = src.Read(dataOffset + static_cast<uint64_t>(fileRow) * stride + firstByte,
                                    lastByte - firstByte + 1);
        if (p == nullptr) return 1;
        LCD_Blit(xStart, y, pixels, 1, 1, 1, bpp, lastByte - firstByte + 1, p, palette);
    }
    return 0;
}

int DrawPart(const BmpSource& src, int x0, int y0) {
    BmpHeader h;
    if (ReadBmpHeader(src, &h) != 0) return 1;
    const GUI_BOX& clip = GUI_Context.clipRect;
    GUI_BOX vis;
    if (!IntersectBoxes(&vis, clip, ClampedBox(x0, y0, x0 + h.width - 1, y0 + h.height - 1))) return 0;
    const uint32_t* palette = nullptr;
    if (h.paletteSize > 0 && (palette = ReadBmpPalette(src, h)) == nullptr) return 1;
    const uint32_t dataOffset = h.paletteOffset + 4 * h.paletteSize;
    if (h.compression == 1 || h.compression == 2) return DrawBmpRle(src, h, palette, x0, y0);
    if (h.compression == 3) {
        const uint8_t* m = src.Read(54, 12);
        if (m == nullptr) return 1;
        const Field fields[3] = {MakeField(U32(m)), MakeField(U32(m + 4)), MakeField(U32(m + 8))};
        return DrawDirect(src, h, dataOffset + 16, fields, x0, y0, vis);
    }
    if (h.bitsPerPixel <= 8) return DrawIndexed(src, h, dataOffset, palette, x0, y0, vis);
    return DrawDirect(src, h, dataOffset, nullptr, x0, y0, vis);
}

}  // namespace

const uint8_t* BmpSource::Read(uint64_t offset, int count) const {
    if (offset > UINT32_MAX || count <= 0) return nullptr;
    const uint8_t* p = nullptr;
    return getData(user, &p, count, static_cast<uint32_t>(offset)) == count ? p : nullptr;
}

int ReadBmpHeader(const BmpSource& src, BmpHeader* h) {
    const uint8_t* p = src.Read(0, 54);
    if (p == nullptr || U16(p) != 0x4D42) return 1;
    const auto width = static_cast<int32_t>(U32(p + 18));
    const auto height = static_cast<int32_t>(U32(p + 22));
    h->bitsPerPixel = U16(p + 28);
    h->compression = U32(p + 30);
    const uint32_t used = U32(p + 46);
    if (width < 0 || width > kMaxSide || height < -kMaxSide || height > kMaxSide) return 1;
    h->width = width;
    h->height = std::abs(height);
    h->topDown = height < 0;
    switch (h->bitsPerPixel) {
        case 1:
            h->paletteSize = 2;
            break;
        case 4:
            h->paletteSize = 16;
            break;
        case 8:
            h->paletteSize = 256;
            break;
        case 16:
        case 24:
        case 32:
            h->paletteSize = 0;
            break;
        default:
            return 1;
    }
    if (used != 0 && h->paletteSize != 0) {
        if (used > 256) return 1;
        h->paletteSize = static_cast<int>(used);
    }
    const int bpp = h->bitsPerPixel;
    switch (h->compression) {
        case 0:
            return 0;
        case 1:
            return bpp == 8 && !h->topDown ? 0 : 1;
        case 2:
            return bpp == 4 && !h->topDown ? 0 : 1;
        case 3:
            return bpp == 16 || bpp == 32 ? 0 : 1;
        default:
            return 1;
    }
}

const uint32_t* ReadBmpPalette(const BmpSource& src, const BmpHeader& h) {
    const uint8_t* p = src.Read(h.paletteOffset, 4 * h.paletteSize);
    if (p == nullptr) return nullptr;
    // Pixel values the palette does not cover show black, never a colour of an earlier file.
    uint32_t colors[256] = {};
    for (int i = 0; i < h.paletteSize; ++i)
        colors[i] = p[4 * i + 2] | p[4 * i + 1] << 8 | p[4 * i] << 16;
    const LCD_PALETTE pal{256, 0, colors};
    return LCD_GetPaletteIndexTable(&pal);
}

}  // namespace gui

int GUI_DrawBmpStream(GUI_GET_DATA* getData, void* user, int x0, int y0) {
    const gui::BmpSource src{getData, user};
    gui::BmpHeader h;
    if (getData == nullptr || gui::ReadBmpHeader(src, &h) != 0) return 1;
    x0 += GUI_Context.xOff;
    y0 += GUI_Context.yOff;
    if (h.width == 0 || h.height == 0) return 0;
    const GUI_BOX area = gui::ClampedBox(x0, y0, x0 + h.width - 1, y0 + h.height - 1);
    int result = 0;
    gui::ForEachVisible(&area, [&] { result |= gui::DrawPart(src, x0, y0); });
    return result;
}

namespace {

struct MemoryFile {
    const uint8_t* data;
    uint32_t length;
};

int GetFromMemory(void* user, const uint8_t** data, int count, uint32_t offset) {
    const auto* f = static_cast<const MemoryFile*>(user);
    if (offset >= f->length) return 0;
    *data = f->data + offset;
    const uint32_t left = f->length - offset;
    return static_cast<uint32_t>(count) <= left ? count : static_cast<int>(left);
}

}  // namespace

int GUI_DrawBmpFile(const void* file, uint32_t length, int x0, int y0) {
    MemoryFile f{static_cast<const uint8_t*>(file), file != nullptr ? length : 0};
    return GUI_DrawBmpStream(GetFromMemory, &f, x0, y0);
}
