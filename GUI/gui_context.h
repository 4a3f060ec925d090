#pragma once
// The drawing context's setters (colours go through the display layer) and its copies; GUI thread only.
#include <cstdint>

#include "GUI/gui_types.h"

extern char GUI_DecimalSeparator;
extern int16_t GUI_ScreenOriginX, GUI_ScreenOriginY;
// The font every paint starts with; made by the fonts at start-up.
extern const GUI_FONTDEF* GUI_pDefaultFont;

// Setters (each returns the previous value where it returns one).
void GUI_SetForeColor(uint32_t color);
void GUI_SetBackColor(uint32_t color);
uint32_t GUI_GetForeColor();
// kept: the context's getter beside its setter.
uint32_t GUI_GetBackColor();
uint8_t GUI_SetPaintMode(uint8_t mode);
const GUI_FONTDEF* GUI_SelectFont(const GUI_FONTDEF* font);
// kept: the context's getter beside its setter.
const GUI_FONTDEF* GUI_GetCurrentFont();
uint16_t GUI_SetAlign(uint16_t align);
uint16_t GUI_SetTextDrawMode(uint16_t mode);
// kept: the golden line pictures draw wide pens through it; the drawers' wide-pen paths would go with it.
uint8_t GUI_SetPenWidth(uint8_t size);
// kept: the context's getter beside its setter.
uint8_t GUI_GetPenWidth();
uint8_t GUI_SetLineKind(uint8_t style);
int GUI_SetCursor(int x, int y);
void GUI_SetScreenOrigin(int x, int y);

// Context handling.
void GUI_CopyContextOut(GUI_DRAWCTX* buffer);
void GUI_CopyContextIn(const GUI_DRAWCTX* buffer);
void GUI_ResetDrawingDefaults();
