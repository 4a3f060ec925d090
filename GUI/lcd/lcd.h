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
// Tests read the background index the paint modes leave through it.
uint32_t LCD_GetBackIndex();
// Through the selected layer's device; 0 (and the colour unchanged) without a device.
uint32_t LCD_ColorToIndex(uint32_t color);
uint32_t LCD_IndexToColor(uint32_t index);
typedef uint32_t LCD_CONVFUNC(uint32_t);
// Image drawing converts a palette through the layer's function.
LCD_CONVFUNC* LCD_GetIndexToColorFunc(int layer);

// Clipped drawing with the foreground index (XOR mode inverts instead).
void LCD_Pixel(int x, int y);
void LCD_HLine(int x0, int y, int x1);
void LCD_VLine(int x, int y0, int y1);
void LCD_FillBox(int x0, int y0, int x1, int y1);
// Bitmap output: translation maps a pixel value to an index (null: the value is the index).
void LCD_Blit(int x0, int y0, int xsize, int ysize, int xmul, int ymul, int bitsPerPixel, int bytesPerLine,
              const uint8_t* data, const uint32_t* translation);
// Tests read a drawn pixel back through it.
uint32_t LCD_ReadPixelIndex(int x, int y);

// Antialiasing.
// Blending: the read-back mixes colours through it; antialiased pixels of the library's shapes.
uint32_t LCD_BlendColors(uint32_t color, uint32_t bkColor, unsigned intensity);
uint32_t LCD_BlendColorsAA(uint32_t color, uint32_t bkColor, unsigned intensity);
void LCD_PixelAA(int x, int y, unsigned intensity);

// Palette.
struct LCD_PALETTE {
    int32_t numEntries;
    int32_t hasTransparency;
    const uint32_t* colors;
};
const uint32_t* LCD_GetPaletteIndexTable(const LCD_PALETTE* palette);
void LCD_LoadPalette();

// Capabilities (device property indices).
int32_t LCD_GetDeviceProperty(int layer, int index);
int32_t LCD_GetBitDepthEx(int layer);
// The framebuffer driver and the start read the display's orientation through these.
int32_t LCD_IsMirroredXEx(int layer);
int32_t LCD_IsMirroredYEx(int layer);
int32_t LCD_IsSwappedXYEx(int layer);
// The selected layer's depth: the line writer and the read-back pack pixels by it.
int32_t LCD_GetBitDepth();
// The read-back sizes its line buffer by the widest layer.
int32_t LCD_GetVirtualWidthMax();

// Device functions of a layer's driver: 0 when the driver offers the function and it was called, else 1.
// The start sets the framebuffer and its sizes; the palette load sets its entries.
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

inline constexpr int kLcdXSize = 800;
inline constexpr int kLcdYSize = 480;
inline constexpr uint32_t kLcdFramebufferBytes = 1152000;
