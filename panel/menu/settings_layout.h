#pragma once
// What each row of the home screen's settings panel holds in each output mode: the key handlers move the
// selection over these rows, the panel painters and the overlay's cells draw them, and the enter key's
// openers (home_field_matrix.cpp) are checked against them. One table; the other two layouts are made
// from it. Three layouts, one of which is in force.
#include <array>
#include <cstdint>

#include "core/params/param_ranges.h"
#include "panel/menu/panel_items.h"
#include "platform/stage/wiring_codes.h"

inline constexpr uint32_t kLayoutRows = 14;

// item = table[row * core::kModes + output mode]
using SettingsLayout = std::array<PanelItem, kLayoutRows * core::kModes>;

struct SettingsLayoutSet {
    SettingsLayout a;  // 3P4W, phase view, unbalanced
    SettingsLayout b;  // 1P3W, phase view, unbalanced
    SettingsLayout c;  // 1P2W, the line view and the balanced settings
};

namespace settings_layout {
// Short names that keep the table below a grid.
constexpr PanelItem PH = kItemPhase, MO = kItemMode, AV = kItemAcv, DV = kItemDcv, FQ = kItemFreq,
                    IR = kItemIrms, I_ = kItemI, ON = kItemOnPhase, OF = kItemOffPhase, GA = kItemGain,
                    SG = kItemSig, SQ = kItemSeqTest, WV = kItemWave, DU = kItemDuty, L2 = kItemAngleL2,
                    L3 = kItemAngleL3, SR = kItemSrc, SY = kItemSyncPhase, xx = kItemFiller, EN = kItemEnd;
// Columns: ACDC-INT, AC-INT, DC-INT, ACDC-EXT, AC-EXT, ACDC-ADD, AC-ADD, ACDC-SYNC, AC-SYNC, AC-VCA.
// clang-format off
constexpr SettingsLayout kLayoutA = {
    PH, PH, PH, PH, PH, PH, PH, PH, PH, PH,
    MO, MO, MO, MO, MO, MO, MO, MO, MO, MO,
    AV, AV, DV, GA, GA, AV, AV, AV, AV, GA,
    DV, xx, I_, IR, IR, DV, xx, DV, xx, xx,
    FQ, FQ, SQ, SR, SR, FQ, FQ, SG, SG, FQ,
    IR, IR, EN, EN, EN, IR, IR, IR, IR, IR,
    ON, ON, xx, xx, xx, GA, GA, ON, ON, ON,
    OF, OF, xx, xx, xx, ON, ON, OF, OF, OF,
    WV, WV, xx, xx, xx, OF, OF, WV, WV, WV,
    DU, DU, xx, xx, xx, WV, WV, DU, DU, DU,
    SQ, SQ, xx, xx, xx, DU, DU, SY, SY, SR,
    L2, L2, xx, xx, xx, SR, SR, L2, L2, L2,
    L3, L3, xx, xx, xx, EN, EN, L3, L3, L3,
    EN, EN, xx, xx, xx, xx, xx, EN, EN, EN,
};
// clang-format on

// The modes whose last rows are the phase-angle rows (the others end earlier).
constexpr bool AngleMode(uint32_t mode) {
    return !IsDcExtOrAddMode(mode);
}

constexpr SettingsLayout Set(SettingsLayout t, uint32_t row, bool (*modes)(uint32_t), PanelItem item) {
    for (uint32_t m = 0; m < core::kModes; ++m)
        if (modes(m)) t[row * core::kModes + m] = item;
    return t;
}

constexpr bool AnyMode(uint32_t) {
    return true;
}

// 1P3W has no L1-L3 angle: the panel ends one row earlier.
constexpr SettingsLayout kLayoutB = Set(Set(kLayoutA, 12, AngleMode, kItemEnd), 13, AnyMode, kItemFiller);
// No phase-angle rows at all.
constexpr SettingsLayout kLayoutC =
    Set(Set(Set(kLayoutA, 11, AngleMode, kItemEnd), 12, AngleMode, kItemFiller), 13, AnyMode, kItemFiller);
}  // namespace settings_layout

inline constexpr SettingsLayoutSet SettingsLayoutTables{settings_layout::kLayoutA, settings_layout::kLayoutB,
                                                        settings_layout::kLayoutC};

// wiring 0 3P4W, 1 1P2W, 2 1P3W; lineView 1 = the LINE view; balanced 1 = the balance mode setting on.
constexpr const SettingsLayout& SettingsLayoutFor(uint32_t wiring, int32_t lineView, int32_t balanced) {
    if (wiring == kWiring1P2W || lineView == 1 || balanced == 1) return SettingsLayoutTables.c;
    return wiring == kWiring1P3W ? SettingsLayoutTables.b : SettingsLayoutTables.a;
}

// Out-of-range rows and modes read as filler.
constexpr PanelItem SettingsItemCode(const SettingsLayout& t, uint32_t row, uint32_t mode) {
    return row < kLayoutRows && mode < core::kModes ? t[row * core::kModes + mode] : kItemFiller;
}

// The first row of an item in an output mode's 3P4W layout, or kLayoutRows where the mode has none.
constexpr uint32_t LayoutRowOf(PanelItem item, uint32_t mode) {
    for (uint32_t row = 0; row < kLayoutRows; ++row)
        if (SettingsItemCode(SettingsLayoutTables.a, row, mode) == item) return row;
    return kLayoutRows;
}

// The duty row of an output mode (the same in every layout), or kLayoutRows in a mode without one. The
// Wave and duty rows share one window and one overlay cell.
constexpr uint32_t DutyRowOf(uint32_t mode) {
    return LayoutRowOf(kItemDuty, mode);
}
