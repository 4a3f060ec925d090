#pragma once
// The display layer: colour indices, draw modes, drawing clipped to the context's clip rectangle (all
// coordinates absolute and inclusive), bitmap output, antialiased pixels, the palette table, the
// device's capabilities and functions, the board's display configuration and the library's time base.
// A request that is empty after clipping is dropped silently. GUI thread only.
#include <cstdint>

#include "GUI/device/gui_device.h"
#include "GUI/gui_types.h"
#include "GUI/lcd/lcd_clip.h"

// Colour conversion of a device, in slot order.
struct GUI_COLORCONV {
    uint32_t (*Color2Index)(uint32_t color);
    uint32_t (*Index2Color)(uint32_t index);
    uint32_t (*GetIndexMask)();
    uint32_t hasNoAlpha;  // 1: the pixels carry no alpha
    void (*Color2IndexBulk)(const uint32_t* colors, void* indices, int count, int indexSize);
    void (*Index2ColorBulk)(const void* indices, uint32_t* colors, int count, int indexSize);
};

// What high-level drawing (lines, circles, polygons) draws through.
struct GUI_DRAWOPS {
    void (*HLine)(int x0, int y, int x1);
    void (*Pixel)(int x, int y);
};
extern const GUI_DRAWOPS LCD_DrawOps;

// Draw mode bits.
inline constexpr uint8_t LCD_DRAWMODE_XOR = 1;
inline constexpr uint8_t LCD_DRAWMODE_TRANS = 2;
inline constexpr uint8_t LCD_DRAWMODE_REV = 4;

// Colours and draw mode, through the colour-setting table (set colour, set background, set draw mode).
struct LCD_COLOR_SETTERS {
    void (*SetForeColor)(uint32_t color);
    void (*SetBackColor)(uint32_t color);
    uint8_t (*SetPaintMode)(uint8_t mode);
};
extern const LCD_COLOR_SETTERS* LCD_pColorSetters;
void LCD_SetForeColor(uint32_t color);
void LCD_SetBackColor(uint32_t color);
uint8_t LCD_SetPaintMode(uint8_t mode);
void LCD_SetForeColorDefault(uint32_t color);
void LCD_SetBackColorDefault(uint32_t color);
uint8_t LCD_SetPaintModeDefault(uint8_t mode);
void LCD_SetForeIndex(uint32_t index);
void LCD_SetBackIndex(uint32_t index);
uint32_t LCD_GetForeIndex();
// kept: tests read the background index the paint modes leave through it.
uint32_t LCD_GetBackIndex();
// kept: the display layer's refresh of the colour indices after a palette change.
void LCD_RefreshColorIndices();
// Through the selected layer's device; 0 (and the colour unchanged) without a device.
uint32_t LCD_ColorToIndex(uint32_t color);
uint32_t LCD_IndexToColor(uint32_t index);
typedef uint32_t LCD_CONVFUNC(uint32_t);
// kept: the display layer's getters of a layer's conversion functions.
LCD_CONVFUNC* LCD_GetColorToIndexFuncEx(int layer);
LCD_CONVFUNC* LCD_GetIndexToColorFuncEx(int layer);
LCD_CONVFUNC* LCD_GetColorToIndexFunc(int layer);
LCD_CONVFUNC* LCD_GetIndexToColorFunc(int layer);

// Clipped drawing with the foreground index (XOR mode inverts instead).
void LCD_Pixel(int x, int y);
void LCD_HLine(int x0, int y, int x1);
void LCD_VLine(int x, int y0, int y1);
void LCD_FillBox(int x0, int y0, int x1, int y1);
// Bitmap output: translation maps a pixel value to an index (null: the value is the index).
void LCD_Blit(int x0, int y0, int xsize, int ysize, int xmul, int ymul, int bitsPerPixel, int bytesPerLine,
              const uint8_t* data, const uint32_t* translation);
// kept: the display layer's blit from a bit offset.
void LCD_BlitBitOffset(int x0, int y0, int xsize, int ysize, int bitsPerPixel, int bytesPerLine,
                       const uint8_t* data, int bitOffset, const uint32_t* translation);
// kept: tests read a drawn pixel back through it.
uint32_t LCD_ReadPixelIndex(int x, int y);
// kept: the display layer's pixel read-back as a colour.
uint32_t LCD_ReadPixelColor(int x, int y);

// Antialiasing.
// kept: the display layer's antialiasing; the panel's fonts and shapes draw without it.
uint32_t LCD_SetAAMask(uint32_t mask);
uint32_t LCD_BlendColors(uint32_t color, uint32_t bkColor, unsigned intensity);
uint32_t LCD_BlendColorsAA(uint32_t color, uint32_t bkColor, unsigned intensity);
void LCD_PixelAA(int x, int y, unsigned intensity);
void LCD_PixelAAOver(int x, int y, unsigned intensity);
void LCD_PixelAAXor(int x, int y, unsigned intensity);
void LCD_PixelAlpha(int x, int y, unsigned alpha, uint32_t color);

// Palette.
struct LCD_PALETTE {
    int32_t numEntries;
    int32_t hasTransparency;
    const uint32_t* colors;
};
const uint32_t* LCD_GetPaletteIndexTable(const LCD_PALETTE* palette);
void LCD_LoadPalette();
// kept: the palette's depth helpers.
int LCD_BitsForIndexMask(uint32_t mask);
int LCD_StorageBitsPerPixel(int bitsPerPixel);

// Capabilities (device property indices).
int32_t LCD_GetDeviceProperty(int layer, int index);
int32_t LCD_GetBitDepthEx(int layer);
// kept: the colour-count and scale getters, with the capability getters above.
int32_t LCD_GetColorCountEx(int layer);
int32_t LCD_GetXScaleEx(int layer);
int32_t LCD_GetYScaleEx(int layer);
int32_t LCD_IsMirroredXEx(int layer);
int32_t LCD_IsMirroredYEx(int layer);
int32_t LCD_IsSwappedXYEx(int layer);
// The selected layer's depth: the line writer and the read-back pack pixels by it.
int32_t LCD_GetBitDepth();
// kept: the rest of the selected layer's capability getters, the maxima, the layer count and the framebuffer address.
int32_t LCD_GetColorCount();
int32_t LCD_GetXScale();
int32_t LCD_GetYScale();
int32_t LCD_IsMirroredX();
int32_t LCD_IsMirroredY();
int32_t LCD_IsSwappedXY();
int32_t LCD_GetWidthMax();
int32_t LCD_GetHeightMax();
int32_t LCD_GetVirtualWidthMax();
int32_t LCD_GetVirtualHeightMax();
int32_t LCD_GetBitDepthMax();
int32_t LCD_GetDeviceBitDepth(int layer);
int LCD_CountLayers();
void* LCD_GetFramebufferAddr(int layer);

// Device functions of a layer's driver: 0 when the driver offers the function and it was called, else 1.
// kept: the driver's device functions 2, 3, 4 and 6 of a layer, beside the named ones below.
int LCD_DevFunc2Ex(int layer, int32_t value);
int LCD_DevFunc3Ex(int layer, int32_t first, int32_t second);
int LCD_DevFunc4Ex(int layer, int32_t* first, int32_t* second);
int LCD_DevFunc6Ex(int layer, int32_t value);
int LCD_SetFramebufferAddrEx(int layer, void* address);
int LCD_SetVSizeEx(int layer, int xsize, int ysize);
int LCD_SetSizeEx(int layer, int xsize, int ysize);
int LCD_SetPaletteEntryEx(int layer, uint8_t index, uint32_t color);
// Batch bracket (1 begin, 0 end, 2 confirm); only layer 0.
void LCD_DrawBatchControlEx(int layer, int cmd);
void LCD_DrawBatchControl(int cmd);

// Start and board configuration.
int LCD_Start();
void* LCD_MapFramebuffer(uint32_t length);
// The framebuffer's mapping: its start (null before a successful map) and length in bytes.
void* LCD_MappedFramebuffer();
uint32_t LCD_MappedFramebufferBytes();
int LCD_DriverControl(int layer, int command, void* data);

// Library entry points.
int GUI_RunOnce();
int GUI_RunAll();
// kept: the graphics library's clock and delay.
uint32_t GUI_GetTimeMs();
void GUI_DelayMs(uint32_t ms);

inline constexpr int kLcdXSize = 800;
inline constexpr int kLcdYSize = 480;
inline constexpr uint32_t kLcdFramebufferBytes = 1152000;
