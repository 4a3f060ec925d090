// The one paint callback the MENU page gives the waveform-edit windows: each window to its painter.
#include "core/system/state/edit_state.h"
#include "engine/arb/arb_builder.h"
#include "panel/draw/panel_shapes.h"
#include "screens/menu/arbedit/arb_edit_paint.h"
#include "screens/menu/arbedit/arb_edit_table.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"

namespace arbedit {

int32_t DisplayedType() {
    return MenuPage_State() == kTypeEdit ? g_EditShown.workValue : ArbBuild_GetType();
}

void DrawBodyBackground(int dx, int dy) {
    DrawContentBackground(-dx, -dy);
}

}  // namespace arbedit

void ArbEditPage_Paint(WM_MSG_RECORD* msg) {
    using namespace menu;
    if (!MenuWin_BeginPaint(msg)) return;
    const int w = MenuWin_IndexOf(msg->hWin);
    if (w >= kWinArbField0 && w < kWinArbField0 + 10) {
        arbedit::PaintValueField(w - kWinArbField0);
        return;
    }
    switch (w) {
        case kWinArbTitle:
            arbedit::PaintTitle();
            return;
        case kWinRangeHint:
            arbedit::PaintRangeHint();
            return;
        case kWinRippleVpp:
            arbedit::PaintRippleVpp();
            return;
        case kWinLfRingTime:
            arbedit::PaintLfRingTime();
            return;
        case kWinArbBody:
            arbedit::PaintBody();
            return;
        case kWinArbPreview:
            arbedit::PaintPreview();
            return;
        case kWinArbPanel:
            arbedit::PaintParamPanel();
            return;
        case kWinHarmonicTable:
            arbedit::PaintHarmonicTable();
            return;
        default:
            ClearWindow();
            return;
    }
}
