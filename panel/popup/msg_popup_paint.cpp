#include "panel/popup/msg_popup_paint.h"

#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/messaging/msg_ring.h"
#include "panel/pages/panel_fonts.h"

namespace {
constexpr int kWidth = 250;
constexpr uint32_t kGreen = 0x00FF00, kRed = 0xFF0000, kBlack = 0x000000, kWhite = 0xFFFFFF;
}  // namespace

void MsgPopup_Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    // The frame and the text follow the window as it was sized when shown: a message posted since may
    // have changed the line count for the next popup.
    const int height = WM_GetHeight(msg->hWin);
    SetColorRGB(MsgPopup_Style() == 1 ? kRed : kGreen);
    GUI_FillBox(0, 0, kWidth, height);
    SetColorRGB(kBlack);
    GUI_FillBox(4, 4, kWidth - 5, height - 5);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_HCENTER | GUI_TA_VCENTER);
    GUI_SelectFont(&kFont24);
    SetColorRGB(kWhite);
    // Another thread may replace the text (progress texts) while it is drawn: draw a copy.
    char text[1024];
    core::MsgPopupCopyForPaint(text, sizeof text);
    // One line sits in the middle of the window drawn; its lower edge would cut the letters in half.
    if (text[0] != '\0') GUI_DrawTextAt(text, kWidth / 2, std::strchr(text, '\n') != nullptr ? 15 : height / 2);
}
