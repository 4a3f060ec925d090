#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/limits/phase_limits.h"
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/value_format.h"
#include "panel/menu/home_field_rows.h"
#include "panel/menu/panel_item_rows.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wave_numbers.h"

namespace {

using panel::home::HintLimits;
using panel::home::HomeHint;

constexpr int32_t kWholeDegreeMax = settings::kAngleMaxWholeDegrees;

// The records read on unit 0: the voltage limit and the panel items' that are the same for every phase.
bool UnitZeroRecord(uint32_t id) {
    return id == kParamVoltLimit || IsUnitZeroItemRecord(id);
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

void FormatHint(const HomeHint& hint, char* out, size_t size) {
    if (hint.record == kParamNone) {
        std::snprintf(out, size, "%s", hint.text);
        return;
    }
    const uint32_t phase = core::SelectedPhase();
    ParamRec rec;
    paramGetRecord(hint.record, &rec, UnitZeroRecord(hint.record) ? 0 : phase);
    int32_t max = rec.max, min = rec.min;
    // Editing all phases, a voltage is held to the tightest of the three phases' bounds.
    if (g_EditAllPhases.load(std::memory_order_relaxed) == 1) AllPhaseBounds(hint.record, &max, &min);
    if (hint.limits == HintLimits::kAngle && rec.decimals == 0) max = kWholeDegreeMax;
    if (hint.limits == HintLimits::kDuty) {
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
    if (hint.limits == HintLimits::kAngle || hint.limits == HintLimits::kUnitEach)
        std::snprintf(out, size, hint.text, lo, unit, hi, unit);
    else
        std::snprintf(out, size, hint.text, lo, hi, unit);
}

}  // namespace

void HintLine_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const panel::home::HomeFieldRow* row = panel::home::HomeFieldOf(g_OverlayTrack.state);
    if (row == nullptr || row->hint.text == nullptr) return;
    char text[128];
    FormatHint(row->hint, text, sizeof text);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, 0, 12);
}

void HintReadout_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg) || g_OverlayTrack.state != kParamAcv) return;
    const int phase = static_cast<int>(core::SelectedPhase());
    ParamRec rec;
    paramGetRecord(kParamAcv, &rec, static_cast<uint32_t>(phase));
    const int32_t wave = GetWaveform(phase);
    const float factor = GetWaveCrestFactor(wave);
    const int32_t work = g_EditShown.workValue;
    const bool vpp = GetAcvUnit() == 1;
    const bool showVpp = !vpp || wave == kWaveSin || wave == kWaveSqu;
    const int32_t other = showVpp ? RmsToVpp(work, factor) : VppToRms(work, factor);
    char value[24], text[40];
    FormatScaledValue(0, other, value, sizeof value, rec.decimals, rec.scale, "");
    std::snprintf(text, sizeof text, showVpp ? "%s Vpp" : "%s Vrms", value);
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, 160, 12);
}
