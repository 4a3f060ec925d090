#include <cstring>

#include "GUI/gui_context.h"
#include "GUI/lcd/lcd.h"

char GUI_DecimalSeparator;
int16_t GUI_ScreenOriginX, GUI_ScreenOriginY;

void GUI_SetForeColor(uint32_t color) {
    LCD_SetForeColor(color);
}

void GUI_SetBackColor(uint32_t color) {
    LCD_SetBackColor(color);
}

// Without a display device there is no index to convert back: the colour as set.
uint32_t GUI_GetForeColor() {
    return GUI_Context.apDevice[0] != nullptr ? LCD_IndexToColor(LCD_GetForeIndex()) : GUI_Context.foreColor;
}

uint8_t GUI_SetPaintMode(uint8_t mode) {
    return LCD_SetPaintMode(mode);
}

const GUI_FONTDEF* GUI_SelectFont(const GUI_FONTDEF* font) {
    const GUI_FONTDEF* previous = GUI_Context.pFont;
    if (font != nullptr) GUI_Context.pFont = font;
    return previous;
}

uint16_t GUI_SetAlign(uint16_t align) {
    const uint16_t previous = GUI_Context.textAlign;
    GUI_Context.textAlign = align;
    return previous;
}

uint16_t GUI_SetTextDrawMode(uint16_t mode) {
    const uint16_t previous = GUI_Context.textMode;
    GUI_Context.textMode = mode;
    return previous;
}

uint8_t GUI_SetPenWidth(uint8_t size) {
    const uint8_t previous = GUI_Context.penSize;
    GUI_Context.penSize = size;
    return previous;
}

uint8_t GUI_SetLineKind(uint8_t style) {
    const uint8_t previous = GUI_Context.lineStyle;
    GUI_Context.lineStyle = style;
    return previous;
}

int GUI_SetCursor(int x, int y) {
    GUI_Context.textX = static_cast<int16_t>(x);
    GUI_Context.textY = static_cast<int16_t>(y);
    return 0;
}

void GUI_SetScreenOrigin(int x, int y) {
    GUI_ScreenOriginX = static_cast<int16_t>(x);
    GUI_ScreenOriginY = static_cast<int16_t>(y);
    GUI_DEV* dev = GUI_Context.apDevice[GUI_Context.selLayer];
    if (dev != nullptr && dev->api->SetOrg != nullptr) dev->api->SetOrg(dev, x, y);
}

void GUI_CopyContextOut(GUI_DRAWCTX* buffer) {
    std::memcpy(buffer, &GUI_Context, sizeof GUI_Context);
}

void GUI_CopyContextIn(const GUI_DRAWCTX* buffer) {
    std::memcpy(&GUI_Context, buffer, sizeof GUI_Context);
}

void GUI_ResetDrawingDefaults() {
    GUI_SetBackColor(0x000000);
    GUI_SetForeColor(0xFFFFFF);
    GUI_Context.penSize = 1;
    GUI_Context.textAlign = 0;
    GUI_Context.textMode = 0;
    GUI_SetPaintMode(0);
    GUI_Context.pFont = GUI_pDefaultFont;
    GUI_Context.lineStyle = 0;
}
