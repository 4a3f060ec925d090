// The total-power block: six totals of the measurement with their letters and "TOTAL" columns.
#include <cstdio>
#include <initializer_list>

#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "core/control/measure/meas_getters.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_meter_draw.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

using Total = float (*)(char*, const char**, int, int);
constexpr int kValueOnly = 2;
constexpr uint32_t kWhite = 0xFFFFFF;

enum class Format { kVoltsAmps, kKilo, kPowerFactor };

struct PowerCell {
    Total total;
    Format format;
    const char* unit;
    const char* kiloUnit;
};

// In window order: V, A, W, VA, var, PF. The active-power total reads a small negative value as 0.
constexpr PowerCell kCells[6] = {
    {MeasGetVrmsTotal, Format::kVoltsAmps, " V", nullptr},
    {MeasGetIrmsTotal, Format::kVoltsAmps, " A", nullptr},
    {MeasGetPowerTotal, Format::kKilo, " W", " KW"},
    {MeasGetApparentTotal, Format::kKilo, " VA", " KVA"},
    {MeasGetReactiveTotal, Format::kKilo, " var", " Kvar"},
    {MeasGetPFTotal, Format::kPowerFactor, "", nullptr},
};

MeterFace Face(const PowerCell& c) {
    double v = c.total(nullptr, nullptr, 0, kValueOnly);
    const char* unit = c.unit;
    const char* format = "%.1f";
    switch (c.format) {
        case Format::kVoltsAmps:
            format = v >= 1000.0 ? "%.1f" : "%.2f";
            break;
        case Format::kKilo:
            if (v >= 9999.5) {
                v /= 1000.0;
                format = "%.2f";
                unit = c.kiloUnit;
            }
            break;
        case Format::kPowerFactor:
            format = v >= 1000.0 ? "%.1f" : v >= 100.0 ? "%.2f" : "%.3f";
            break;
    }
    char text[32];
    std::snprintf(text, sizeof text, format, v);
    return HomeMeter_TextFace(text, unit, HomeMeter_Colour());
}

void WhiteLabels(const GUI_FONTDEF& font) {
    ClearWindow();
    GUI_SelectFont(&font);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    SetColorRGB(kWhite);
}

}  // namespace

void HomePaint_PowerCell(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const int k = HomeWin_IndexOf(msg->hWin) - home::kWinPowerCell0;
    if (k < 0 || k >= 6) return ClearWindow();
    const MeterFace face = Face(kCells[k]);
    HomeMeter_DrawPower(face);
    HomeMeter_NotePainted(msg, MeterFaceSlotOfPower(k), face);
}

MeterFace HomeMeter_PowerFace(int k) {
    return k >= 0 && k < 6 ? Face(kCells[k]) : MeterFace{};
}

void HomePaint_PowerLabels(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    WhiteLabels(kFontPowerLabel);
    GUI_DrawTextAt("V", 0, 15);
    GUI_DrawTextAt("I", 6, 57);
    GUI_DrawTextAt("P", 0, 99);
    GUI_DrawTextAt("S", 246, 15);
    GUI_DrawTextAt("Q", 241, 57);
    GUI_DrawTextAt("PF", 233, 99);
}

void HomePaint_TotalLabels(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    WhiteLabels(kFontTotalLabel);
    for (int y : {17, 59, 101})
        GUI_DrawTextAt("TOTAL", 0, y);
}
