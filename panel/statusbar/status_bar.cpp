// The status bar window and its cells, and the refresh that invalidates a cell only when what it shows
// changed.
#include "panel/statusbar/status_bar.h"

#include "GUI/draw/gui_2d.h"
#include "panel/statusbar/status_draw.h"

namespace {

struct CellDef {
    int x, width;
    WM_CALLBACK* paint;
};
constexpr CellDef kCellDefs[statusbar::kCells] = {
    {0, 46, StatusOutput_Paint},   {46, 45, StatusLevel_Paint},   {91, 35, StatusRange_Paint},
    {126, 62, StatusUsbDev_Paint}, {188, 62, StatusAlarm_Paint},  {250, 50, StatusShift_Paint},
    {300, 35, StatusSense_Paint},  {335, 60, StatusUsbMem_Paint}, {395, 50, StatusIrms_Paint},
    {445, 50, StatusIpk_Paint},    {538, 55, StatusMaster_Paint}, {598, 40, StatusWiring_Paint},
    {638, 62, StatusNet_Paint},    {700, 30, StatusLock_Paint},
};

}  // namespace

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
        const CellDef& d = kCellDefs[i];
        view->cell[i] =
            WM_CreateChild(d.x, 0, d.width, statusbar::kCellHeight, view->bar, WM_CF_SHOW, d.paint, 0);
        if (view->cell[i] == 0) return -1;
        view->shown[i] = statusbar::CellKey(i, in);
    }
    return 0;
}

int StatusBar_Refresh(statusbar::View* view) {
    if (view->bar == 0) return 0;
    statusbar::Inputs in;
    statusbar::ReadInputs(&in);
    int changed = 0;
    for (int i = 0; i < statusbar::kCells; ++i) {
        const uint32_t key = statusbar::CellKey(i, in);
        if (key == view->shown[i]) continue;
        view->shown[i] = key;
        WM_Invalidate(view->cell[i]);
        ++changed;
    }
    return changed;
}
