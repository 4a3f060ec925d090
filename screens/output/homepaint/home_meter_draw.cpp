#include "screens/output/homepaint/home_meter_draw.h"

#include <atomic>

#include "GUI/lcd/color_rgb.h"
#include "core/control/measure/meas_getters.h"
#include "core/control/measure/meas_items.h"
#include "core/params/param_store.h"
#include "core/system/util/format_number.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"

namespace {

using Getter = float (*)(char* text, const char** unit, int phase, int mode);
constexpr int kScreenMode = 0;
constexpr int kSplitX = 150;

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

}  // namespace

void HomeMeter_DrawText(const char* value, const char* unit, uint32_t colour) {
    SetBkColorRGB(0x000000);
    DrawValueWithUnit(value, unit, colour, kSplitX, 0, &kFontMeterValue, &kFontMeterUnit);
}

void HomeMeter_DrawQuantity(int32_t quantity, int phase, uint32_t colour) {
    if (quantity < 0 || quantity >= kMeasChoiceCount) return;
    char text[kNumberTextSize] = "";
    const char* unit = "";
    kDrawers[quantity](text, &unit, phase, kScreenMode);
    HomeMeter_DrawText(text, unit != nullptr ? unit : "", colour);
}

uint32_t HomeMeter_Colour() {
    const bool held = (g_ParamFlags.load(std::memory_order_relaxed) & core::kFlagMeterHold) != 0;
    return held ? kMeterHeldGrey : kMeterWhite;
}
