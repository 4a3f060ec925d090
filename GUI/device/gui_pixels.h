#pragma once
// Pixel buffers of the device layer: packing 32-bit indices or colours to a bit depth and back (in
// place), reading a rectangle of the display back, and blending a line of colours with alpha over the
// display. GUI thread only.
#include <cstdint>

#include "GUI/lcd/lcd.h"

// The read-back of a screen area unpacks the device's pixels with GUI_ExpandIndices; its inverse,
// GUI_PackIndices, only the tests call.
// Packs n 32-bit indices in place: 1, 2, 4 bpp MSB-first several per byte, 3 and 5-8 bpp one byte each,
// 9-16 bpp one u16 each. The packed length in bytes; 0 (buffer unchanged) above 16 bpp.
int GUI_PackIndices(void* buffer, int n, int bpp);
// The inverse of GUI_PackIndices, in place (the buffer holds n 32-bit words); 0 above 16 bpp, else 1.
int GUI_ExpandIndices(void* buffer, int n, int bpp);

// Reads (x0, y0)..(x1, y1) of a device into buffer, packed by the layer's bits per pixel (1-8 bpp
// MSB-first with the bit position running on across rows, 16 bpp u16, more u32).
void LCD_ReadBoxDevice(int x0, int y0, int x1, int y1, void* buffer, GUI_DEV* device);
// Clipped to the context's clip rectangle, from the first display or memory device of the chain that
// starts at device (null: the layer's chain).
void LCD_ReadBox(int x0, int y0, int x1, int y1, void* buffer, GUI_DEV* device);
// LCD_ReadBox expanded to one 32-bit index per pixel (the buffer holds one word per pixel).
void GUI_ReadBoxIndices(int x0, int y0, int x1, int y1, void* buffer, GUI_DEV* device);

// n source pixels (indices of conv, or colours without conv; the top byte of the colour is its
// transparency, 255 invisible) blended over the display from (x, y), absolute. The blended colours;
// *written is 1 when any pixel is not invisible.
const uint32_t* GUI_BlendAlphaLine(int x, int y, const uint32_t* pixels, int n, const GUI_COLORCONV* conv,
                                   int* written);
