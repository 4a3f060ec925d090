// The home page's frame: the slave notice, the body's backgrounds and frames, the separator above the set
// values and the line beside the settings panel.
#include <atomic>
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "core/params/access/param_access.h"
#include "core/system/links/parallel_link.h"
#include "panel/draw/panel_shapes.h"
#include "panel/pages/panel_fonts.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

// The separator's four rows, top to bottom: a light edge over a dark groove.
constexpr uint32_t kSeparatorRows[4] = {0x9A9A9A, 0x5A5A5A, 0x2E2E2E, 0x1A1A1A};

}  // namespace

void HomePaint_SlaveScreen(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    GUI_SelectFont(&kFont24);
    SetColorRGB(0xFFFFFF);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    char text[24] = "";
    if (g_ParallelActive.load(std::memory_order_acquire) == 1)
        std::snprintf(text, sizeof text, "Slave %d", static_cast<int>(GetParallelNumber()));
    GUI_DrawTextAt(text, 200, 200);
}

void HomePaint_Body(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    DrawContentBackground(1, 0);
    DrawFrame1px(521, 7, 193, 225);
    FillStrip185(524, 10, 220);
    for (int n = 1; n <= 5; ++n)
        DrawSeparator185(524, 10 + 36 * n);
}

// The window is opaque, so the body leaves its area to it: its top row, above the separator, shows the
// body's background (at the body's (1, 0), the window at the body's (8, 304)) instead of what was there.
void HomePaint_Separator(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    DrawContentBackground(1 - 8, -304);
    for (int row = 0; row < 4; ++row) {
        SetColorRGB(kSeparatorRows[row]);
        GUI_FillBox(0, 1 + row, 510, 1 + row);
    }
}

void HomePaint_VerticalBar(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    SetColorRGB(0xFFFFFF);
    GUI_Line(2, 2, 2, 300);
}
