// The set-value block: AC voltage, DC voltage and frequency of L1-L3, their row labels and frames.
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr int kRowAcv = 0, kRowFreq = 2;  // DCV is row 1
constexpr int kSplitX = 90;
constexpr uint32_t kWhite = 0xFFFFFF;

// The output modes that have the row's setting, as bit masks over modes 0-9.
constexpr uint32_t Modes(std::initializer_list<int> modes) {
    uint32_t m = 0;
    for (int mode : modes)
        m |= 1u << mode;
    return m;
}

struct SetRow {
    uint32_t id;  // parameter of L1; L2 and L3 follow, except the frequency (one id, unit = phase)
    bool idPerPhase;
    uint32_t modes;
    double oneDecimalFrom;  // magnitude from which one decimal is shown
    bool bothSigns;         // the bound applies to negative values too
    const char* unit;
    const char* dashes;
};

constexpr SetRow kRows[3] = {
    {kParamAcv, true, Modes({0, 1, 5, 6, 7, 8}), 100.0, false, " Vrms", " - - - - - "},
    {kParamDcv2, true, Modes({0, 2, 5, 7}), 100.0, true, "  Vdc", " - - - - - "},
    {kParamFreq, false, Modes({0, 1, 5, 6, 9}), 1000.0, false, "  Hz", "- - - - - "},
};

bool ColumnShown(int col) {
    const uint32_t phaseMode = GetPhaseMode();
    if (col == 1) return phaseMode == kWiring3P4W || phaseMode == kWiring1P3W;
    if (col == 2) return phaseMode == kWiring3P4W;
    return true;
}

// Stored and arbitrary waveforms are set in peak-to-peak volts when the unit setting asks for it.
const char* AcvUnit(int phase) {
    const int32_t wave = GetWaveform(phase);
    return GetAcvUnit() == 1 && wave != kWaveSin && wave != kWaveSqu ? " Vpp" : " Vrms";
}

void DrawCell(int row, int col) {
    const SetRow& r = kRows[row];
    SetBkColorRGB(0x000000);
    const uint32_t mode = GetOutputMode();
    if (mode >= core::kModes || (r.modes & (1u << mode)) == 0 || !ColumnShown(col)) {
        DrawValueWithUnit(r.dashes, "", kWhite, kSplitX, 0, &kFontSetValue, &kFontSetUnit);
        return;
    }
    const auto phase = static_cast<uint32_t>(col);
    ParamRec rec{};
    paramGetRecord(r.idPerPhase ? r.id + phase : r.id, &rec, phase);
    const int32_t setting = row == kRowAcv ? RoundTo5Digits(rec.value) : rec.value;
    // Scaled in float as the record keeps its scale: 10000 x 0.01 is 100 exactly, not 99.999998.
    const double value = static_cast<float>(setting) * rec.scale;
    const bool oneDecimal = value >= r.oneDecimalFrom || (r.bothSigns && value <= -r.oneDecimalFrom);
    char text[24];
    std::snprintf(text, sizeof text, oneDecimal ? "%.1f" : "%.2f", value);
    DrawValueWithUnit(text, row == kRowAcv ? AcvUnit(col) : r.unit, kWhite, kSplitX, 0, &kFontSetValue,
                      &kFontSetUnit);
}

// A white rounded box with a black one a pixel inside it, 128 x 40 from (x0, y0).
void DrawFrame(int x0, int y0) {
    for (int inset = 0; inset < 2; ++inset) {
        SetColorRGB(inset == 0 ? kWhite : 0x000000);
        const int l = x0 + inset, r = x0 + 127 - inset, t = y0 + 2 + inset, b = y0 + 37 - inset;
        for (int cx : {l + 4, r - 4})
            for (int cy : {t + 4, b - 4})
                GUI_FillDisc(cx, cy, 4);
        GUI_FillBox(l + 4, t, r - 4, b);
        GUI_FillBox(l, t + 4, r, b - 4);
    }
}

void DrawLabel(const char* text, int x, int y, const GUI_FONTDEF& font) {
    GUI_SelectFont(&font);
    GUI_DrawTextAt(text, x, y);
}

}  // namespace

int32_t RoundTo5Digits(int32_t v) {
    const int64_t magnitude = std::llabs(static_cast<int64_t>(v));
    if (magnitude < 100000) return v;
    return magnitude < 1000000 ? v - v % 10 : v - v % 100;
}

void HomePaint_SetValueCell(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const int index = HomeWin_IndexOf(msg->hWin);
    for (int row = kRowAcv; row <= kRowFreq; ++row)
        for (int col = 0; col < 3; ++col)
            if (index == home::SetCellWin(row, col)) return DrawCell(row, col);
    ClearWindow();
}

void HomePaint_SetLabels(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    ClearWindow();
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    SetColorRGB(kWhite);
    DrawLabel(" ACV", 0, 15, kFont16);
    DrawLabel(" DCV", 0, 57, kFont16);
    DrawLabel("FREQ", 0, 99, kFont16);
}

void HomePaint_SetFrames(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    ClearWindow();
    for (int x0 : {0, 169, 338})
        for (int y0 : {0, 42, 84})
            DrawFrame(x0, y0);
}
