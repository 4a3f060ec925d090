// The phase header above the meter grid: a coloured tab per phase in use, the output impedance's L and R
// when it is on, and each phase's waveform in a small box, or the power modules' temperatures while the
// service display asks for them.
#include <cstdio>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/control/measure/meas_getters.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/service_flags.h"
#include "panel/draw/panel_shapes.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kBoxFace = 0xF77721, kTempColour = 0xFF0000;

struct Tab {
    int x0, x1;
    uint32_t colour;
};
constexpr Tab kTabs[3] = {{0, 168, 0xFFCA19}, {172, 340, 0x2572D8}, {343, 511, 0x16912C}};
constexpr int kTabTop = 2, kTabBottom = 32;

// Per phase: the impedance's L and R parameters and their x; the box's offset, the label's anchor and the
// temperature's x.
struct PhaseSpot {
    uint32_t inductance, resistance;
    int impedanceX, boxDx, labelX, labelY, tempX;
};
constexpr PhaseSpot kSpots[3] = {
    {kParamInductanceL1, kParamResistanceL1, 110, 0, 24, 14, 10},
    {kParamInductanceL2, kParamResistanceL2, 279, 169, 193, 15, 180},
    {kParamInductanceL3, kParamResistanceL3, 448, 338, 362, 15, 348},
};
constexpr const char* kPhaseLabels[3] = {"L1", "L2", "L3"};
constexpr int kLY = 10, kRY = 25, kTempY = 15, kNameX = 78, kNameY = 9;
constexpr int32_t kFourDigits = 9999;

// The rounded box of L1; the other phases' lie dx to the right. Each layer: four corner discs and two
// crossing bars.
struct RoundBox {
    int left, right, top, bottom;  // disc centres
    int r;
};
constexpr RoundBox kOuterBox{53, 102, 10, 21, 3};
constexpr RoundBox kInnerBox{54, 101, 11, 20, 3};

void FillRound(const RoundBox& b, int dx) {
    GUI_FillDisc(b.left + dx, b.top, b.r);
    GUI_FillDisc(b.right + dx, b.top, b.r);
    GUI_FillDisc(b.left + dx, b.bottom, b.r);
    GUI_FillDisc(b.right + dx, b.bottom, b.r);
    GUI_FillBox(b.left + dx, b.top - b.r, b.right + dx, b.bottom + b.r);
    GUI_FillBox(b.left - b.r + dx, b.top, b.right + b.r + dx, b.bottom);
}

// Phases shown: 1P2W L1 only, 1P3W L1 and L2, 3P4W all three.
int PhasesOf(uint32_t wiring) {
    return wiring == kWiring1P2W ? 1 : wiring == kWiring1P3W ? 2 : 3;
}

void Tabs(uint32_t wiring) {
    for (int p = 0; p < 3; ++p) {
        SetColorRGB(p < PhasesOf(wiring) ? kTabs[p].colour : kBlack);
        GUI_FillBox(kTabs[p].x0, kTabTop, kTabs[p].x1, kTabBottom);
    }
}

void ImpedanceText(uint32_t id, int x, int y, char letter) {
    ParamRec r{};
    paramGetRecord(id, &r, 0);
    char text[24];
    if (r.value > kFourDigits)
        std::snprintf(text, sizeof text, "%c:%d", letter,
                      static_cast<int>(static_cast<float>(r.value) * r.scale));
    else
        std::snprintf(text, sizeof text, "%c:%.1f", letter,
                      static_cast<double>(static_cast<float>(r.value) * r.scale));
    GUI_DrawTextAt(text, x, y);
}

void Impedance() {
    GUI_SelectFont(&kFont16);
    SetColorRGB(kBlack);
    for (const PhaseSpot& s : kSpots) {
        ImpedanceText(s.inductance, s.impedanceX, kLY, 'L');
        ImpedanceText(s.resistance, s.impedanceX, kRY, 'R');
    }
}

const char* WaveText(int phase, uint32_t mode, char* buffer, int size) {
    if (mode == kModeAcDcExt || mode == kModeAcExt) return "EXT";
    if (mode == kModeDcInt) return "DC";
    return panel::WaveformName(GetWaveform(phase), buffer, size);
}

void WaveBoxes(uint32_t wiring, uint32_t mode) {
    for (int p = 0; p < PhasesOf(wiring); ++p) {
        const PhaseSpot& s = kSpots[p];
        SetColorRGB(kBlack);
        FillRound(kOuterBox, s.boxDx);
        SetColorRGB(kBoxFace);
        FillRound(kInnerBox, s.boxDx);
        char name[16];
        SetColorRGB(kBlack);
        GUI_SelectFont(&kFont16);
        GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_TOP);
        GUI_DrawTextAt(WaveText(p, mode, name, sizeof name), kNameX + s.boxDx, kNameY);
        GUI_SelectFont(&Font28);
        GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
        GUI_DrawTextAt(kPhaseLabels[p], s.labelX, s.labelY);
    }
}

void Temperatures() {
    SetColorRGB(kTempColour);
    for (int p = 0; p < 3; ++p) {
        char text[24];
        std::snprintf(text, sizeof text, "Temp%d %.1f", p + 1, static_cast<double>(MeasGetTemperature(p)));
        GUI_DrawTextAt(text, kSpots[p].tempX, kTempY);
    }
}

}  // namespace

void HomePaint_PhaseHeader(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    const uint32_t wiring = GetPhaseMode();
    ClearWindow();
    GUI_SelectFont(&Font28);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    Tabs(wiring);
    if (GetOutputImpedance() != 0) Impedance();
    GUI_SelectFont(&Font28);
    if (g_ServiceFlags.tempDisplay.load(std::memory_order_relaxed) == 1)
        Temperatures();
    else
        WaveBoxes(wiring, GetOutputMode());
}
