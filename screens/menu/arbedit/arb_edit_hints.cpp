// The title line of the waveform editor, the range hint that covers it while a value is edited, and the
// two readouts inside the hint: the ripple's peak-to-peak voltage and the LF-ring's duration.
#include <cstdio>

#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/format_number.h"
#include "engine/arb/arb_builder.h"
#include "panel/draw/panel_shapes.h"
#include "screens/menu/arbedit/arb_edit_paint.h"
#include "screens/menu/arbedit/arb_edit_table.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_ops.h"

namespace arbedit {
namespace {

// What a hint's "%s" places show.
enum class Arg : uint8_t {
    kNone,
    kDipSweepBelow,  // (sweep - 1) / 10
    kDipStartAbove,  // (start + 1) / 10
    kDipEndBelow,
    kDipSweepAbove,
    kRingEndBelow,
    kRingStartAbove,
    kAcvLow,  // the LF-ring ACV limits, as the AC-voltage record shows them
    kAcvHigh,
};

struct Hint {
    uint16_t state;
    const char* text;
    Arg a, b;
};

constexpr Hint kHints[] = {
    {kMenuArbTypeEdit, "Built In(TRI|STAIR|CLIP|CF-1|CF-2|SURGE|DST01-22|RIPPLE|DIP|LF-RING)", Arg::kNone,
     Arg::kNone},
    {kMenuArbTriangleEdit, "Symmetry(0 ~ 100%)", Arg::kNone, Arg::kNone},
    {kMenuArbStairsEdit, "Stairs(1 ~ 100)", Arg::kNone, Arg::kNone},
    {kMenuArbClipKeepRmsEdit, "RMS(RATIO|KEEP)", Arg::kNone, Arg::kNone},
    {kMenuArbClipEdit, "Ratio(0.00 ~ 1.00)", Arg::kNone, Arg::kNone},
    {kMenuArbCf1Edit, "CF(1.1 ~ 10.0)", Arg::kNone, Arg::kNone},
    {kMenuArbCf2Edit, "CF(1.5 ~ 2.0)", Arg::kNone, Arg::kNone},
    {kMenuArbSdSiteEdit, "Site(0 ~ 100%)", Arg::kNone, Arg::kNone},
    {kMenuArbSdAcvEdit, "ACV(0 ~ 100%)", Arg::kNone, Arg::kNone},
    {kMenuArbSdModeEdit, "Type(SQU|SIN)", Arg::kNone, Arg::kNone},
    {kMenuArbRippleLevelEdit, "Level(1 ~ 30%)", Arg::kNone, Arg::kNone},
    {kMenuArbRippleVdcEdit, "VDC(1 ~ 100)", Arg::kNone, Arg::kNone},
    {kMenuArbRippleTimesEdit, "Times(1|2|3|6)", Arg::kNone, Arg::kNone},
    {kMenuArbDipStartEdit, "Start Phs(0.1 ~ %s)", Arg::kDipSweepBelow, Arg::kNone},
    {kMenuArbDipSweepEdit, "Sweep Phs(%s ~ %s)", Arg::kDipStartAbove, Arg::kDipEndBelow},
    {kMenuArbDipEndEdit, "End Phs(%s ~ 359.9)", Arg::kDipSweepAbove, Arg::kNone},
    {kMenuArbLfRingAcvEdit, "ACV(%s ~ %s Vrms)", Arg::kAcvLow, Arg::kAcvHigh},
    {kMenuArbLfRingAmpEdit, "Amplitude(140 ~ 200%)", Arg::kNone, Arg::kNone},
    {kMenuArbLfRingBaseFreqEdit, "Base_Freq(50.0 ~ 200.0 Hz)", Arg::kNone, Arg::kNone},
    {kMenuArbLfRingRingFreqEdit, "Ring_Freq(200.0 ~ 5000.0 Hz)", Arg::kNone, Arg::kNone},
    {kMenuArbLfRingDecayEdit, "Decay(-0.100 ~ 0.100)", Arg::kNone, Arg::kNone},
    {kMenuArbLfRingStartEdit, "Start Phs(0.1 ~ %s)", Arg::kRingEndBelow, Arg::kNone},
    {kMenuArbLfRingEndEdit, "End Phs(%s ~ 359.9)", Arg::kRingStartAbove, Arg::kNone},
    {kMenuArbLfRingRingEdit, "Ring Phs(0.1 ~ 359.9)", Arg::kNone, Arg::kNone},
    {kMenuArbArbNoEdit, "ARB (1 ~ 253)", Arg::kNone, Arg::kNone},
};

constexpr int kTextSize = 96;

void Tenths(char* out, int32_t v) {
    std::snprintf(out, kTextSize, "%.1f", v / 10.0);
}

void ArgText(Arg a, char* out) {
    switch (a) {
        case Arg::kNone:
            out[0] = 0;
            return;
        case Arg::kDipSweepBelow:
            return Tenths(out, ArbBuild_GetDIPSweep() - 1);
        case Arg::kDipStartAbove:
            return Tenths(out, ArbBuild_GetDIPStart() + 1);
        case Arg::kDipEndBelow:
            return Tenths(out, ArbBuild_GetDIPEnd() - 1);
        case Arg::kDipSweepAbove:
            return Tenths(out, ArbBuild_GetDIPSweep() + 1);
        case Arg::kRingEndBelow:
            return Tenths(out, ArbBuild_GetLFRingEnd() - 1);
        case Arg::kRingStartAbove:
            return Tenths(out, ArbBuild_GetLFRingStart() + 1);
        case Arg::kAcvLow:
        case Arg::kAcvHigh: {
            ParamRec rec{};
            paramGetRecord(kParamAcv, &rec, 0);
            const int32_t limit = a == Arg::kAcvLow ? rec.defaultMin : rec.defaultMax;
            FormatNumber(0, out, rec.decimals, nullptr, static_cast<float>(limit) * rec.scale);
            return;
        }
    }
}

void TextStyle() {
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kMenuListFont);
    SetColorRGB(0xFFFFFF);
}

// A builder value, or the working value while its own edit state is current.
int32_t Live(uint32_t edit, int32_t (*get)()) {
    return MenuPage_State() == edit ? g_EditShown.workValue : get();
}

}  // namespace

bool RangeHintText(uint32_t state, char* out, int size) {
    for (const Hint& h : kHints) {
        if (h.state != state) continue;
        char a[kTextSize], b[kTextSize];
        ArgText(h.a, a);
        ArgText(h.b, b);
        if (h.a == Arg::kNone)
            std::snprintf(out, static_cast<size_t>(size), "%s", h.text);
        else
            std::snprintf(out, static_cast<size_t>(size), h.text, a, b);
        return true;
    }
    return false;
}

bool RippleVppText(char* out, int size) {
    ParamRec rec{};
    paramGetRecord(kParamAcv, &rec, 0);
    if (rec.scale == 0.0f) return false;
    const double vpp = Live(kMenuArbRippleLevelEdit, ArbBuild_GetRippleLevel) *
                       static_cast<double>(Live(kMenuArbRippleVdcEdit, ArbBuild_GetRippleVDC)) / 100.0;
    const auto steps = static_cast<int64_t>(vpp / static_cast<double>(rec.scale));
    char number[kNumberTextSize];
    FormatNumber(0, number, rec.decimals, nullptr, static_cast<float>(steps) * rec.scale);
    std::snprintf(out, static_cast<size_t>(size), "%s Vpp", number);
    return true;
}

bool LfRingTimeText(char* out, int size) {
    const int32_t base = Live(kMenuArbLfRingBaseFreqEdit, ArbBuild_GetLFRingBaseFreq);
    if (base == 0) return false;
    const int32_t start = Live(kMenuArbLfRingStartEdit, ArbBuild_GetLFRingStart),
                  end = Live(kMenuArbLfRingEndEdit, ArbBuild_GetLFRingEnd);
    const double ms = (end - start) / 3600.0 * 1000.0 / (base / 10.0);
    std::snprintf(out, static_cast<size_t>(size), "%.2f ms", ms);
    return true;
}

void PaintTitle() {
    ClearWindow();
    TextStyle();
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_DrawTextAt("Arbitrary Edit", 0, 12);
}

void PaintRangeHint() {
    ClearWindow();
    char text[kTextSize];
    if (!RangeHintText(MenuPage_State(), text, sizeof text)) return;
    TextStyle();
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, 0, 12);
}

void PaintRippleVpp() {
    ClearWindow();
    const uint32_t state = MenuPage_State();
    char text[kTextSize];
    if ((state != kMenuArbRippleLevelEdit && state != kMenuArbRippleVdcEdit) ||
        !RippleVppText(text, sizeof text))
        return;
    TextStyle();
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, 160, 12);
}

void PaintLfRingTime() {
    ClearWindow();
    const uint32_t state = MenuPage_State();
    char text[kTextSize];
    if ((state != kMenuArbLfRingBaseFreqEdit && state != kMenuArbLfRingStartEdit &&
         state != kMenuArbLfRingEndEdit) ||
        !LfRingTimeText(text, sizeof text))
        return;
    TextStyle();
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, 160, 12);
}

}  // namespace arbedit
