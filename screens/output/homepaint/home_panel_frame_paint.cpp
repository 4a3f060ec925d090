// The settings panel's surroundings: the lower frame of the twelve-row 1P2W panel and the page indicator
// of the six-row panels.
#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr uint32_t kLineColour = 0xC0C0C0;  // the body's one-pixel frame
constexpr int kFrameLeft = 15, kFrameRight = 208, kFrameBottom = 214, kFrameHeight = 215;
constexpr int kStripX = 19, kSeparatorPitch = 36, kSeparators = 7;

// The page indicator's two pictures: a dark track with the light thumb over the upper or lower half.
constexpr uint32_t kTrackColour = 0x333333, kThumbColour = 0xC0C0C0;
constexpr int kIndicatorW = 8, kIndicatorH = 215;
constexpr uint32_t kFirstSecondPageRow = 6;

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

}  // namespace

void HomePaint_PanelLowerFrame(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearWindow();
    SetColorRGB(kLineColour);
    GUI_FillBox(kFrameLeft, 0, kFrameLeft, kFrameHeight);
    GUI_FillBox(kFrameRight, 0, kFrameRight, kFrameHeight);
    FillStrip185(kStripX, 0, kFrameHeight);
    for (int k = 0; k < kSeparators; ++k)
        DrawSeparator185(kStripX, kSeparatorPitch * k);
    SetColorRGB(kLineColour);
    GUI_FillBox(kFrameLeft, kFrameBottom, kFrameRight, kFrameBottom);
}

void HomePaint_PanelScroll(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t mode = GetOutputMode();
    if (IsDcOrExtMode(mode)) {  // one page only
        WM_Hide(msg->hWin);
        return;
    }
    const bool lower = g_HomePage.panelRow.load(std::memory_order_relaxed) >= kFirstSecondPageRow;
    SetColorRGB(kTrackColour);
    GUI_FillBox(0, 0, kIndicatorW - 1, kIndicatorH - 1);
    SetColorRGB(kThumbColour);
    const int half = kIndicatorH / 2;
    if (lower)
        GUI_FillBox(1, half + 1, kIndicatorW - 2, kIndicatorH - 2);
    else
        GUI_FillBox(1, 1, kIndicatorW - 2, half - 1);
}
