// Colour indices and the draw mode. The two index slots head the drawing context; in reverse mode they
// hold each other's index, so every writer reads "foreground" from the same slot.
#include <utility>

#include "GUI/lcd/lcd.h"

namespace {

const GUI_COLORCONV* Conv() {
    const GUI_DEV* dev = GUI_Context.apDevice[GUI_Context.selLayer];
    return dev != nullptr ? dev->colorConv : nullptr;
}

bool Reversed() {
    return GUI_Context.drawMode & LCD_DRAWMODE_REV;
}

const LCD_COLOR_SETTERS kDefaultSetters = {LCD_SetForeColorDefault, LCD_SetBackColorDefault,
                                           LCD_SetPaintModeDefault};

}  // namespace

const LCD_COLOR_SETTERS* LCD_pColorSetters = &kDefaultSetters;

void LCD_SetForeColor(uint32_t color) {
    LCD_pColorSetters->SetForeColor(color);
}

void LCD_SetBackColor(uint32_t color) {
    LCD_pColorSetters->SetBackColor(color);
}

uint8_t LCD_SetPaintMode(uint8_t mode) {
    return LCD_pColorSetters->SetPaintMode(mode);
}

void LCD_SetForeColorDefault(uint32_t color) {
    if (GUI_Context.foreColor == color) return;
    GUI_Context.foreColor = color;
    LCD_SetForeIndex(LCD_ColorToIndex(color));
}

void LCD_SetBackColorDefault(uint32_t color) {
    if (GUI_Context.backColor == color) return;
    GUI_Context.backColor = color;
    LCD_SetBackIndex(LCD_ColorToIndex(color));
}

uint8_t LCD_SetPaintModeDefault(uint8_t mode) {
    const uint8_t previous = GUI_Context.drawMode;
    if ((previous ^ mode) & LCD_DRAWMODE_REV) std::swap(GUI_Context.colorIndex, GUI_Context.bkColorIndex);
    GUI_Context.drawMode = mode;
    return previous;
}

void LCD_SetForeIndex(uint32_t index) {
    (Reversed() ? GUI_Context.bkColorIndex : GUI_Context.colorIndex) = index;
}

void LCD_SetBackIndex(uint32_t index) {
    (Reversed() ? GUI_Context.colorIndex : GUI_Context.bkColorIndex) = index;
}

uint32_t LCD_GetForeIndex() {
    return GUI_Context.colorIndex;
}

uint32_t LCD_GetBackIndex() {
    return GUI_Context.bkColorIndex;
}

uint32_t LCD_ColorToIndex(uint32_t color) {
    const GUI_COLORCONV* conv = Conv();
    return conv != nullptr ? conv->Color2Index(color) : 0;
}

uint32_t LCD_IndexToColor(uint32_t index) {
    const GUI_COLORCONV* conv = Conv();
    return conv != nullptr ? conv->Index2Color(index) : 0;
}

LCD_CONVFUNC* LCD_GetIndexToColorFunc(int layer) {
    const GUI_DEV* dev = layer == 0 ? GUI_Context.apDevice[0] : nullptr;
    return dev != nullptr && dev->colorConv != nullptr ? dev->colorConv->Index2Color : nullptr;
}
