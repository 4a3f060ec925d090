#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/value_format.h"
#include "panel/menu/panel_item_rows.h"
#include "panel/menu/settings_layout.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kWholeDegreeMax = settings::kAngleMaxWholeDegrees;
constexpr int32_t kFreq100Hz = 10000;

// The layout row of cell c, or -1 when it lies outside the rows of the wiring.
int PanelRowOf(int c, uint32_t wiring, uint32_t mode, bool pageFlag) {
    // Past the duty row every cell shows the row after the one its index names (the Wave and duty rows
    // share a cell).
    const auto duty = static_cast<int>(DutyRowOf(mode));
    int r = c;
    if (wiring == kWiring1P2W) {
        if (pageFlag) {
            r = c + 12;
        } else if (r >= duty) {
            r = c + 1;
        }
    } else if (pageFlag) {
        r = c + 6;
        if (r >= duty) r = c + 7;
    }
    if (r < 0 || r >= static_cast<int>(kLayoutRows)) return -1;
    return r;
}

// The cells follow the phase view's layouts: 1P3W's, else 3P4W's (1P2W's cells lie on its rows).
const SettingsLayout& CellLayoutOf(uint32_t wiring) {
    return wiring == kWiring1P3W ? SettingsLayoutTables.b : SettingsLayoutTables.a;
}

void SetSelectedRowAfter(uint32_t state, uint32_t wiring, uint32_t mode) {
    if (state != kParamBalance2 && state != kParamBalance3) return;
    const uint32_t second = state == kParamBalance3 ? 1 : 0;
    const bool dcOrExt = IsDcOrExtMode(mode);
    if (wiring == kWiring1P2W) {
        if (dcOrExt) g_HomePage.panelRow.store(5, kRelaxed);
    } else if (dcOrExt) {
        g_HomePage.panelRow.store(4 + second, kRelaxed);
    } else if (IsAcIntSyncOrVcaMode(mode)) {
        g_HomePage.panelRow.store(11 + second, kRelaxed);
    }
}

void WhiteText(int align) {
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    SetColorRGB(0xFFFFFF);
    GUI_SetAlign(align);
}

void DrawRightText(const char* text, int x) {
    WhiteText(GUI_TA_RIGHT | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, x, 14);
}

// The typed number, or the value with the digit cursor ending at x 88.
void DrawValueText(const char* text, int typedX) {
    if (g_OverlayTrack.entryState != 0) {
        char typed[16];
        CopyEntryText(typed, sizeof typed);
        WhiteText(GUI_TA_LEFT | GUI_TA_VCENTER);
        GUI_DrawTextAt(typed, typedX, 14);
        return;
    }
    WhiteText(GUI_TA_LEFT | GUI_TA_VCENTER);
    DrawDigitsWithCursor(g_EditShown.cursor, text, 88, 14);
}

bool AngleItem(PanelItem item) {
    return item == kItemOnPhase || item == kItemOffPhase;
}

void DrawNumberItem(PanelItem item, uint32_t phase, bool lineView) {
    const ItemRecord src = ItemRecordOf(item, phase, lineView);
    ParamRec rec;
    paramGetRecord(src.id, &rec, src.unit);
    int32_t value = g_EditShown.workValue;
    if (AngleItem(item) && rec.state == 0) {
        DrawRightText("FREE", 99);
        return;
    }
    if (AngleItem(item) && rec.decimals == 0 && value > kWholeDegreeMax) value = kWholeDegreeMax;
    const bool bigValueItem = item == kItemAcv || item == kItemDcv || item == kItemIrms || item == kItemI;
    int decimals = 2;
    if ((bigValueItem && std::abs(rec.value) >= 10000) || (item == kItemFreq && rec.value >= 100000))
        decimals = 1;
    if (item == kItemDcv) {
        // The sign stands apart, so that the digits keep their places when it flips.
        WhiteText(GUI_TA_LEFT | GUI_TA_VCENTER);
        GUI_DrawTextAt(value < 0 ? "-" : "+", 2, 15);
        value = std::abs(value);
    }
    // The cell is too narrow for a unit beside five digits in this font; the page's label names it.
    char text[32];
    FormatScaledValue(0, value, text, sizeof text, decimals, rec.scale, "");
    DrawValueText(text, 3);
}

void DrawDutyItem(uint32_t phase) {
    ParamRec rec;
    paramGetRecord(kParamWaveDuty, &rec, phase);
    const float duty = static_cast<float>(g_EditShown.workValue) * rec.scale;
    char text[24];
    if (GetFrequency(static_cast<int>(phase)) >= kFreq100Hz)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(duty));
    else
        std::snprintf(text, sizeof text, "%.1f", duty);
    DrawValueText(text, 48);
}

void DrawWaveItem(uint32_t phase, bool square) {
    char name[16];
    panel::WaveformName(g_EditShown.workValue, name, sizeof name);
    if (!square) {
        DrawRightText(name, 99);
        return;
    }
    WhiteText(GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_DrawTextAt(name, 3, 14);
    ParamRec rec;
    paramGetRecord(kParamWaveDuty, &rec, phase);
    const float duty = static_cast<float>(GetWaveDuty(static_cast<int>(phase))) * rec.scale;
    char text[24];
    if (GetFrequency(static_cast<int>(phase)) >= kFreq100Hz)
        std::snprintf(text, sizeof text, "%d%%", static_cast<int>(duty));
    else
        std::snprintf(text, sizeof text, "%.1f%%", duty);
    DrawRightText(text, 99);
}

}  // namespace

void PanelCell_Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    panel::OverlayCountPaint(msg->hWin);
    int c = -1;
    for (int i = 0; i < panel::kOverlayCells; ++i)
        if (panel::g_OverlayWins.cell[i] == msg->hWin) c = i;
    const uint32_t wiring = g_PhaseMode.load(kRelaxed);
    const uint32_t mode = g_OutputModeIdx.load(kRelaxed);
    const int row = c < 0 || wiring > kWiring1P3W || mode >= core::kModes
                        ? -1
                        : PanelRowOf(c, wiring, mode, g_HomePage.panelPage.load(kRelaxed) != 0);
    // The PHASE and MODE rows have no cell: their drop-down lists edit them.
    const PanelItem item = row < 0 ? kItemPhase : SettingsItemCode(CellLayoutOf(wiring), row, mode);
    if (item == kItemPhase || item == kItemMode) {
        WM_Hide(msg->hWin);
        return;
    }
    PanelItem_Paint(item);
    SetSelectedRowAfter(g_OverlayTrack.state, wiring, mode);
}

void PanelItem_Paint(PanelItem item) {
    const uint32_t phase = core::SelectedPhase();
    const uint32_t mode = g_OutputModeIdx.load(kRelaxed);
    const uint32_t panelRow = g_HomePage.panelRow.load(kRelaxed);
    const bool square = GetWaveform(static_cast<int>(phase)) == kWaveSqu;
    if (item == kItemWave && square && panelRow == DutyRowOf(mode)) item = kItemDuty;
    SetBkColorRGB(item == kItemWave && square ? 0x4D4D4D : 0xF0F0F0);
    GUI_ClearWindow();
    SetBkColorRGB(0xF0F0F0);
    if (item == kItemDuty)
        DrawPanelBar30Open(45, 0, 58);
    else
        DrawPanelBar30Open(0, 0, 103);
    const bool lineView = GetPhaseLineView() == 1;
    const int32_t work = g_EditShown.workValue;
    switch (item) {
        case kItemSig: DrawRightText(panel::SigSourceName(work), 99); break;
        case kItemSrc: DrawRightText(panel::ExtSourceName(work), 99); break;
        case kItemWave: DrawWaveItem(phase, square); break;
        case kItemDuty: DrawDutyItem(phase); break;
        case kItemSeqTest: case kItemSimTest: case kItemFiller: case kItemEnd: break;
        default: DrawNumberItem(item, phase, lineView); break;
    }
    if (item == kItemIrms || item == kItemI) EditCursorResetOnce();
}
