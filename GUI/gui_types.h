#pragma once
// What every part of the graphics library shares: rectangles, window handles and the process-wide
// drawing context. Colours are 0x00BBGGRR. GUI thread only.
#include <cstdint>

#include "GUI/Core/gui_alloc.h"

// Window handle: a memory handle of the window's object; 0 is no window.
typedef GUI_HBLOCK WM_HWINDOW;

// Rectangle, inclusive, signed 16-bit.
struct GUI_BOX {
    int16_t x0, y0, x1, y1;
};

struct GUI_FONTDEF;  // font record
struct GUI_DRAWOPS;  // high-level drawing operations of the display layer
struct GUI_DEV;      // device of a layer's chain

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
