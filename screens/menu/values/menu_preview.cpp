// The preview pane: what the focused top-menu entry holds, drawn once the preview delay has run out.
#include <cstdarg>
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/state/menu_state_ids.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/values/menu_preview_lines.h"

namespace menu::preview {

void Text(int x, int y, const char* text) {
    GUI_DrawTextAt(text, x, y);
}

void Linef(int x, int y, const char* format, ...) {
    char line[96];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Text(x, y, line);
}

}  // namespace menu::preview

void MenuPage_PaintPreview(WM_MSG_RECORD* msg) {
    using namespace menu::preview;
    if (!MenuWin_BeginPaint(msg)) return;
    SetBkColorRGB(0xC0C0C0);
    GUI_ClearWindow();
    if (g_MenuPageCache.previewDelay != 0) return;
    GUI_SelectFont(&kMenuListFont);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    SetColorRGB(kSummary);
    const uint32_t state = MenuPage_State();
    switch (state) {
        case kMenuSystemInfo:
            return SystemInfo();
        case kMenuMisc:
            return Misc();
        case kMenuLan:
            return Lan();
        case kMenuUsb:
            return Usb();
        case kMenuRs232:
            return Rs232();
        case kMenuOption:
        case kMenuCanopen:
        case kMenuDevicenet:
            return OptionInterface(state);
        case kMenuImpedance:
            return Impedance();
        case kMenuParallel:
            return Parallel();
        default:
            Explanation(state);
            return;
    }
}
