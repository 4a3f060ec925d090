// Drawing clipped to the context's clip rectangle, once per request, so the device never tests bounds.
// Without a display device the clip rectangle is empty and nothing reaches a device.
#include <algorithm>

#include "GUI/lcd/lcd.h"

namespace {

GUI_DEV* Dev() {
    return GUI_Context.apDevice[GUI_Context.selLayer];
}

const GUI_BOX& Clip() {
    return GUI_Context.clipRect;
}

}  // namespace

const GUI_DRAWOPS LCD_DrawOps = {LCD_HLine, LCD_Pixel};

void LCD_Pixel(int x, int y) {
    const GUI_BOX& c = Clip();
    if (x < c.x0 || x > c.x1 || y < c.y0 || y > c.y1) return;
    GUI_DEV* dev = Dev();
    if (GUI_Context.drawMode & LCD_DRAWMODE_XOR) {
        dev->api->XorPixel(dev, x, y);
    } else {
        dev->api->SetPixelIndex(dev, x, y, GUI_Context.colorIndex);
    }
}

void LCD_HLine(int x0, int y, int x1) {
    const GUI_BOX& c = Clip();
    if (y < c.y0 || y > c.y1) return;
    x0 = std::max<int>(x0, c.x0);
    x1 = std::min<int>(x1, c.x1);
    if (x1 < x0) return;
    GUI_DEV* dev = Dev();
    dev->api->DrawHLine(dev, x0, y, x1);
}

void LCD_VLine(int x, int y0, int y1) {
    const GUI_BOX& c = Clip();
    if (x < c.x0 || x > c.x1) return;
    y0 = std::max<int>(y0, c.y0);
    y1 = std::min<int>(y1, c.y1);
    if (y1 < y0) return;
    GUI_DEV* dev = Dev();
    dev->api->DrawVLine(dev, x, y0, y1);
}

void LCD_FillBox(int x0, int y0, int x1, int y1) {
    const GUI_BOX& c = Clip();
    x0 = std::max<int>(x0, c.x0);
    y0 = std::max<int>(y0, c.y0);
    x1 = std::min<int>(x1, c.x1);
    y1 = std::min<int>(y1, c.y1);
    if (x1 < x0 || y1 < y0) return;
    GUI_DEV* dev = Dev();
    dev->api->FillRect(dev, x0, y0, x1, y1);
}

uint32_t LCD_ReadPixelIndex(int x, int y) {
    GUI_DEV* dev = Dev();
    if (dev == nullptr) return 0;
    GUI_BOX r;
    dev->api->GetRect(dev, &r);
    if (x < r.x0 || x > r.x1 || y < r.y0 || y > r.y1) return 0;
    return dev->api->GetPixelIndex(dev, x, y);
}
