#pragma once
// What the BMP decoder's parts share: the checked header and the reads through the GetData callback.
#include <cstdint>

#include "GUI/bitmap/gui_image.h"

namespace gui {

struct BmpHeader {
    int width = 0;
    int height = 0;  // absolute
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = 0;
    int paletteSize = 0;
    uint32_t paletteOffset = 54;
};

struct BmpSource {
    GUI_GET_DATA* getData;
    void* user;
    // The count bytes at offset, or null on a short read or an offset past 4 GB.
    const uint8_t* Read(uint64_t offset, int count) const;
};

// 0 and the header, or 1 for a file that is not a BMP this decoder draws.
int ReadBmpHeader(const BmpSource& src, BmpHeader* h);
// The file's palette converted to display indices (palette conversion table), or null on a short read.
const uint32_t* ReadBmpPalette(const BmpSource& src, const BmpHeader& h);
// Run-length data (compression 1 or 2) drawn at the absolute (x0, y0) within the clip rectangle.
int DrawBmpRle(const BmpSource& src, const BmpHeader& h, const uint32_t* palette, int x0, int y0);

}  // namespace gui
