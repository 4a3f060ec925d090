// The windows a state repaints: the row it edits or selects, and what that row's value changes besides.
#include <array>

#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_windows.h"

using namespace menu;

namespace {

enum Action : uint8_t {
    kPlain = 0,
    kSpecial,        // the special-function sub-page redraws itself
    kArbByType,      // the fields the built-in waveform type being edited uses
    kArbTypeChoice,  // the type being chosen: every field and the harmonic table by the choice
    kArbStored,      // leaving the editor: every field and the soft keys, or the body shown again
};

constexpr uint16_t kAllFields = 0x3FF;
constexpr int kNone = -1;

struct RowRepaint {
    uint32_t first, last;
    int win[4];
    uint16_t fields;  // bit k: waveform-edit value field k
    Action action;
};

constexpr RowRepaint Pair(uint32_t select, int win) {
    return {select, select + 1, {win, kNone, kNone, kNone}, 0, kPlain};
}
constexpr RowRepaint Field(uint32_t state, uint16_t fields) {
    return {state, state, {kNone, kNone, kNone, kNone}, fields, kPlain};
}

constexpr int kRows = 21 + 7 + 2 + 4 + 1 + 4 + 7 + 3 + 3 + 1 + 3 + 12 + 50;

constexpr std::array<RowRepaint, kRows> BuildMap() {
    std::array<RowRepaint, kRows> t{};
    int n = 0;
    for (int k = 0; k < 15; ++k)
        t[n++] = Pair(kMenuIpkHold + 2 * k, RowWin(kColMisc1, k));
    for (int k = 0; k < 6; ++k)
        t[n++] = Pair(kMenuMonitorAmp + 2 * k, RowWin(kColMisc2, k));
    t[n++] = Pair(kMenuLanDhcp, RowWin(kColLan, 0));
    for (int k = 0; k < 4; ++k)  // an address row: its select state and the four octet editors
        t[n++] = {141u + 5u * k, 145u + 5u * k, {RowWin(kColLan, 1 + k), kNone, kNone, kNone}, 0, kPlain};
    t[n++] = Pair(kMenuLanSocket, RowWin(kColLan, 5));
    t[n++] = Pair(kMenuLanWebPassword, RowWin(kColLan, 6));
    t[n++] = Pair(kMenuUsbSpeed, RowWin(kColUsb, 0));
    t[n++] = Pair(kMenuUsbMode, RowWin(kColUsb, 1));
    for (int k = 0; k < 4; ++k)
        t[n++] = Pair(kMenuRs232Baud + 2 * k, RowWin(kColRs232, k));
    t[n++] = Pair(kMenuGpibAddress, RowWin(kColGpib, 0));
    t[n++] = Pair(kMenuCanopenBaud, RowWin(kColCan, 0));
    t[n++] = Pair(kMenuCanopenNode, RowWin(kColCan, 1));
    t[n++] = Pair(kMenuDevicenetBaud, RowWin(kColDnet, 0));
    t[n++] = Pair(kMenuDevicenetMac, RowWin(kColDnet, 1));
    for (int k = 0; k < 7; ++k)
        t[n++] = Pair(kMenuImpedanceOn + 2 * k, RowWin(kColImpedance, k));
    // Position decides what the other two rows and the list's dimming show.
    t[n++] = {kMenuParallelPosition,
              kMenuParallelPositionEdit,
              {RowWin(kColParallel, 0), kWinListArea, RowWin(kColParallel, 1), RowWin(kColParallel, 2)},
              0,
              kPlain};
    t[n++] = Pair(kMenuParallelNumber, RowWin(kColParallel, 1));
    t[n++] = Pair(kMenuParallelEnable, RowWin(kColParallel, 2));
    for (int k = 0; k < 3; ++k)
        t[n++] = Pair(kMenuLcdContrast + 2 * k, RowWin(kColLcd, k));
    t[n++] = {kMenuFirmType, kMenuDataLast, {kNone, kNone, kNone, kNone}, 0, kSpecial};
    // The type decides which rows the list shows.
    t[n++] = {kMenuSavRecType,
              kMenuSavRecTypeEdit,
              {RowWin(kColSaveRecall, 0), ColumnWin(kColSaveRecall), kWinListArea, kNone},
              0,
              kPlain};
    t[n++] = Pair(kMenuSavRecAction, RowWin(kColSaveRecall, 1));
    t[n++] = Pair(kMenuSavRecMemory, RowWin(kColSaveRecall, 2));
    for (int k = 0; k < 12; ++k)
        t[n++] = Pair(kMenuBarcodeFirst + 2 * k, RowWin(kColBarcode, k));
    // Waveform edit: odd states edit one field, even states show all of them.
    constexpr struct {
        uint32_t state;
        uint16_t fields;
    } kArbOdd[] = {{kMenuArbTriangleEdit, 1 << 1},
                   {kMenuArbStairsEdit, 1 << 1},
                   {kMenuArbClipKeepRmsEdit, 1 << 2},
                   {kMenuArbClipEdit, 1 << 1},
                   {kMenuArbCf1Edit, 1 << 1},
                   {kMenuArbCf2Edit, 1 << 1},
                   {kMenuArbSdSiteEdit, 1 << 3},
                   {kMenuArbSdAcvEdit, 1 << 2},
                   {kMenuArbSdModeEdit, 1 << 1},
                   {kMenuArbRippleLevelEdit, 1 << 3},
                   {kMenuArbRippleVdcEdit, 1 << 2},
                   {kMenuArbRippleTimesEdit, 1 << 1},
                   {kMenuArbDipStartEdit, 1 << 1},
                   {kMenuArbDipSweepEdit, 1 << 2},
                   {kMenuArbDipEndEdit, 1 << 3},
                   {kMenuArbLfRingAcvEdit, 1 << 1},
                   {kMenuArbLfRingAmpEdit, 1 << 2},
                   {kMenuArbLfRingBaseFreqEdit, 1 << 3},
                   {kMenuArbLfRingRingFreqEdit, 1 << 4},
                   {kMenuArbLfRingDecayEdit, 1 << 5},
                   {kMenuArbLfRingStartEdit, 1 << 6},
                   {kMenuArbLfRingEndEdit, 1 << 7},
                   {kMenuArbLfRingRingEdit, 1 << 8}};
    for (const auto& a : kArbOdd)
        t[n++] = Field(a.state, a.fields);
    for (uint32_t s = kMenuArbTriangle; s <= kMenuArbArbNo; s += 2)
        t[n++] = Field(s, kAllFields);
    t[n++] = {kMenuArbArbNoEdit, kMenuArbArbNoEdit, {kNone, kNone, kNone, kNone}, 0, kArbByType};
    t[n++] = {
        kMenuArbTypeEdit, kMenuArbTypeEdit, {kWinArbPanel, kNone, kNone, kNone}, kAllFields, kArbTypeChoice};
    t[n++] = {kMenuArbType, kMenuArbType, {kNone, kNone, kNone, kNone}, 0, kArbStored};
    return t;
}
constexpr std::array<RowRepaint, kRows> kRowMap = BuildMap();
static_assert(kRowMap[kRows - 1].first == kMenuArbType, "the map is filled to its end");

constexpr uint32_t kFirstTypeWithHarmonics = 6, kLastTypeWithHarmonics = 27;

void RepaintFields(uint16_t fields) {
    for (int k = 0; k < 10; ++k)
        if ((fields >> k) & 1u) MenuWin_Repaint(kWinArbField0 + k);
}

uint16_t FieldsOfType(int32_t type) {
    if (type >= 0 && type <= 4) return 0x6;
    if (type == 5 || type == 28 || type == 29) return 0x1E;
    if (type >= 6 && type <= 27) return 0x2;
    if (type == 30) return 0x3FE;
    return 0;
}

void ShowHarmonicTable(uint32_t type) {
    if (type >= kFirstTypeWithHarmonics && type <= kLastTypeWithHarmonics)
        MenuWin_Show(kWinHarmonicTable);
    else
        MenuWin_Hide(kWinHarmonicTable);
    MenuWin_Repaint(kWinHarmonicTable);
}

void LeaveArbEditor() {
    if (!MenuWin_Visible(kWinArbBody)) {
        MenuWin_Show(kWinKeyColumn);
        MenuWin_Show(kWinArbBody);
        MenuWin_Show(kWinArbTitle);
        // The builder's type may have changed while the editor was closed: its curve is drawn anew.
        ArbBuild_RequestPreview();
        return;
    }
    MenuWin_Repaint(kWinArbPanel);
    RepaintFields(kAllFields);
    for (int k = 1; k <= 4; ++k)
        MenuWin_Repaint(kWinKey0 + k);
    ShowHarmonicTable(static_cast<uint32_t>(ArbBuild_GetType()));
}

void Run(const RowRepaint& r) {
    for (int w : r.win)
        if (w != kNone) MenuWin_Repaint(w);
    RepaintFields(r.fields);
    switch (r.action) {
        case kSpecial:
            MenuPage_SpecialPage().update();
            break;
        case kArbByType:
            RepaintFields(FieldsOfType(ArbBuild_GetType()));
            break;
        case kArbTypeChoice:
            ShowHarmonicTable(g_EditShown.buf.choiceValue);
            break;
        case kArbStored:
            LeaveArbEditor();
            break;
        case kPlain:
            break;
    }
}

}  // namespace

void MenuPage_RepaintCurrentRow() {
    const uint32_t state = MenuPage_State();
    if (state >= kMenuIpkHold && state <= kMenuArbType) {
        for (const RowRepaint& r : kRowMap) {
            if (state < r.first || state > r.last) continue;
            Run(r);
            break;
        }
    }
    if (state == kMenuArbRippleLevelEdit || state == kMenuArbRippleVdcEdit) MenuWin_Repaint(kWinRippleVpp);
    if (state == kMenuArbLfRingBaseFreqEdit || state == kMenuArbLfRingStartEdit ||
        state == kMenuArbLfRingEndEdit)
        MenuWin_Repaint(kWinLfRingTime);
    if (state == kMenuDefaultSetEnter || state == kMenuPassword) {
        MenuWin_Show(kWinPasswordBox);
        if (state == kMenuPassword) MenuWin_Repaint(kWinPasswordField);
    } else {
        MenuWin_Hide(kWinPasswordBox);
    }
}
