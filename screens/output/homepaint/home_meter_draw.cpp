#include "screens/output/homepaint/home_meter_draw.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "GUI/lcd/color_rgb.h"
#include "core/control/measure/meas_getters.h"
#include "core/control/measure/meas_items.h"
#include "core/params/param_store.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"

namespace {

using Getter = float (*)(char* text, const char** unit, int phase, int mode);
constexpr int kScreenMode = 0;
constexpr int kSplitX = 150;
constexpr int kPowerSplitX = 110;

// Indexed by MeasItemChoice.
constexpr Getter kDrawers[kMeasChoiceCount] = {
    MeasGetVrms,
    MeasGetVavg,
    MeasGetVmax,
    MeasGetVmin,
    MeasGetVpkHold,
    MeasGetIrms,
    MeasGetIavg,
    MeasGetImax,
    MeasGetImin,
    MeasGetIpkHold,
    [](char* t, const char** u, int p, int m) { return MeasGetPower(t, u, p, m, 0); },
    [](char* t, const char** u, int p, int m) { return MeasGetApparent(t, u, p, m, 0); },
    [](char* t, const char** u, int p, int m) { return MeasGetReactive(t, u, p, m, 0); },
    MeasGetFreq,
    MeasGetPF,
    MeasGetCF,
    MeasGetThdV,
    MeasGetThdI,
    MeasGetVllRms,
    MeasGetVllAvg,
    MeasGetVllMax,
    MeasGetVllMin,
};

// The faces the cells were last painted with; only the GUI thread paints and refreshes.
MeterFace g_painted[kMeterFaceSlots];
bool g_noted[kMeterFaceSlots] = {};

// A paint's area is the window's invalid part: all of it after a repaint, what a window above uncovered
// when that one went or moved.
bool PaintsWholeWindow(const WM_MSG_RECORD* msg) {
    const auto* area = static_cast<const GUI_BOX*>(msg->Data.p);
    if (area == nullptr) return true;
    GUI_BOX whole;
    {
        wm::Locked w(msg->hWin);
        if (!w) return false;
        whole = w->rect;
    }
    if (!wm::ClipToVisible(msg->hWin, &whole)) return false;
    return area->x0 <= whole.x0 && area->y0 <= whole.y0 && area->x1 >= whole.x1 && area->y1 >= whole.y1;
}

}  // namespace

bool MeterFace::operator==(const MeterFace& o) const {
    if (cleared || o.cleared) return cleared == o.cleared;
    return colour == o.colour && std::strcmp(value, o.value) == 0 && std::strcmp(unit, o.unit) == 0;
}

MeterFace HomeMeter_TextFace(const char* value, const char* unit, uint32_t colour) {
    MeterFace face;
    face.cleared = false;
    std::snprintf(face.value, sizeof face.value, "%s", value);
    std::snprintf(face.unit, sizeof face.unit, "%s", unit != nullptr ? unit : "");
    face.colour = colour;
    return face;
}

MeterFace HomeMeter_QuantityFace(int32_t quantity, int phase, uint32_t colour) {
    if (quantity < 0 || quantity >= kMeasChoiceCount) return MeterFace{};
    char text[kNumberTextSize] = "";
    const char* unit = "";
    kDrawers[quantity](text, &unit, phase, kScreenMode);
    return HomeMeter_TextFace(text, unit, colour);
}

void HomeMeter_DrawCell(const MeterFace& face) {
    if (face.cleared) return ClearWindow();
    SetBkColorRGB(0x000000);
    DrawValueWithUnit(face.value, face.unit, face.colour, kSplitX, 0, &kFontMeterValue, &kFontMeterUnit);
}

void HomeMeter_DrawPower(const MeterFace& face) {
    if (face.cleared) return ClearWindow();
    SetBkColorRGB(0x000000);
    DrawValueWithUnit(face.value, face.unit, face.colour, kPowerSplitX, 0, &kFontPowerValue, &kFontPowerUnit);
}

uint32_t HomeMeter_Colour() {
    const bool held = (g_ParamFlags.load(std::memory_order_relaxed) & core::kFlagMeterHold) != 0;
    return held ? kMeterHeldGrey : kMeterWhite;
}

void HomeMeter_NotePainted(const WM_MSG_RECORD* msg, int slot, const MeterFace& face) {
    if (slot < 0 || slot >= kMeterFaceSlots) return;
    if (!PaintsWholeWindow(msg)) {
        // Only the part a window above uncovered took this face; the rest keeps the one noted, and the
        // countdown, finding this face already shown, would leave the cell half old for good.
        if (!HomeMeter_Shows(slot, face)) WM_Invalidate(msg->hWin);
        return;
    }
    g_painted[slot] = face;
    g_noted[slot] = true;
}

bool HomeMeter_Shows(int slot, const MeterFace& face) {
    return slot >= 0 && slot < kMeterFaceSlots && g_noted[slot] && g_painted[slot] == face;
}

void HomeMeter_ForgetPainted() {
    for (bool& noted : g_noted)
        noted = false;
}
