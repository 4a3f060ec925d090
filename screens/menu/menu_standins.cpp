// The waveform-edit sub-page's windows, drawn by a later part of the page: until then each clears itself
// to its background.
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

void ArbEditPage_Paint(WM_MSG_RECORD* msg) {
    Clear(msg, 0x000000);
}
