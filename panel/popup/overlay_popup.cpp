#include "panel/popup/overlay_popup.h"

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/messaging/msg_ring.h"
#include "panel/dialogs/limit_popups.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_track.h"
#include "panel/pages/panel_fonts.h"
#include "panel/popup/msg_popup_fsm.h"
#include "panel/popup/msg_popup_paint.h"
#include "panel/status_conditions.h"

int32_t g_ScpiErrorBoxDelay = 0;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kHidden = 0;
constexpr int32_t kErrorBoxPasses = 30;
constexpr int kPopupLineHeight = 30;

WM_HWINDOW g_errorBox = 0;
WM_HWINDOW g_popup = 0;

void StepErrorBox() {
    const bool shown = WM_IsShown(g_errorBox) != 0;
    const bool errors = g_ScpiErrorIfCount.load(kRelaxed) != 0;
    if (errors && !shown) {
        // A moment's error (a query answered before the queue is read) does not flash the box up.
        if (g_ScpiErrorBoxDelay < kErrorBoxPasses)
            ++g_ScpiErrorBoxDelay;
        else
            WM_Show(g_errorBox);
    } else if (!errors && shown) {
        g_ScpiErrorBoxDelay = 0;
        WM_Hide(g_errorBox);
    }
}

void StepPopupWindow() {
    const bool shown = WM_IsShown(g_popup) != 0;
    if (MsgPopup_IsShown() && !shown) {
        WM_SetHeight(g_popup, static_cast<int>(g_MsgPopupLines.load(kRelaxed)) * kPopupLineHeight);
        WM_Show(g_popup);
    } else if (!MsgPopup_IsShown() && shown) {
        WM_Hide(g_popup);
    } else if (shown && MsgPopup_TextChanged()) {
        WM_Repaint(g_popup);
    }
}

}  // namespace

void Overlay_Create() {
    // Creation order is stacking order: the SCPI Error box and the message popup come last, over the
    // soft keys and the limit popups.
    panel::OverlayTrackReset();
    panel::OverlayCreateLower();
    LimitPopups_Create();
    panel::OverlayCreateColumn();
    g_errorBox = WM_CreateTop(280, 150, 200, 60, kHidden, ScpiErrorBox_Paint, 0);
    g_popup = WM_CreateTop(240, 160, 250, 60, kHidden, MsgPopup_Paint, 0);
    g_PagesCreated.fetch_or(kPageBitOverlay, std::memory_order_relaxed);
}

void Overlay_Update() {
    Overlay_PopupAndErrorBox();
    panel::OverlayLayoutStep();
}

namespace {
// The overlay's windows show themselves when they have something to show, over whatever page is shown.
void OverlayNothing() {}
}  // namespace

const PageDesc OverlayPageDesc{Overlay_Create, OverlayNothing, OverlayNothing, OverlayNothing, Overlay_Update};

void Overlay_PopupAndErrorBox() {
    MsgPopupFsm_Step();
    if (g_errorBox != 0) StepErrorBox();
    if (g_popup != 0) StepPopupWindow();
}

void ScpiErrorBox_Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    SetColorRGB(0xFF0000);
    GUI_FillBox(0, 0, 200, 60);
    SetColorRGB(0x000000);
    GUI_FillBox(4, 4, 195, 55);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    GUI_SelectFont(&kFont24);
    SetColorRGB(0xFFFFFF);
    GUI_DrawTextAt("SCPI Error", 100, 30);
}

namespace panel {
WM_HWINDOW OverlayScpiErrorBox() {
    return g_errorBox;
}
WM_HWINDOW OverlayMsgPopup() {
    return g_popup;
}
}  // namespace panel
