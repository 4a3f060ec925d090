#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/value_format.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"
#include "panel/pages/panel_fonts.h"

namespace {

constexpr int32_t kWholeDegreeMax = settings::kAngleMaxWholeDegrees;

struct HintText {
    uint32_t state;
    const char* format;
    uint32_t record;  // the record whose limits fill the text; 0 for a fixed text
};

// Limits with the unit once at the end ("%s ~ %s %s"), or each with its unit ("%s%s ~ %s%s").
constexpr HintText kHints[] = {
    {12, "Quick Freq (%s ~ %s %s): ", 12},
    {22, "Voltage Range : %s ~ %s %s", 8},
    {30, "Wave Shape (ARB1-16|SIN|SQU|TRI|ARB17-ARB253): ", 0},
    {33, "Wave Shape (ARB1-16|SIN|SQU|TRI|ARB17-ARB253): ", 0},
    {34, "Duty(%s ~ %s)", 34},
    {45, "PHASE: ", 0},
    {46, "Output Mode: ", 0},
    {47, "Quick ACV (%s ~ %s %s): ", 47},
    {51, "Quick DCV (%s ~ %s %s): ", 51},
    {54, "Quick DCV (%s ~ %s %s): ", 54},
    {58, "Quick Irms (%s ~ %s %s): ", 58},
    {61, "Quick Irms (%s ~ %s %s): ", 61},
    {64, "Quick ON Phase (%s%s ~ %s%s): ", 64},
    {67, "Quick ON Phase (%s%s ~ %s%s): ", 67},
    {68, "Quick OFF Phase (%s%s ~ %s%s): ", 68},
    {71, "Quick OFF Phase (%s%s ~ %s%s): ", 71},
    {73, "L1 - L2 (%s%s ~ %s%s):", 73},
    {74, "L1 - L3 (%s%s ~ %s%s):", 74},
    {75, "Quick Gain (%s ~ %s): ", 75},
    {78, "Quick Gain (%s ~ %s): ", 78},
    {81, "SIG Mode (L1 LINE ~ EXT): ", 0},
    {84, "External Source(L1 - L3 External)", 0},
    {87, "External Source(L1 - L3 External)", 0},
    {88, "External Source(L1 - L3 External)", 0},
    {89, "Sync Phase (%s%s ~ %s%s): ", 89},
};

bool UnitZeroRecord(uint32_t id) {
    return id == kParamVoltLimit || id == kParamBalance2 || id == kParamBalance3 || id == kParamSyncPhase;
}

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return false;
    }
    panel::OverlayCountPaint(msg->hWin);
    SetBkColorRGB(0x000000);
    GUI_ClearWindow();
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont10);
    SetColorRGB(0xFFFFFF);
    return true;
}

void FormatHint(const HintText& hint, char* out, size_t size) {
    if (hint.record == 0) {
        std::snprintf(out, size, "%s", hint.format);
        return;
    }
    const uint32_t phase = core::SelectedPhase();
    ParamRec rec;
    paramRW(0, hint.record, &rec, UnitZeroRecord(hint.record) ? 0 : phase);
    int32_t max = rec.max, min = rec.min;
    const bool angle = hint.state >= 64 && hint.state <= 71;
    if ((angle || hint.state == 89) && rec.decimals == 0) max = kWholeDegreeMax;
    if (hint.state == 34) {
        const int32_t freq = GetFrequency(static_cast<int>(phase));
        if (freq >= 100000) {
            max = 900;
            min = 100;
        } else if (freq >= 10000) {
            max = 990;
            min = 10;
        }
    }
    char lo[24], hi[24];
    FormatScaledValue(0, min, lo, sizeof lo, rec.decimals, rec.scale, "");
    FormatScaledValue(0, max, hi, sizeof hi, rec.decimals, rec.scale, "");
    const char* unit = rec.unitText != nullptr ? rec.unitText : "";
    if (angle || hint.state == 73 || hint.state == 74 || hint.state == 89)
        std::snprintf(out, size, hint.format, lo, unit, hi, unit);
    else
        std::snprintf(out, size, hint.format, lo, hi, unit);
}

}  // namespace

void HintLine_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    for (const HintText& hint : kHints) {
        if (hint.state != g_OverlayTrack.state) continue;
        char text[128];
        FormatHint(hint, text, sizeof text);
        GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
        GUI_DrawTextAt(text, 0, 12);
        return;
    }
}

void HintReadout_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg) || g_OverlayTrack.state != kParamAcv) return;
    const int phase = static_cast<int>(core::SelectedPhase());
    ParamRec rec;
    paramRW(0, kParamAcv, &rec, static_cast<uint32_t>(phase));
    const int32_t wave = GetWaveform(phase);
    const float factor = GetWaveCrestFactor(wave);
    const int32_t work = g_EditShown.workValue;
    const bool vpp = GetAcvUnit() == 1;
    const bool showVpp = !vpp || wave == 16 || wave == 17;
    const int32_t other = showVpp ? RmsToVpp(work, factor) : VppToRms(work, factor);
    char value[24], text[40];
    FormatScaledValue(0, other, value, sizeof value, rec.decimals, rec.scale, "");
    std::snprintf(text, sizeof text, showVpp ? "%s Vpp" : "%s Vrms", value);
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, 160, 12);
}
