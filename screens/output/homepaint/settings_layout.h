#pragma once
// What each row of the home screen's settings panel holds in each output mode: the key handlers move the
// selection over these rows and the panel painter draws them. Three layouts, one of which is in force.
#include <array>
#include <cstdint>

#include "core/params/param_ranges.h"
#include "platform/stage/wiring_codes.h"

namespace home {

constexpr uint32_t kLayoutRows = 14, kLayoutModes = 10;
// Item codes of the rows the handlers look at; the painter names the others.
constexpr int8_t kItemDuty = 14, kItemFiller = 39, kItemEnd = 40;

// code = table[row * 10 + output mode]
using SettingsLayout = std::array<int8_t, kLayoutRows * kLayoutModes>;

struct SettingsLayoutSet {
    SettingsLayout a;  // 3P4W, phase view, unbalanced
    SettingsLayout b;  // 1P3W, phase view, unbalanced
    SettingsLayout c;  // 1P2W, the line view and the balanced settings
};

namespace detail {
// clang-format off
constexpr SettingsLayout kLayoutA = {
    0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
    1,  1,  1,  1,  1,  1,  1,  1,  1,  1,
    2,  2,  3,  9,  9,  2,  2,  2,  2,  9,
    3,  39, 6,  5,  5,  3,  39, 3,  39, 39,
    4,  4,  11, 18, 18, 4,  4,  10, 10, 4,
    5,  5,  40, 40, 40, 5,  5,  5,  5,  5,
    7,  7,  39, 39, 39, 9,  9,  7,  7,  7,
    8,  8,  39, 39, 39, 7,  7,  8,  8,  8,
    13, 13, 39, 39, 39, 8,  8,  13, 13, 13,
    14, 14, 39, 39, 39, 13, 13, 14, 14, 14,
    11, 11, 39, 39, 39, 14, 14, 19, 19, 18,
    16, 16, 39, 39, 39, 18, 18, 16, 16, 16,
    17, 17, 39, 39, 39, 40, 40, 17, 17, 17,
    40, 40, 39, 39, 39, 39, 39, 40, 40, 40,
};
// clang-format on

// The modes whose last rows are the phase-angle rows (the others end earlier).
constexpr bool AngleMode(uint32_t mode) {
    return !IsDcExtOrAddMode(mode);
}

constexpr SettingsLayout Set(SettingsLayout t, uint32_t row, bool (*modes)(uint32_t), int8_t code) {
    for (uint32_t m = 0; m < kLayoutModes; ++m)
        if (modes(m)) t[row * kLayoutModes + m] = code;
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
}  // namespace detail

inline constexpr SettingsLayoutSet SettingsLayoutTables{detail::kLayoutA, detail::kLayoutB, detail::kLayoutC};

// wiring 0 3P4W, 1 1P2W, 2 1P3W; lineView 1 = the LINE view; balanced 1 = the balance mode setting on.
constexpr const SettingsLayout& SettingsLayoutFor(uint32_t wiring, int32_t lineView, int32_t balanced) {
    if (wiring == kWiring1P2W || lineView == 1 || balanced == 1) return SettingsLayoutTables.c;
    return wiring == kWiring1P3W ? SettingsLayoutTables.b : SettingsLayoutTables.a;
}

// Out-of-range rows and modes read as filler.
constexpr int8_t SettingsItemCode(const SettingsLayout& t, uint32_t row, uint32_t mode) {
    return row < kLayoutRows && mode < kLayoutModes ? t[row * kLayoutModes + mode] : kItemFiller;
}

}  // namespace home
