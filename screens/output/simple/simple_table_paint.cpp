// The simple page's meter table: the frame of the three phase columns, the label cells by meter set and
// the value cells over the measurement getters.
#include <atomic>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/control/measure/meas_getters.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/state/service_flags.h"
#include "core/system/util/format_number.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/simple/simple_paint.h"
#include "screens/output/simple/simple_windows.h"

namespace simple {
namespace {

constexpr int kFirstAcRow = 7;  // S, Q, PF, CF: nothing to show in DC-INT
constexpr const char* kAbsentPhase = " - - - - ";

// Label of each row by meter set (0 RMS, 1 AVG, 2 PEAK); null leaves the row blank.
constexpr const char* kLabels[3][kRows] = {
    {"V", "I", nullptr, nullptr, "VpkH", "IpkH", "P", "S", "Q", "PF", "CF"},
    {"Vavg", "Iavg", nullptr, nullptr, "VpkH", "IpkH", "P", "S", "Q", "PF", "CF"},
    {"Vmax", "Vmin", "Imax", "Imin", "VpkH", "IpkH", "P", "S", "Q", "PF", "CF"},
};

using Getter = float (*)(char* text, const char** unit, int phase, int mode);
constexpr Getter kPowerGetter = [](char* t, const char** u, int p, int m) { return MeasGetPower(t, u, p, m, 0); };
constexpr Getter kApparentGetter = [](char* t, const char** u, int p, int m) {
    return MeasGetApparent(t, u, p, m, 0);
};
constexpr Getter kReactiveGetter = [](char* t, const char** u, int p, int m) {
    return MeasGetReactive(t, u, p, m, 0);
};

// The quantity of each row by meter set, beside its label.
constexpr Getter kGetters[3][kRows] = {
    {MeasGetVrms, MeasGetIrms, nullptr, nullptr, MeasGetVpkHold, MeasGetIpkHold, kPowerGetter, kApparentGetter,
     kReactiveGetter, MeasGetPF, MeasGetCF},
    {MeasGetVavg, MeasGetIavg, nullptr, nullptr, MeasGetVpkHold, MeasGetIpkHold, kPowerGetter, kApparentGetter,
     kReactiveGetter, MeasGetPF, MeasGetCF},
    {MeasGetVmax, MeasGetVmin, MeasGetImax, MeasGetImin, MeasGetVpkHold, MeasGetIpkHold, kPowerGetter,
     kApparentGetter, kReactiveGetter, MeasGetPF, MeasGetCF},
};

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

// A cell is taller than the text line: its rows below the text get the background too.
void DrawCell(const char* left, const char* right, uint32_t bkColour) {
    SetBkColorRGB(bkColour);
    GUI_ClearWindow();
    DrawLabelValueRow(left, right, TextColour(), bkColour, &kFontTable);
}

uint32_t ShownSet() {
    return g_Shown.meterSet < 3 ? g_Shown.meterSet : 0;
}

// The row is empty for the meter set shown and the output mode.
bool RowBlank(int row) {
    return kLabels[ShownSet()][row] == nullptr || (row >= kFirstAcRow && GetOutputMode() == kModeDcInt);
}

// Column L2 has an output of its own in 3P4W and 1P3W, L3 only in 3P4W, unless the service switch shows
// all three.
bool PhaseShown(int col) {
    if (col == 0 || g_ServiceFlags.threePhase1P2W.load(std::memory_order_relaxed) == 1) return true;
    const uint32_t wiring = GetPhaseMode();
    return wiring == kWiring3P4W || (col == 1 && wiring == kWiring1P3W);
}

// Table row and phase column of a cell window counted from first, or false for another window.
bool CellOf(WM_HWINDOW h, int first, int* row, int* col) {
    const int n = SimpleWin_IndexOf(h) - first;
    if (n < 0 || n >= kCells) return false;
    *row = n % kRows;
    *col = n / kRows;
    return true;
}

}  // namespace
}  // namespace simple

using namespace simple;

void SimplePaint_Root(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ClearWindow();
}

void SimplePaint_Body(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    DrawContentBackground(2, 0);
}

void SimplePaint_Table(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    static constexpr const char* kHeads[kColumns] = {"L1", "L2", "L3"};
    GUI_SelectFont(&kFont24);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    for (int c = 0; c < kColumns; ++c) {
        const int dx = 233 * c;
        DrawFrame1px(5 + dx, 4, 233, 434);
        FillStrip185(50 + dx, 7, 428);
        for (int k = 1; k <= 10; ++k)
            DrawSeparator185(50 + dx, 7 + 38 * k);
        SetColorRGB(kWhite);
        GUI_DrawTextAt(kHeads[c], 15 + dx, 10);
    }
}

void SimplePaint_LabelCell(WM_MSG_RECORD* msg) {
    int row = 0, col = 0;
    if (!Painting(msg) || !CellOf(msg->hWin, kWinLabel0, &row, &col)) return;
    const char* label = RowBlank(row) ? "" : kLabels[ShownSet()][row];
    DrawCell(label, "", kLabelGrey);
}

void SimplePaint_ValueCell(WM_MSG_RECORD* msg) {
    int row = 0, col = 0;
    if (!Painting(msg) || !CellOf(msg->hWin, kWinValue0, &row, &col)) return;
    char text[kNumberTextSize] = "";
    const char* unit = "";
    if (!RowBlank(row)) {
        if (!PhaseShown(col)) {
            DrawCell(kAbsentPhase, "", kValueGrey);
            return;
        }
        kGetters[ShownSet()][row](text, &unit, col, 0);
    }
    DrawCell(text, unit != nullptr ? unit : "", kValueGrey);
}
