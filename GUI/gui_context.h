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
// The context's settings, set by every painter before it draws.
uint8_t GUI_SetPaintMode(uint8_t mode);
const GUI_FONTDEF* GUI_SelectFont(const GUI_FONTDEF* font);
uint16_t GUI_SetAlign(uint16_t align);
uint16_t GUI_SetTextDrawMode(uint16_t mode);
// The golden line pictures draw wide pens through it; the drawers' wide-pen paths would go with it.
uint8_t GUI_SetPenWidth(uint8_t size);
// The phasor diagram's dashed lines; the text and clear functions place the cursor.
uint8_t GUI_SetLineKind(uint8_t style);
int GUI_SetCursor(int x, int y);
void GUI_SetScreenOrigin(int x, int y);

// Context handling.
void GUI_CopyContextOut(GUI_DRAWCTX* buffer);
void GUI_CopyContextIn(const GUI_DRAWCTX* buffer);
void GUI_ResetDrawingDefaults();
