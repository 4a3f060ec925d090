// The settings panel, phase header, lists and phasor are drawn black until their painters are built.
#include "panel/draw/panel_shapes.h"
#include "screens/output/home_paint.h"

namespace {
void Black(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT)
        ClearWindow();
    else
        WM_DefaultHandler(msg);
}
}  // namespace

void HomePaint_PanelLowerFrame(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_PhaseHeader(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_Phasor(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_PanelLabel(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_PanelValue(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_PanelScroll(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_MeasItemList(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_MeasItemListHead(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_ModeList(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_ModeListHead(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_LineList(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_LineListHead(WM_MSG_RECORD* msg) {
    Black(msg);
}
