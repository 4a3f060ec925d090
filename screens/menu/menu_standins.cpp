// Windows whose contents are drawn by later parts of the page (the value columns and rows, the preview pane,
// the password box): until then each clears itself to its background.
#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "panel/draw/panel_shapes.h"
#include "screens/menu/menu_paint.h"
#include "screens/menu/menu_windows.h"

namespace {
void Clear(WM_MSG_RECORD* msg, uint32_t background) {
    if (!MenuWin_BeginPaint(msg)) return;
    SetBkColorRGB(background);
    GUI_ClearWindow();
}
}  // namespace

void MenuPage_PaintColumn(WM_MSG_RECORD* msg) {
    Clear(msg, 0x666666);
}
void MenuPage_PaintRowValue(WM_MSG_RECORD* msg) {
    Clear(msg, 0x666666);
}
void MenuPage_PaintPreview(WM_MSG_RECORD* msg) {
    Clear(msg, 0xC0C0C0);
}
void MenuPage_PaintPasswordBox(WM_MSG_RECORD* msg) {
    Clear(msg, 0xE6E6E6);
}
void MenuPage_PaintPasswordField(WM_MSG_RECORD* msg) {
    Clear(msg, 0xE6E6E6);
}
