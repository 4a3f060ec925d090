// The output-mode and line drop-down lists and their highlighted rows.
#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/homepaint/home_paint.h"
#include "screens/output/homepaint/settings_labels.h"

namespace {

constexpr uint32_t kFrameColour = 0xFFFFFF, kFaceColour = 0x666666, kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr int kRight = 113, kRadius = 4;
constexpr int kPitch = 21, kBottomMargin = 7, kTextX = 5, kTextY = 2;
constexpr int kBarWidth = 108, kHeadTextX = 2, kHeadTextY = -2;

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

// Four corner discs and two crossing bars spanning (x0, y0)-(x1, y1).
void RoundedBox(int x0, int y0, int x1, int y1) {
    GUI_FillDisc(x0 + kRadius, y0 + kRadius, kRadius);
    GUI_FillDisc(x1 - kRadius, y0 + kRadius, kRadius);
    GUI_FillDisc(x0 + kRadius, y1 - kRadius, kRadius);
    GUI_FillDisc(x1 - kRadius, y1 - kRadius, kRadius);
    GUI_FillBox(x0 + kRadius, y0, x1 - kRadius, y1);
    GUI_FillBox(x0, y0 + kRadius, x1, y1 - kRadius);
}

void ListText(const char* text, int i) {
    GUI_DrawTextAt(text, kTextX, kPitch * i + kTextY);
}

void TextStyle(uint32_t colour) {
    GUI_SelectFont(&kFont24);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    SetColorRGB(colour);
}

// The PHASE/LINE choice stands in for the lines while a balanced three-wire output has no single line.
bool ViewChoice() {
    const uint32_t wiring = GetPhaseMode();
    const uint32_t mode = GetOutputMode();
    return GetPhaseBalanceMode() == 1 && wiring != kWiring1P2W && IsAcIntSyncOrVcaMode(mode);
}

int LineEntries() {
    const uint32_t wiring = GetPhaseMode();
    if (ViewChoice()) return GetOutputMode() == kModeAcVca ? 1 : 2;
    return wiring == kWiring1P2W ? 1 : wiring == kWiring1P3W ? 2 : 3;
}

void Head(const char* text) {
    SetBkColorRGB(kFaceColour);
    GUI_ClearWindow();
    DrawLabelBar(0, 0, kBarWidth);
    TextStyle(kBlack);
    GUI_DrawTextAt(text, kHeadTextX, kHeadTextY);
}

// The rounded white frame of a list with the grey face inside, its bottom row at bottom.
void Frame(int bottom) {
    SetColorRGB(kFrameColour);
    RoundedBox(0, 0, kRight, bottom);
    SetColorRGB(kFaceColour);
    RoundedBox(1, 1, kRight - 1, bottom - 1);
}

}  // namespace

void HomePaint_ModeList(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const int n = static_cast<int>(home::kOutputModeNames.size());
    Frame(kPitch * n + kBottomMargin);
    TextStyle(kWhite);
    for (int i = 0; i < n; ++i)
        ListText(home::kOutputModeNames[static_cast<size_t>(i)], i);
}

void HomePaint_ModeListHead(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Head(home::NameOf(home::kOutputModeNames, g_EditShown.workValue));
}

void HomePaint_LineList(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const int n = LineEntries();
    ClearWindow();  // the list is shorter than its window in most wirings
    Frame(kPitch * n + kBottomMargin);
    TextStyle(kWhite);
    for (int i = 0; i < n; ++i)
        ListText(ViewChoice() ? home::kViewNames[static_cast<size_t>(i)]
                              : home::kLineNames[static_cast<size_t>(i)],
                 i);
}

void HomePaint_LineListHead(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const int32_t v = g_EditShown.workValue;
    Head(IsBalanceActive() != 0 ? home::NameOf(home::kViewNames, v) : home::NameOf(home::kLineNames, v));
}
