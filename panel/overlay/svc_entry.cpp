#include <cstdio>

#include "GUI/bitmap/gui_image.h"
#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/popup_art.h"
#include "panel/draw/value_format.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"
#include "panel/pages/panel_fonts.h"

namespace {

constexpr uint32_t kFirmState = kMenuFirmTypeEdit, kModelState = kMenuModelTypeEdit;

struct SvcRow {
    uint32_t state;
    const char* title;
    const char* format;  // of the value divided by `divisor`
    float divisor;
    bool integer;
};

constexpr SvcRow kSvcRows[] = {
    {kMenuFirmTypeEdit, "Firm Number", "", 1, true},
    {kMenuModelTypeEdit, "Model Type", "%04d", 1, true},
    {kMenuTuneVoltSlew, "Volt Slew Rate", "%04d", 1, true},
    {kMenuTuneFanSlew, "Fan Slew Rate", "%03d", 1, true},
    {kMenuTuneFanDutyMax, "Fan Duty Max", "%.2f", 100, false},
    {kMenuTuneFanDutyMin, "Fan Duty min", "%.2f", 100, false},
    {kMenuTuneKp, "AvgCurrComp kp", "%.3f", 1000, false},
    {kMenuTuneKi, "AvgCurrComp ki", "%.1f", 10, false},
    {kMenuTuneRdDefine1, "RD_Define1", "%.1f", 10, false},
    {kMenuTuneRdDefine2, "RD_Define2", "%.1f", 10, false},
    {kMenuTuneRdDefine3, "RD_Define3", "%.1f", 10, false},
    {kMenuTuneRdDefine4, "RD_Define4", "%.1f", 10, false},
    {kMenuTuneRdDefine5, "RD_Define5", "%.1f", 10, false},
};

const SvcRow* RowOf(uint32_t state) {
    for (const SvcRow& row : kSvcRows)
        if (row.state == state) return &row;
    return nullptr;
}

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return false;
    }
    panel::OverlayCountPaint(msg->hWin);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    return true;
}

void Centred(const char* text, int x) {
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    GUI_DrawTextAt(text, x, 14);
}

}  // namespace

void SvcEntry_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    GUI_DrawImage(&panel::art::SmallPopupBackground(), 0, 0);
    const SvcRow* row = RowOf(g_OverlayTrack.state);
    if (row == nullptr) return;
    SetColorRGB(0x000000);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(row->title, 5, 8);
}

void SvcValue_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    SetBkColorRGB(0xE6E6E6);
    GUI_ClearWindow();
    DrawEditFieldBar(20, 0, 77);
    SetColorRGB(0xFFFFFF);
    const SvcRow* row = RowOf(g_OverlayTrack.state);
    if (row == nullptr) return;
    const bool typing = g_OverlayTrack.entryState != 0;
    const int32_t work = g_EditShown.workValue;
    char text[24];
    if (row->state == kFirmState) {
        if (typing) {
            std::snprintf(text, sizeof text, "%1d", static_cast<int>(g_EditShown.buf.entryValue));
            Centred(text, 60);
        } else {
            Centred(work >= 0 && work < panel::kFirmCodeCount ? g_FirmCodeNames[work] : "", 60);
        }
        return;
    }
    if (row->state == kModelState && typing) {
        if (g_EditShown.buf.entryLength == 0)
            Centred("0000", 75);
        else if (g_EditShown.buf.entryLength > 4)
            Centred("Error", 75);
        else {
            CopyEntryText(text, sizeof text);
            Centred(text, 75);
        }
        return;
    }
    if (row->integer)
        std::snprintf(text, sizeof text, row->format, static_cast<int>(work));
    else
        std::snprintf(text, sizeof text, row->format, static_cast<double>(work) / row->divisor);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    DrawDigitsWithCursor(g_EditShown.cursor, text, 83, 14);
}
