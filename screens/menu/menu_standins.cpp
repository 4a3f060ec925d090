// Windows whose contents are drawn by later parts of the page (the password box, the waveform-edit
// sub-page): until then each clears itself to its background.
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

void MenuPage_PaintPasswordBox(WM_MSG_RECORD* msg) {
    Clear(msg, 0xE6E6E6);
}
void MenuPage_PaintPasswordField(WM_MSG_RECORD* msg) {
    Clear(msg, 0xE6E6E6);
}
void ArbEditPage_Paint(WM_MSG_RECORD* msg) {
    Clear(msg, 0x000000);
}
