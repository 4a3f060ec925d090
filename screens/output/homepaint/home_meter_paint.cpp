// The meter grid's twelve cells and their tags: cell n = column (phase) x 4 + item row.
#include <atomic>

#include "core/control/measure/meas_items.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_meter_draw.h"
#include "screens/output/homepaint/home_meter_items.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr int kCells = 12;
constexpr char kDashes[] = " - - - - ";

// The meter cell n whose own window (tag = false) or tag window (tag = true) is h, or -1.
int CellOf(WM_HWINDOW h, bool tag) {
    const int index = HomeWin_IndexOf(h);
    for (int n = 0; n < kCells; ++n)
        if (index == (tag ? home::CellTagWin(n) : home::MeterCellWin(n))) return n;
    return -1;
}

int32_t ItemOfRow(int row) {
    return paramGetValue(kParamMeasItem1 + static_cast<uint32_t>(row), 0);
}

// A phase the wiring lacks: 1P2W has L1 only, 1P3W L1 and L2.
bool PhaseMissing(uint32_t phaseMode, int phase) {
    return (phaseMode == kWiring1P2W && phase > 0) || (phaseMode == kWiring1P3W && phase > 1);
}

// Line-to-line voltages need two phases: in 1P2W the first two columns of rows 1 and 4 show dashes for
// them, and row 4 for the items past its list.
bool ShowsDashes(int row, int phase, int32_t item, int32_t quantity) {
    if (GetPhaseMode() != kWiring1P2W || phase > 1 || (row != 0 && row != 3)) return false;
    return MeasIsLineToLine(quantity) || (row == 3 && item > 8);
}

const char* TagText(int row, int phase, int32_t item, uint32_t phaseMode, uint32_t outputMode) {
    const int32_t quantity = MeasItemQuantity(static_cast<uint32_t>(row), outputMode, item);
    const bool lineToLine = MeasIsLineToLine(quantity);
    if (row == 0) {
        if (phaseMode == kWiring1P2W && (phase > 0 || lineToLine)) return "";
        if (phaseMode == kWiring1P3W && (phase == 2 || (phase == 1 && lineToLine))) return "";
    } else if (PhaseMissing(phaseMode, phase)) {
        return "";
    }
    if (lineToLine) return home::kLineToLineTag[phase];
    return item == 0 ? home::kFirstItemTag[row] : "";
}

}  // namespace

MeterFace HomeMeter_CellFace(int n) {
    const int phase = n / 4, row = n % 4;
    const int32_t item = ItemOfRow(row);
    const int32_t quantity = MeasItemQuantity(static_cast<uint32_t>(row), GetOutputMode(), item);
    const uint32_t colour = HomeMeter_Colour();
    if (ShowsDashes(row, phase, item, quantity)) return HomeMeter_TextFace(kDashes, "", colour);
    return HomeMeter_QuantityFace(quantity, phase, colour);
}

void HomePaint_MeterCell(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const int n = CellOf(msg->hWin, false);
    if (n < 0) return ClearWindow();
    const MeterFace face = HomeMeter_CellFace(n);
    HomeMeter_DrawCell(face);
    HomeMeter_NotePainted(msg, n, face);
}

void HomePaint_CellTag(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const int n = CellOf(msg->hWin, true);
    if (n < 0) return ClearWindow();
    const int phase = n / 4, row = n % 4;
    DrawYellowText(TagText(row, phase, ItemOfRow(row), GetPhaseMode(), GetOutputMode()));
}
