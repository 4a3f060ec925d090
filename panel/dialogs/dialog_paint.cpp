// The wiring and parallel-link dialogs: the configure-phase choice, the wiring-change warning, the
// confirmation of a preset's other wiring and the parallel failure.
#include <cstdint>
#include <cstdio>

#include "GUI/bitmap/gui_image.h"
#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/dialogs/limit_popup_paint.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/popup_art.h"
#include "panel/draw/warning_dialog.h"
#include "panel/menu/dialog_words.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kButtonRowColour = 0xE6E6E6;
constexpr uint32_t kTitleColour = 0x3C3C3C;

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

// A stored number outside the table names nothing.
const char* WiringName(uint32_t wiring) {
    static constexpr const char* kNames[] = {"3P4W", "1P2W", "1P3W"};
    return wiring < sizeof kNames / sizeof kNames[0] ? kNames[wiring] : "";
}

void Text(const char* text, int x, int y) {
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_TOP);
    GUI_DrawTextAt(text, x, y);
}

void ClearButtonRow() {
    SetBkColorRGB(kButtonRowColour);
    GUI_ClearWindow();
}

struct SelectBox {
    int boxX, textX;
    const char* text;
};

// Boxes 75 wide on a cleared row; the accent marks box `accent` (none when it is past the boxes).
void DrawSelectBoxes(const SelectBox* boxes, uint32_t count, uint32_t accent) {
    ClearButtonRow();
    for (uint32_t i = 0; i < count; ++i) {
        if (i == accent)
            DrawSelectFieldBarAccent(boxes[i].boxX, 0, 75);
        else
            DrawSelectFieldBar(boxes[i].boxX, 0, 75);
    }
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(0x000000);
    GUI_SelectFont(&kFont24);
    for (uint32_t i = 0; i < count; ++i)
        Text(boxes[i].text, boxes[i].textX, 0);
}

// The small dialog's frame: background, band under the two lines, the lines in the title colour.
void DrawSmallDialogFrame(const char* first, int firstX, const char* second, int secondX) {
    GUI_DrawImage(&panel::art::PopupBackground(), 0, 0);
    GUI_DrawImage(&panel::art::PopupTitleBand(), 0, 52);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(kTitleColour);
    GUI_SelectFont(&kFont24);
    Text(first, firstX, 6);
    if (second != nullptr) Text(second, secondX, 32);
}

}  // namespace

void CfgPhaseDialog_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    GUI_DrawImage(&panel::art::CfgPhaseBackground(), 0, 0);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(kTitleColour);
    GUI_SelectFont(&kFont24);
    Text("Please select the configure phase.", 15, 21);
}

void CfgPhaseChoice_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    static constexpr SelectBox kBoxes[] = {{23, 37, "3P4W"}, {118, 132, "1P2W"}, {213, 226, "1P3W"}};
    DrawSelectBoxes(kBoxes, 3, g_CfgPhaseChoice.load(kRelaxed));
}

// State 4 warns of the wiring picked in the choice dialog, state 6 of the one a preset brings.
void WiringWarnDialog_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearButtonRow();
    const uint32_t wiring = g_MenuState.load(kRelaxed) == kMenuPresetPhaseDialogCheck
                                ? g_CfgPhaseTarget.load(kRelaxed)
                                : g_CfgPhaseChoice.load(kRelaxed);
    // Past the three wirings: the helper's own table is longer, so hand it a number it names nothing by.
    WarningDialog_Paint(wiring < kWirings ? static_cast<int>(wiring) : -1);
}

void WiringWarnButtons_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearButtonRow();
    DrawButtonPair(185, g_EditShown.buf.choiceValue != 0);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    SetColorRGB(0x000000);
    GUI_SelectFont(&kFont30);
    Text("YES", 27, 2);
    Text("NO", 212, 2);
}

void CfgPhaseConfirm_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    char line[32];
    std::snprintf(line, sizeof line, "switch to %s", WiringName(g_CfgPhaseTarget.load(kRelaxed)));
    DrawSmallDialogFrame("Configure Phase will be", 15, line, 50);
}

void CfgPhaseConfirmButtons_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    static constexpr SelectBox kBoxes[] = {{20, 30, "ENTER"}, {123, 128, "CANCEL"}};
    DrawSelectBoxes(kBoxes, 2, g_DialogChoice.load(kRelaxed) == 0 ? 0 : 1);
}

// The count line shows only when slaves went missing: the configured units less this one.
void ParallelFailDialog_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const int64_t expected = int64_t{GetParallelNumber()} - 1;
    const uint32_t found = core::g_ParallelMostSeen.load(kRelaxed);
    char line[40];
    std::snprintf(line, sizeof line, "Found %u slave machine", static_cast<unsigned>(found));
    DrawSmallDialogFrame("Parallel Fail...", 10, int64_t{found} != expected ? line : nullptr, 10);
}

void ParallelFailButtons_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    static constexpr SelectBox kBoxes[] = {{20, 30, "Retry"}, {123, 128, "CANCEL"}};
    DrawSelectBoxes(kBoxes, 2, g_EditShown.buf.choiceValue == 0 ? 0 : 1);
}
