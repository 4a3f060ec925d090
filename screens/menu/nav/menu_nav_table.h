#pragma once
// The MENU lists as the keys walk them. The navigation finds the current row again from the menu state on
// every key; no cursor is kept.
#include <array>
#include <cstdint>
#include <utility>

#include "panel/menu_entries.h"
#include "screens/menu/rows/menu_row_table.h"
#include "screens/menu/rows/row_entries.h"

// A row's place in its list; an optional top-list row is passed over when its interface or function is
// not there.
enum MenuNavPosition : uint32_t {
    kNavFirst = 0,
    kNavMiddle = 1,
    kNavOptional = 2,
    kNavLast = 3,
    kNavOnly = 4
};

struct MenuNavRow {
    uint32_t State;  // the row's select state; 0xFFFFFFFF ends the table
    MenuEntryFn EnterParent;
    MenuEntryFn EnterSelf;
    MenuEntryFn EnterChild;
    uint32_t Position;
};

// The operation of a row that opens nothing, and of the terminator.
void menuNavNothing();

inline constexpr uint32_t kMenuNavEnd = 0xFFFFFFFF;

namespace menu_rows {
// The rows the keys walk, as indexes into kMenuRows.
constexpr uint32_t CountWalked() {
    uint32_t n = 0;
    for (const MenuRow& r : kMenuRows)
        n += r.walk != Walk::kShown;
    return n;
}
inline constexpr uint32_t kWalkedCount = CountWalked();
constexpr auto WalkedIndexes() {
    std::array<uint32_t, kWalkedCount> at{};
    uint32_t n = 0;
    for (uint32_t i = 0; i < kMenuRowCount; ++i)
        if (kMenuRows[i].walk != Walk::kShown) at[n++] = i;
    return at;
}
inline constexpr auto kWalked = WalkedIndexes();

constexpr uint32_t PositionOf(uint32_t n) {
    const MenuRow& r = kMenuRows[kWalked[n]];
    const bool first = n == 0 || kMenuRows[kWalked[n - 1]].list != r.list;
    const bool last = n + 1 == kWalkedCount || kMenuRows[kWalked[n + 1]].list != r.list;
    if (first && last) return kNavOnly;
    if (first) return kNavFirst;
    if (last) return kNavLast;
    return r.walk == Walk::kOptional ? kNavOptional : kNavMiddle;
}

template <uint32_t N>
constexpr MenuEntryFn ChildOf() {
    constexpr MenuRow r = kMenuRows[kWalked[N]];
    if constexpr (r.opens == Opens::kEditor)
        return menuEnterRow<r.state + 1>;
    else if constexpr (r.opens == Opens::kNothing)
        return menuNavNothing;
    else
        return r.open;
}

template <uint32_t N>
constexpr MenuNavRow NavRow() {
    constexpr MenuRow r = kMenuRows[kWalked[N]];
    return {r.state, kLists[static_cast<size_t>(r.list)].owner, menuEnterRow<r.state>, ChildOf<N>(),
            PositionOf(N)};
}

template <uint32_t... N>
constexpr auto NavTable(std::integer_sequence<uint32_t, N...>) {
    return std::array<MenuNavRow, kWalkedCount + 1>{
        NavRow<N>()..., MenuNavRow{kMenuNavEnd, menuNavNothing, menuNavNothing, menuNavNothing, 0}};
}

constexpr auto ListSizes() {
    std::array<uint32_t, static_cast<size_t>(NavList::kCount)> sizes{};
    for (uint32_t n = 0; n < kWalkedCount; ++n)
        ++sizes[static_cast<size_t>(kMenuRows[kWalked[n]].list)];
    return sizes;
}
}  // namespace menu_rows

// The MENU lists as the keys walk them, built from the row table: per row its select state, the entry of
// its list's owner, its own entry, what it opens and its place in its list.
inline constexpr auto g_MenuNavTable =
    menu_rows::NavTable(std::make_integer_sequence<uint32_t, menu_rows::kWalkedCount>{});
inline constexpr uint32_t kMenuNavRows = menu_rows::kWalkedCount;

// The number of rows of each list, in the table's order. The knob never leaves the list it is in.
inline constexpr auto kMenuNavListSizes = menu_rows::ListSizes();

// The first and last table index of the list that holds the row at index i.
struct MenuNavSpan {
    uint32_t first, last;
};
constexpr MenuNavSpan MenuNavListOf(uint32_t i) {
    uint32_t first = 0;
    for (uint32_t n : kMenuNavListSizes) {
        if (i < first + n) return {first, first + n - 1};
        first += n;
    }
    return {i, i};
}
