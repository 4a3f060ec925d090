#pragma once
// The framebuffer display driver: the device at the end of layer 0's chain. Every request it gets is
// already clipped by the display layer; it writes 16-bit RGB565 pixels, little-endian, row-major, at
// VRAM address + 2 x (y x line length + x).
#include <array>
#include <cstddef>
#include <cstdint>

#include "GUI/lcd/lcd.h"

// Kept in a fixed block of the graphics pool, which is only 4-byte aligned.
#pragma pack(push, 4)
struct FbDriverContext {
    uint16_t* vram;      // the buffer being drawn; null until the framebuffer address is given
    uint16_t* baseVram;  // start of buffer 0
    int32_t xSize, ySize;
    int32_t vxSize, vySize;
    int32_t lineLength;  // pixels from one line to the next
    int32_t pair[2];     // stored by device function 3
    uint32_t value2;     // stored by device function 2
    uint32_t value6;     // stored by device function 6
    void (*fillHook)(int layer, int x0, int y0, int x1, int y1, uint32_t index);
    void (*hook32)();
    void (*copyBufferHook)(int layer, int src, int dst);
    void (*hook35)();
    uint32_t vramBytes;  // bytes from baseVram that belong to the mapping (0: unknown, nothing is copied)
};
#pragma pack(pop)

extern const GUI_DEV_API FbDriver_API;
extern const GUI_COLORCONV ColorConv_565;

// The colour-index mask of the device's colour conversion (0xFFFF for RGB565).
uint32_t FbIndexMask(const GUI_DEV* dev);
// The context of a driver device; created zero-filled from the graphics pool on first use, null when
// the pool cannot supply it.
FbDriverContext* FbContext(GUI_DEV* dev);
// One row of a bitmap: the line writer of bitsPerPixel (1, 2, 4, 8, 16); others draw nothing.
void FbDrawBitmapRow(GUI_DEV* dev, int x, int y, const uint8_t* data, int bitOffset, int xsize,
                     int bitsPerPixel, const uint32_t* translation);

// Conversions.
uint32_t Color2Index_565(uint32_t color);
uint32_t Index2Color_565(uint32_t index);
// The BMP decoder reads 5-5-5 pixels; the 565 device converts whole rows through the bulk forms.
uint32_t Index2Color_555(uint32_t index);
void Color2IndexBulk_565(const uint32_t* colors, void* indices, int count, int indexSize);
void Index2ColorBulk_565(const void* indices, uint32_t* colors, int count, int indexSize);
// Bit-reversal of a byte.
extern const std::array<uint8_t, 256> FbBitReverse;
