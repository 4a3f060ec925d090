#include "GUI/lcd/lcd_clip.h"

#include "GUI/device/gui_device.h"
#include "GUI/draw/gui_box.h"

namespace {

GUI_BOX ScreenRect() {
    GUI_BOX rect{0, 0, -1, -1};
    GUI_DEV* dev = GUI_Context.apDevice[GUI_Context.selLayer];
    if (dev != nullptr && dev->api->GetRect != nullptr) dev->api->GetRect(dev, &rect);
    return rect;
}

}  // namespace

void LCD_ClipToScreen() {
    GUI_Context.clipRect = ScreenRect();
}

int LCD_ClipToScreenRect(const GUI_BOX* rect) {
    const GUI_BOX screen = ScreenRect();
    if (gui::IntersectBoxes(&GUI_Context.clipRect, screen, *rect)) return 1;
    GUI_Context.clipRect = {0, 0, -1, -1};
    return 0;
}
