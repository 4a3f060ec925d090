#include "screens/menu/cal/cal_paint.h"

#include <cstdio>

#include "GUI/bitmap/gui_image.h"
#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/cali_step_record.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/format_number.h"
#include "panel/dialogs/limit_draw.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/popup_art.h"
#include "panel/draw/value_format.h"
#include "panel/pages/panel_fonts.h"

namespace calpage {

const char* const kItemTexts[kItemCount] = {
    "1.U Voltage Calibration",  "2.V Voltage Calibration",   "3.W Voltage Calibration",
    "4.U Current Calibration",  "5.V Current Calibration",   "6.W Current Calibration",
    "7.Ext Offset Calibration", "8.Capacitance Calibration", "9.Zero RMS Calibration",
};

int32_t g_BarItem = 0;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kPanelGrey = 0x666666, kPopupGrey = 0xBEBEBE,
                   kConfirmGrey = 0xE6E6E6, kPopupText = 0x3C3C3C;
constexpr uint16_t kLeftTop = GUI_TA_LEFT | GUI_TA_TOP;

constexpr const char* kVoltTitles[3] = {"U_Volt Cal, DC(%s %s)", "V_Volt Cal, DC(%s %s)",
                                        "W_Volt Cal, DC(%s %s)"};
constexpr const char* kCurrTitles[3] = {"U_Curr Cal, DC(%s %s)", "V_Curr Cal, DC(%s %s)",
                                        "W_Curr Cal, DC(%s %s)"};
constexpr const char* kSoftLabels[3] = {"SAVE", "RECALL", "DEFAULT"};

uint32_t State() {
    return g_MenuState.load(std::memory_order_relaxed);
}

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

void Text(const char* text, int x, int y, uint32_t colour, uint16_t align = kLeftTop) {
    SetColorRGB(colour);
    GUI_SetAlign(align);
    GUI_DrawTextAt(text, x, y);
}

// A filled rectangle with corners of radius r: a disc at each corner and two crossing rectangles.
void FillRounded(int x0, int y0, int x1, int y1, int r) {
    GUI_FillDisc(x0 + r, y0 + r, r);
    GUI_FillDisc(x1 - r, y0 + r, r);
    GUI_FillDisc(x0 + r, y1 - r, r);
    GUI_FillDisc(x1 - r, y1 - r, r);
    GUI_FillBox(x0 + r, y0, x1 - r, y1);
    GUI_FillBox(x0, y0 + r, x1, y1 - r);
}

// A white rounded outline filled with `inside` one pixel in.
void RoundedPanel(int x0, int y0, int x1, int y1, int r, uint32_t inside) {
    SetColorRGB(kWhite);
    FillRounded(x0, y0, x1, y1, r);
    SetColorRGB(inside);
    FillRounded(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r);
}

void ClearTo(uint32_t colour) {
    SetBkColorRGB(colour);
    GUI_ClearWindow();
}

// The number of decimals that shows a nominal value without trailing zeros, in thousandths.
int NominalDecimals(int32_t value) {
    if (value % 10 != 0) return 3;
    if (value % 100 != 0) return 2;
    if (value % 1000 != 0) return 1;
    return 0;
}

void PaintSoftKey(int key) {
    ClearTo(kBlack);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont16);
    if (key == 3)
        DrawSoftKey("EXIT", 0, 1);
    else if (State() == kMenuCalibration)
        DrawSoftKey(kSoftLabels[key], 0, 1);
}

}  // namespace

void PointTitle(uint32_t state, uint32_t phase, char* title, size_t titleSize, char* range,
                size_t rangeSize) {
    ParamRec rec{};
    caliGetStepRecord(state, &rec);
    const char* unit = rec.unitText != nullptr ? rec.unitText : "";
    const float scale = rec.scale;
    char point[kNumberTextSize], upper[kNumberTextSize], lower[kNumberTextSize];
    FormatNumber(1, point, NominalDecimals(rec.value), nullptr, static_cast<float>(rec.value) * scale);
    FormatNumber(1, upper, rec.decimals, nullptr, static_cast<float>(rec.max) * scale);
    FormatNumber(1, lower, rec.decimals, nullptr, static_cast<float>(rec.min) * scale);
    const char* const* titles = IsCalCurrPointState(state) ? kCurrTitles : kVoltTitles;
    std::snprintf(title, titleSize, titles[phase < 3 ? phase : 0], point, unit);
    std::snprintf(range, rangeSize, "%s ~ %s %s", lower, upper, unit);
}

void PaintRoot(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);
    DrawContentBackground(0, 28);
    RoundedPanel(13, 41, 13 + 375 - 1, 41 + 219 - 1, 5, kPopupGrey);
}

void PaintTitle(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);
    DrawSeparator185(0, 21);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    Text("Calibration", 5, 13, kWhite, GUI_TA_LEFT | GUI_TA_VCENTER);
}

void PaintBlack(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ClearTo(kBlack);
}

void PaintSoftKey1(WM_MSG_RECORD* msg) {
    if (Painting(msg)) PaintSoftKey(0);
}
void PaintSoftKey2(WM_MSG_RECORD* msg) {
    if (Painting(msg)) PaintSoftKey(1);
}
void PaintSoftKey3(WM_MSG_RECORD* msg) {
    if (Painting(msg)) PaintSoftKey(2);
}
void PaintSoftKey4(WM_MSG_RECORD* msg) {
    if (Painting(msg)) PaintSoftKey(3);
}

void PaintBody(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);  // the background picture is a column and seven rows short of the window
    DrawContentBackground(0, 0);
    RoundedPanel(13, 7, 707, 441, 5, kPanelGrey);
}

void PaintItemList(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kPanelGrey);
    const uint32_t state = State();
    if (state != kMenuCalibration && !IsCalPointState(state)) return;
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFontList);
    for (int n = 0; n < kItemCount; ++n) {
        // A black copy a pixel off lifts the white text from the grey.
        Text(kItemTexts[n], 6, kRowPitch * n + 1, kBlack);
        Text(kItemTexts[n], 5, kRowPitch * n, kWhite);
    }
}

void PaintSelectionBar(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kPanelGrey);  // the bar is a pixel narrower than its window, which lies on the list's grey
    DrawLabelBar(0, 0, 369);
    const int32_t item = g_BarItem >= 0 && g_BarItem < kItemCount ? g_BarItem : 0;
    char text[40];
    std::snprintf(text, sizeof text, " %s", kItemTexts[item]);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFontList);
    Text(text, 0, 0, kBlack);
}

void PaintPointPopup(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    char title[96], range[96];
    PointTitle(State(), g_CalState.phase.load(std::memory_order_relaxed), title, sizeof title, range,
               sizeof range);
    DrawLimitPopup(0, title, range, nullptr);
    // The value can be typed once its popup is up.
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked), std::memory_order_relaxed);
}

void PaintValueField(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    ClearTo(kBlack);
    const uint32_t state = State();
    if (!IsCalPointState(state)) return;
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    SetColorRGB(kWhite);
    if (EntryInProgress()) {
        char typed[sizeof g_EditBuf.entryText + 1];
        CopyEntryText(typed, sizeof typed);
        Text(typed, 5, 2, kWhite);
        return;
    }
    ParamRec rec{};
    caliGetStepRecord(state, &rec);
    char value[kNumberTextSize];
    FormatNumber(0, value, rec.decimals, nullptr, static_cast<float>(g_EditShown.workValue) * rec.scale);
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_TOP);
    DrawDigitsWithCursor(g_EditShown.cursor, value, 130, 2);
}

void PaintDefaultPopup(WM_MSG_RECORD* msg) {
    if (!Painting(msg) || State() != kMenuCalDefaultConfirm) return;
    GUI_DrawImage(&panel::art::SmallPopupBackground(), 0, 0);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    Text("Calibration Default", 5, 8, kPopupText);
}

void PaintConfirmField(WM_MSG_RECORD* msg) {
    if (!Painting(msg) || State() != kMenuCalDefaultConfirm) return;
    ClearTo(kConfirmGrey);
    DrawLabelBar(35, 0, 77);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kFont24);
    Text("ENTER", 45, 2, kBlack);
}

void PaintPreparePopup(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    DrawLimitPopup(0, "Calibration Prepare", "", nullptr);
}

}  // namespace calpage
