// The page's frames: the main window and the content window with their rounded grey panels, and the
// soft-key column behind the keys.
#include <initializer_list>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/draw/panel_shapes.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"

namespace {

// A rounded panel: the corners' discs and two crossing boxes.
struct RoundedPanel {
    int r;
    int x0, y0, x1, y1;  // the discs' centres
};

void Fill(const RoundedPanel& p, uint32_t colour) {
    SetColorRGB(colour);
    for (int x : {p.x0, p.x1})
        for (int y : {p.y0, p.y1})
            GUI_FillDisc(x, y, p.r);
    GUI_FillBox(p.x0, p.y0 - p.r, p.x1, p.y1 + p.r);
    GUI_FillBox(p.x0 - p.r, p.y0, p.x1 + p.r, p.y1);
}

// White, then grey one pixel inside it: a 1-pixel white rim.
void RimmedPanel(const RoundedPanel& white, const RoundedPanel& grey) {
    Fill(white, 0xFFFFFF);
    Fill(grey, 0x666666);
}

// The top-menu rows (without Parallel) and the two fieldbus and barcode lists show the inner panel.
constexpr uint32_t kPanelStates[] = {kMenuSystemInfo,
                                     kMenuMisc,
                                     kMenuLan,
                                     kMenuUsb,
                                     kMenuRs232,
                                     kMenuOption,
                                     kMenuCanopen,
                                     kMenuDevicenet,
                                     kMenuImpedance,
                                     kMenuArbEdit,
                                     kMenuDefaultSetting,
                                     kMenuSpecialFunction,
                                     kMenuSaveRecall,
                                     291};
;

}  // namespace

void MenuPage_PaintMain(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    ClearWindow();
    DrawContentBackground(2, 0);
    RimmedPanel({5, 18, 46, 718, 446}, {5, 19, 47, 717, 445});
}

void MenuPage_PaintContent(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    ClearWindow();
    DrawContentBackground(2, 0);
    const uint32_t state = MenuPage_State();
    for (uint32_t s : kPanelStates)
        if (s == state) RimmedPanel({4, 14, 14, 709, 434}, {4, 15, 15, 708, 433});
}

void MenuPage_PaintKeyColumn(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    ClearWindow();
}
