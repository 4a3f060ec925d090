#pragma once
// The display layer's clip rectangle: the screen is the display device's rectangle. Without a display
// device nothing is on screen, so the clip rectangle is empty.
#include "GUI/gui_types.h"

void LCD_ClipToScreen();
// Clip rectangle = display rectangle ∩ rect; 1 when it is not empty.
int LCD_ClipToScreenRect(const GUI_BOX* rect);
