// Antialiased and alpha-blended pixels: the pixel's colour mixed from the foreground colour and what is
// behind it, written as one index. Only inside the clip rectangle.
#include <initializer_list>

#include "GUI/lcd/lcd.h"

namespace {

uint32_t g_aaMask = 0x00FFFFFF;

bool Inside(int x, int y) {
    const GUI_BOX& c = GUI_Context.clipRect;
    return x >= c.x0 && x <= c.x1 && y >= c.y0 && y <= c.y1;
}

void Write(int x, int y, uint32_t index) {
    GUI_DEV* dev = GUI_Context.apDevice[GUI_Context.selLayer];
    dev->api->SetPixelIndex(dev, x, y, index);
}

}  // namespace

uint32_t LCD_BlendColors(uint32_t color, uint32_t bkColor, unsigned intensity) {
    if ((bkColor >> 24) == 0xFF) return color;  // transparent background
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t c = (color >> shift) & 0xFF, b = (bkColor >> shift) & 0xFF;
        out |= (((intensity * c + (255 - intensity) * b) >> 8) & 0xFF) << shift;
    }
    return out;
}

uint32_t LCD_BlendColorsAA(uint32_t color, uint32_t bkColor, unsigned intensity) {
    return LCD_BlendColors(color, bkColor, intensity * 17) & g_aaMask;
}

void LCD_PixelAA(int x, int y, unsigned intensity) {
    if (!Inside(x, y)) return;
    uint32_t index;
    if (intensity == 0) {
        index = GUI_Context.bkColorIndex;
    } else if (intensity >= 15) {
        index = GUI_Context.colorIndex;
    } else {
        index = LCD_ColorToIndex(LCD_BlendColorsAA(GUI_Context.foreColor, GUI_Context.backColor, intensity));
    }
    Write(x, y, index);
}
