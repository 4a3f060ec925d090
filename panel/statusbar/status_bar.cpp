// The status bar window and its cells, and the change check that finds a cell only when what it shows
// changed.
#include "panel/statusbar/status_bar.h"

#include "GUI/draw/gui_2d.h"
#include "panel/statusbar/status_draw.h"

void StatusBar_Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    statusbar::ClearCell();
    statusbar::DrawBarStrip(0, 21);
}

int StatusBar_Create(WM_HWINDOW parent, statusbar::View* view) {
    *view = statusbar::View{};
    view->bar = WM_CreateChild(0, 0, statusbar::kBarWidth, statusbar::kBarHeight, parent, WM_CF_SHOW,
                               StatusBar_Paint, 0);
    if (view->bar == 0) return -1;
    statusbar::Inputs in;
    statusbar::ReadInputs(&in);
    for (int i = 0; i < statusbar::kCells; ++i) {
        const statusbar::CellDef& d = statusbar::kCellDefs[i];
        view->cell[i] =
            WM_CreateChild(d.x, 0, d.width, statusbar::kCellHeight, view->bar, WM_CF_SHOW, d.paint, 0);
        if (view->cell[i] == 0) return -1;
        view->shown[i] = statusbar::CellKey(static_cast<statusbar::Cell>(i), in);
    }
    return 0;
}

int StatusBar_NextChange(statusbar::View* view, const statusbar::Inputs& in) {
    for (int i = 0; i < statusbar::kCells; ++i) {
        const uint32_t key = statusbar::CellKey(static_cast<statusbar::Cell>(i), in);
        if (key == view->shown[i]) continue;
        view->shown[i] = key;
        return i;
    }
    return -1;
}
