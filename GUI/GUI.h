#pragma once
// The graphics library: the drawing context and its setters. Colours are 0x00BBGGRR.
#include <cstdint>

// The process-wide drawing context; so far it holds the current colours as last set.
struct GUI_DRAWCTX {
    uint32_t foreColor;  // foreground (drawing and text) colour
    uint32_t backColor;  // background colour
};
extern GUI_DRAWCTX GUI_Context;

void GUI_SetForeColor(uint32_t color);
void GUI_SetBackColor(uint32_t color);
