#include "GUI/GUI.h"

GUI_DRAWCTX GUI_Context;

// The colour indices of the display are derived when the display layer exists; the colours themselves
// are kept from the first call, so nothing drawn later loses what the screens set.
void GUI_SetForeColor(uint32_t color) {
    GUI_Context.foreColor = color;
}

void GUI_SetBackColor(uint32_t color) {
    GUI_Context.backColor = color;
}
