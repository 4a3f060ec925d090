// The simple page's harmonic view of the selected line: the orange header with its THD, and two groups of
// ten orders with their values and percentages. Numbers are shown only while the analysis runs on a line
// set to 50.00 or 60.00 Hz; otherwise "----", and a held popup says why while the analysis runs.
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/control/measure/harmonics.h"
#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"
#include "screens/output/simple/simple_paint.h"
#include "screens/output/simple/simple_windows.h"

namespace simple {
namespace {

constexpr const char* kNoValue = "----";
constexpr const char* kFrequencyPopup = "Only AC-INT And \n50/60Hz Active";
constexpr int kRowPitch = 37;
constexpr int kOrderRightX = 60;
constexpr int kOrdersPerPage = 20;

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

int Line() {
    return g_Shown.line < 3 ? static_cast<int>(g_Shown.line) : 0;
}

bool Voltage() {
    return g_Shown.harmonicQuantity == 0;
}

bool LineFrequencyAnalysed() {
    const int32_t f = GetFrequency(Line());
    return f == 5000 || f == 6000;
}

bool ValuesShown() {
    return Harm_AnalysisActive() != 0 && LineFrequencyAnalysed();
}

bool QuantityInvalid() {
    const HarmResult& h = g_HarmResult[Line()];
    return (Voltage() ? h.VInvalid : h.IInvalid).load(std::memory_order_relaxed) != 0;
}

float Magnitude(int order) {
    const HarmResult& h = g_HarmResult[Line()];
    return (Voltage() ? h.VMag[order] : h.IMag[order]).load(std::memory_order_relaxed);
}

float Percent(int order) {
    const HarmResult& h = g_HarmResult[Line()];
    return (Voltage() ? h.VPct[order] : h.IPct[order]).load(std::memory_order_relaxed);
}

// "st", "nd", "rd" belong to 1, 2 and 3 only: 21 and 81 read "21th", "81th".
void OrderText(char* out, size_t size, int order) {
    const char* suffix = order == 1 ? "st" : order == 2 ? "nd" : order == 3 ? "rd" : "th";
    std::snprintf(out, size, "%d%s", order, suffix);
}

void ValueText(char* out, size_t size, int order) {
    if (!ValuesShown()) {
        std::snprintf(out, size, "%s", kNoValue);
        return;
    }
    const double v = Magnitude(order);
    if (!Voltage())
        std::snprintf(out, size, "%2.2f Arms", v);
    else
        std::snprintf(out, size, v < 99.995 ? "%2.2f Vrms" : "%3.1f Vrms", v);
}

void PercentText(char* out, size_t size, int order) {
    if (!ValuesShown() || QuantityInvalid())
        std::snprintf(out, size, "%s", kNoValue);
    else
        std::snprintf(out, size, "%3.1f %%", static_cast<double>(Percent(order)));
}

// The popup is posted once while the analysis runs on another frequency, and closed again once the
// frequency is analysed or the analysis stops.
void TrackFrequencyPopup() {
    const bool active = Harm_AnalysisActive() != 0;
    if (active && !LineFrequencyAnalysed()) {
        if (g_Shown.popupShown == 0) {
            ShowErrorMessageHold(2, kFrequencyPopup);
            g_Shown.popupShown = 1;
        }
    } else {
        CloseHarmonicPopup();
    }
}

}  // namespace

void CloseHarmonicPopup() {
    if (g_Shown.popupShown == 0) return;
    MsgQueue_Clear();
    MsgPopup_Close();
    g_Shown.popupShown = 0;
}

}  // namespace simple

using namespace simple;

void SimplePaint_Harmonic(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    SetColorRGB(kHarmOrange);
    GUI_FillBox(2, 2, 707, 60);
}

void SimplePaint_HarmonicHeader(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    if (g_Shown.harmonicView != 1) {
        ClearWindow();
        return;
    }
    SetBkColorRGB(kHarmOrange);
    GUI_ClearWindow();
    SetColorRGB(kBlack);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_SelectFont(&kFont30);
    GUI_DrawTextAt(Voltage() ? "Harmonic Voltage Measure" : "Harmonic Current Measure", 5, 0);
    GUI_SelectFont(&kFont24);
    GUI_DrawTextAt(Voltage() ? "THDv =" : "THDi  =", 500, 10);
}

void SimplePaint_Thd(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    char text[24];
    if (!ValuesShown() || QuantityInvalid())
        std::snprintf(text, sizeof text, "%s", kNoValue);
    else
        std::snprintf(text, sizeof text, "%3.1f %%", static_cast<double>(Percent(0)));
    SetBkColorRGB(kHarmOrange);
    GUI_ClearWindow();  // the cell is taller than the text line
    DrawRightAlignedText(text, kBlack, kHarmOrange, &kFont24);
}

void SimplePaint_HarmonicColumn(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const int n = SimpleWin_IndexOf(msg->hWin) - kWinOrderLeft;
    if (n < 0 || n >= 6) return;
    const int group = n % 2, kind = n / 2;  // kind 0 orders, 1 values, 2 percents
    if (n == kWinHarmValueLeft - kWinOrderLeft) TrackFrequencyPopup();
    const int page = g_Shown.harmonicPage <= 4 ? static_cast<int>(g_Shown.harmonicPage) : 0;
    const int first = kOrdersPerPage * page + 1 + kHarmRows * group;
    char text[32];
    ClearWindow();
    if (kind == 0) {
        GUI_SelectFont(&kFontTable);
        GUI_SetTextDrawMode(GUI_TM_TRANS);
        SetColorRGB(TextColour());
        for (int j = 0; j < kHarmRows; ++j) {
            OrderText(text, sizeof text, first + j);
            GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_TOP);  // each text clears the horizontal alignment
            GUI_DrawTextAt(text, kOrderRightX, kRowPitch * j);
        }
        return;
    }
    for (int j = 0; j < kHarmRows; ++j) {
        if (kind == 1)
            ValueText(text, sizeof text, first + j);
        else
            PercentText(text, sizeof text, first + j);
        DrawRightAlignedTextAt(text, kRowPitch * j, kWhite, kBlack, &kFontTable);
    }
}
