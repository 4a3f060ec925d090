// The windows a state repaints: the row it edits or selects, and what that row's value changes besides.
#include <array>

#include "core/system/state/edit_state.h"
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
        t[n++] = Pair(96 + 2 * k, RowWin(kColMisc1, k));
    for (int k = 0; k < 6; ++k)
        t[n++] = Pair(126 + 2 * k, RowWin(kColMisc2, k));
    t[n++] = Pair(139, RowWin(kColLan, 0));
    for (int k = 0; k < 4; ++k)  // an address row: its select state and the four octet editors
        t[n++] = {141u + 5u * k, 145u + 5u * k, {RowWin(kColLan, 1 + k), kNone, kNone, kNone}, 0, kPlain};
    t[n++] = Pair(161, RowWin(kColLan, 5));
    t[n++] = Pair(163, RowWin(kColLan, 6));
    t[n++] = Pair(166, RowWin(kColUsb, 0));
    t[n++] = Pair(168, RowWin(kColUsb, 1));
    for (int k = 0; k < 4; ++k)
        t[n++] = Pair(171 + 2 * k, RowWin(kColRs232, k));
    t[n++] = Pair(180, RowWin(kColGpib, 0));
    t[n++] = Pair(183, RowWin(kColCan, 0));
    t[n++] = Pair(185, RowWin(kColCan, 1));
    t[n++] = Pair(188, RowWin(kColDnet, 0));
    t[n++] = Pair(190, RowWin(kColDnet, 1));
    for (int k = 0; k < 7; ++k)
        t[n++] = Pair(193 + 2 * k, RowWin(kColImpedance, k));
    // Position decides what the other two rows and the list's dimming show.
    t[n++] = {208,
              209,
              {RowWin(kColParallel, 0), kWinListArea, RowWin(kColParallel, 1), RowWin(kColParallel, 2)},
              0,
              kPlain};
    t[n++] = Pair(210, RowWin(kColParallel, 1));
    t[n++] = Pair(212, RowWin(kColParallel, 2));
    for (int k = 0; k < 3; ++k)
        t[n++] = Pair(215 + 2 * k, RowWin(kColLcd, k));
    t[n++] = {225, 283, {kNone, kNone, kNone, kNone}, 0, kSpecial};
    // The type decides which rows the list shows.
    t[n++] = {
        285, 286, {RowWin(kColSaveRecall, 0), ColumnWin(kColSaveRecall), kWinListArea, kNone}, 0, kPlain};
    t[n++] = Pair(287, RowWin(kColSaveRecall, 1));
    t[n++] = Pair(289, RowWin(kColSaveRecall, 2));
    for (int k = 0; k < 12; ++k)
        t[n++] = Pair(292 + 2 * k, RowWin(kColBarcode, k));
    // Waveform edit: odd states edit one field, even states show all of them.
    constexpr struct {
        uint32_t state;
        uint16_t fields;
    } kArbOdd[] = {{495, 1 << 1}, {497, 1 << 1}, {499, 1 << 2}, {501, 1 << 1}, {503, 1 << 1}, {505, 1 << 1},
                   {507, 1 << 3}, {509, 1 << 2}, {511, 1 << 1}, {513, 1 << 3}, {515, 1 << 2}, {517, 1 << 1},
                   {519, 1 << 1}, {521, 1 << 2}, {523, 1 << 3}, {525, 1 << 1}, {527, 1 << 2}, {529, 1 << 3},
                   {531, 1 << 4}, {533, 1 << 5}, {535, 1 << 6}, {537, 1 << 7}, {539, 1 << 8}};
    for (const auto& a : kArbOdd)
        t[n++] = Field(a.state, a.fields);
    for (uint32_t s = 496; s <= 542; s += 2)
        t[n++] = Field(s, kAllFields);
    t[n++] = {541, 541, {kNone, kNone, kNone, kNone}, 0, kArbByType};
    t[n++] = {543, 543, {kWinArbPanel, kNone, kNone, kNone}, kAllFields, kArbTypeChoice};
    t[n++] = {544, 544, {kNone, kNone, kNone, kNone}, 0, kArbStored};
    return t;
}
constexpr std::array<RowRepaint, kRows> kRowMap = BuildMap();
static_assert(kRowMap[kRows - 1].first == 544, "the map is filled to its end");

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
    if (state >= 96 && state <= 544) {
        for (const RowRepaint& r : kRowMap) {
            if (state < r.first || state > r.last) continue;
            Run(r);
            break;
        }
    }
    if (state == 513 || state == 515) MenuWin_Repaint(kWinRippleVpp);
    if (state == 529 || state == 535 || state == 537) MenuWin_Repaint(kWinLfRingTime);
    if (state == 222 || state == 224) {
        MenuWin_Show(kWinPasswordBox);
        if (state == 224) MenuWin_Repaint(kWinPasswordField);
    } else {
        MenuWin_Hide(kWinPasswordBox);
    }
}
