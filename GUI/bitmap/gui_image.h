#pragma once
// Bitmaps: constant bitmap records and their drawing, the 16-bit colour-converting drawer, the BMP
// decoder and the line writers both of them use. Window coordinates unless said. GUI thread only.
#include <cstdint>

#include "GUI/gui.h"
#include "GUI/lcd/lcd.h"

typedef LCD_PALETTE GUI_PALETTE;

// Drawing methods of a bitmap's pixel format.
struct GUI_BITMAP_METHODS {
    void (*Draw)(int x, int y, int xsize, int ysize, const uint8_t* data, const GUI_PALETTE* palette,
                 int xmul, int ymul);
    LCD_CONVFUNC* Index2Color;
    void (*Reserved)();
};
// 16-bit RGB565 pixels, red in bits 11-15.
extern const GUI_BITMAP_METHODS GUI_BitmapMethods565;

struct GUI_IMAGE {
    uint16_t XSize;
    uint16_t YSize;
    uint16_t BytesPerLine;
    uint16_t BitsPerPixel;
    const uint8_t* pData;
    const GUI_PALETTE* pPal;
    const GUI_BITMAP_METHODS* pMethods;
};

void GUI_DrawImage(const GUI_IMAGE* image, int x, int y);
// Absolute coordinates, inside one visible part (the clip rectangle is set).
void GUI_DrawImage565(int x, int y, int xsize, int ysize, const uint8_t* data, const GUI_PALETTE* palette,
                      int xmul, int ymul);

// Pixels of a rectangle written one index at a time, flushed a line buffer at a time.
struct GUI_LINE_WRITER {
    int (*Begin)(int x0, int y0, int x1, int y1);  // 0, or 1 when no buffer can be had
    void (*WritePixel)(uint32_t index);
    void (*NextLine)();
    void (*End)();
};
// How decoded rows reach the display: the BMP decoder writes through the first, the image drawing
// through the second.
// From the bottom row up, through the clipped display layer.
extern const GUI_LINE_WRITER GUI_BmpLineWriter;
// From the top row down, straight to the display device (the caller has clipped).
extern const GUI_LINE_WRITER GUI_DeviceLineWriter;

// The BMP decoder. No screen of the program draws a BMP file: its tests, its fuzz target and its benchmark
// are its only callers.
// BMP files. GetData: (user, out pointer to the bytes, count, file offset) -> bytes delivered; anything
// but count is a failed read. Results: 0 drawn, 1 bad, unsupported or short file.
typedef int GUI_GET_DATA(void* user, const uint8_t** data, int count, uint32_t offset);
int GUI_DrawBmpStream(GUI_GET_DATA* getData, void* user, int x0, int y0);
// A file image of length bytes in memory; reading past its end is a short read.
int GUI_DrawBmpFile(const void* file, uint32_t length, int x0, int y0);
