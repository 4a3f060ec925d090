#pragma once
// The graphics library: the drawing context and its setters, start-up, the device chain, rectangles and
// the text encoding (the parts below the display layer have headers of their own, included here).
// Colours are 0x00BBGGRR. GUI thread only.
#include <cstdint>

#include "GUI/Core/gui_alloc.h"
#include "GUI/device/gui_device.h"
#include "GUI/draw/gui_box.h"
#include "GUI/gui_context.h"
#include "GUI/gui_types.h"

// Character encoding: get character, its size in the text, its size when encoded, encode.
struct GUI_ENCODING {
    uint16_t (*GetCharacter)(const char* s);
    int (*GetCharSize)(const char* s);
    int (*CalcSizeOfChar)(uint16_t c);
    int (*Encode)(char* buffer, uint16_t c);
};

extern const GUI_ENCODING GUI_EncodingSingleByte;
extern const GUI_ENCODING* GUI_pEncoding;

// Start-up: 0, or the display layer's failure. Runs once; a further call returns 0 and keeps the state.
int GUI_Start();
// Fills the context at start-up: clip to the display, defaults, selected window, colours, encoding.
void GUI_InitContextDefaults(GUI_DRAWCTX* ctx);
// The board's configuration, run by GUI_Start: the graphics pool, and the display (the framebuffer mapped,
// the driver device made and sized; without a framebuffer there is no display device).
void GUI_ConfigureMemory();
void LCD_ConfigureDisplay();

// Text encoding.
uint16_t GUI_NextCharacter(const char** text);
int GUI_CharsToBytes(const char* text, int n);
