// PENDING: replaced by the cell and soft-key painters; black windows until then.
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

void HomePaint_MeterCell(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_CellTag(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_SetLabels(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_SetFrames(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_SetValueCell(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_PowerLabels(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_TotalLabels(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomePaint_PowerCell(WM_MSG_RECORD* msg) {
    Black(msg);
}
void HomeSoftKey_Paint(WM_MSG_RECORD* msg) {
    Black(msg);
}
int32_t RoundTo5Digits(int32_t v) {
    return v;
}
