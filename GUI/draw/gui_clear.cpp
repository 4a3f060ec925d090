// Boxes, clearing and frames in window coordinates, drawn in every visible part of the window.
#include "GUI/lcd/lcd.h"
#include "GUI/draw/gui_2d.h"

void GUI_FillBox(int x0, int y0, int x1, int y1) {
    x0 += GUI_Context.xOff;
    x1 += GUI_Context.xOff;
    y0 += GUI_Context.yOff;
    y1 += GUI_Context.yOff;
    const GUI_BOX area = gui::ClampedBox(x0, y0, x1, y1);
    gui::ForEachVisible(&area, [&] { LCD_FillBox(x0, y0, x1, y1); });
}

// Reverse mode makes the fill use the background index.
void GUI_ClearBox(int x0, int y0, int x1, int y1) {
    const uint8_t mode = LCD_SetPaintMode(LCD_DRAWMODE_REV);
    GUI_FillBox(x0, y0, x1, y1);
    LCD_SetPaintMode(mode);
}

void GUI_ClearWindow() {
    GUI_SetCursor(0, 0);
    GUI_ClearBox(-4095, -4095, 4095, 4095);
}

void GUI_DrawFrame(int x0, int y0, int x1, int y1) {
    x0 += GUI_Context.xOff;
    x1 += GUI_Context.xOff;
    y0 += GUI_Context.yOff;
    y1 += GUI_Context.yOff;
    const int grow = GUI_Context.penSize - 1;
    const GUI_BOX area = gui::ClampedBox(x0 - grow, y0 - grow, x1 + grow, y1 + grow);
    gui::ForEachVisible(&area, [&] {
        LCD_HLine(x0, y0, x1);
        LCD_HLine(x0, y1, x1);
        LCD_VLine(x0, y0 + 1, y1 - 1);
        LCD_VLine(x1, y0 + 1, y1 - 1);
    });
}
