#pragma once
// The graphics library: the drawing context and its setters, start-up, the device chain, rectangles and
// the text encoding. Colours are 0x00BBGGRR. GUI thread only.
#include <cstdint>

#include "GUI/Core/gui_alloc.h"

// Window handle: a memory handle of the window's object; 0 is no window.
typedef GUI_HBLOCK WM_HWINDOW;

// Rectangle, inclusive, signed 16-bit.
struct GUI_BOX {
    int16_t x0, y0, x1, y1;
};

struct GUI_FONTDEF;    // font record
struct GUI_DRAWOPS;    // high-level drawing operations of the display layer
struct GUI_COLORCONV;  // colour conversion of a device
struct GUI_DEV;

// Device operation table; the class comes first, then the operations in slot order.
struct GUI_DEV_API {
    int32_t devClass;  // 0 display driver, 4 memory device, 5 alpha-layer device
    void (*DrawBitmap)(GUI_DEV* dev, int x, int y, int xsize, int ysize, int bitsPerPixel, int bytesPerLine,
                       const uint8_t* data, int bitOffset, const uint32_t* translation);
    void (*DrawHLine)(GUI_DEV* dev, int x0, int y, int x1);
    void (*DrawVLine)(GUI_DEV* dev, int x, int y0, int y1);
    void (*FillRect)(GUI_DEV* dev, int x0, int y0, int x1, int y1);
    uint32_t (*GetPixelIndex)(GUI_DEV* dev, int x, int y);
    void (*SetPixelIndex)(GUI_DEV* dev, int x, int y, uint32_t index);
    void (*XorPixel)(GUI_DEV* dev, int x, int y);
    void (*SetOrg)(GUI_DEV* dev, int x, int y);
    void (*(*GetDevFunc)(GUI_DEV** dev, int code))();
    int32_t (*GetDevProp)(GUI_DEV* dev, int index);
    void* (*GetDevData)(GUI_DEV* dev, int index);
    void (*GetRect)(GUI_DEV* dev, GUI_BOX* rect);
};

inline constexpr int32_t kGuiDevClassDriver = 0;
inline constexpr int32_t kGuiDevClassMemory = 4;
inline constexpr int32_t kGuiDevClassAlpha = 5;

// Pool blocks are only 4-byte aligned, so records kept in the pool are packed to 4.
#pragma pack(push, 4)
// One device of a layer's chain, kept in a fixed block of the graphics pool.
struct GUI_DEV {
    GUI_DEV* next;
    GUI_DEV* prev;
    void* data;  // the device's own data (the display driver's context)
    const GUI_DEV_API* api;
    const GUI_COLORCONV* colorConv;
    uint16_t insertBehind;  // 1: placed behind the devices of its own class
    int32_t layer;
};
#pragma pack(pop)

// Character encoding: get character, its size in the text, its size when encoded, encode.
struct GUI_ENCODING {
    uint16_t (*GetCharacter)(const char* s);
    int (*GetCharSize)(const char* s);
    int (*CalcSizeOfChar)(uint16_t c);
    int (*Encode)(char* buffer, uint16_t c);
};

// The process-wide drawing context.
struct GUI_DRAWCTX {
    uint32_t bkColorIndex;  // background colour index, display pixel format
    uint32_t colorIndex;    // foreground colour index
    GUI_BOX clipRect;       // absolute screen coordinates
    uint8_t drawMode;       // bit 0 XOR, bit 1 transparent, bit 2 reverse
    uint8_t selLayer;
    GUI_BOX* pClipRectHL;  // what high-level drawing clips against
    uint8_t penSize;
    uint8_t penShape;
    uint8_t lineStyle;
    const GUI_FONTDEF* pFont;
    int16_t leftBorder;
    int16_t textX, textY;  // text cursor, window coordinates
    int16_t drawPosX, drawPosY;
    uint16_t textMode;            // 0 normal, 1 XOR, 2 transparent, 4 reverse
    uint16_t textAlign;           // bits 0-1 horizontal, bits 2-3 vertical
    uint32_t foreColor;           // foreground (drawing and text) colour as last set
    uint32_t backColor;           // background colour as last set
    const GUI_BOX* pWmClipLimit;  // window coordinates of the selected window; null: none
    WM_HWINDOW hSelWin;
    int32_t xOff, yOff;  // screen position of the selected window's top-left corner
    uint8_t wmClipping;  // 1 while drawing is clipped per window
    GUI_DEV* apDevice[1];
    GUI_DEV* apDriver[1];
    GUI_HBLOCK hDevMem;  // selected memory device, 0: the screen
    GUI_BOX clipRectSaved;
    const GUI_DRAWOPS* pDrawOps;
    uint32_t startWord;  // 3 once started
};
extern GUI_DRAWCTX GUI_Context;

extern char GUI_DecimalSeparator;
extern int16_t GUI_ScreenOriginX, GUI_ScreenOriginY;
extern const GUI_ENCODING GUI_EncodingSingleByte;
extern const GUI_ENCODING* GUI_pEncoding;
// The font every paint starts with; made by the fonts at start-up.
extern const GUI_FONTDEF* GUI_pDefaultFont;

// Start-up: 0, or the display layer's failure. Runs once; a further call returns 0 and keeps the state.
int GUI_Start();
// Fills the context at start-up: clip to the display, defaults, selected window, colours, encoding.
void GUI_InitContextDefaults(GUI_DRAWCTX* ctx);

// Setters (each returns the previous value where it returns one).
void GUI_SetForeColor(uint32_t color);
void GUI_SetBackColor(uint32_t color);
uint32_t GUI_GetForeColor();
uint32_t GUI_GetBackColor();
uint8_t GUI_SetPaintMode(uint8_t mode);
const GUI_FONTDEF* GUI_SelectFont(const GUI_FONTDEF* font);
const GUI_FONTDEF* GUI_GetCurrentFont();
uint16_t GUI_SetAlign(uint16_t align);
uint16_t GUI_SetTextDrawMode(uint16_t mode);
uint8_t GUI_SetPenWidth(uint8_t size);
uint8_t GUI_GetPenWidth();
uint8_t GUI_SetLineKind(uint8_t style);
int GUI_SetCursor(int x, int y);
void GUI_SetScreenOrigin(int x, int y);

// Context handling.
void GUI_CopyContextOut(GUI_DRAWCTX* buffer);
void GUI_CopyContextIn(const GUI_DRAWCTX* buffer);
void GUI_ResetDrawingDefaults();
void GUI_SelectScreen();
int GUI_SelectLayerIndex(int index);

// Device chain of layer 0.
GUI_DEV* GUI_DEV_New(const GUI_DEV_API* api, const GUI_COLORCONV* colorConv, uint16_t insertBehind,
                     int layer);
int GUI_DEV_Insert(GUI_DEV* dev);
GUI_DEV* GUI_DEV_NewAndInsert(const GUI_DEV_API* api, const GUI_COLORCONV* colorConv, uint16_t insertBehind,
                              int layer);
void GUI_DEV_Remove(GUI_DEV* dev);
void GUI_DEV_Release(GUI_DEV* dev);
GUI_DEV* GUI_DEV_FindDriver(int layer);

// Rectangles.
int GUI_BoxesOverlap(const GUI_BOX* a, const GUI_BOX* b);
void GUI_MergeBoxes(GUI_BOX* out, const GUI_BOX* a, const GUI_BOX* b);
void GUI_MoveBox(GUI_BOX* box, int dx, int dy);

// Text encoding.
uint16_t GUI_NextCharacter(const char** text);
int GUI_CharsToBytes(const char* text, int n);

namespace gui {
// out = a ∩ b; false when they share no pixel (out is then undefined).
bool IntersectBoxes(GUI_BOX* out, const GUI_BOX& a, const GUI_BOX& b);
}  // namespace gui
