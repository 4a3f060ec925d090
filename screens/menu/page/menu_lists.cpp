#include "screens/menu/page/menu_lists.h"

#include <array>

#include "screens/menu/page/menu_windows.h"
#include "screens/menu/rows/menu_row_table.h"

namespace {

using menu::RowWin;

constexpr MenuListRow End() {
    return {kMenuListEnd, "", nullptr, kRowCaption};
}
// The drawn row of a row of the one table: a caption, a top-menu entry or a value with its row window.
constexpr MenuListRow Drawn(const menu_rows::MenuRow& m) {
    const uint32_t kind = m.state == 0                         ? kRowCaption
                          : m.list == menu_rows::NavList::kTop ? kRowTopMenu
                                                               : kRowValue;
    MenuListRow r{m.state, {}, nullptr, kind};
    for (int i = 0; i < 31 && m.label[i] != 0; ++i)
        r.Label[i] = m.label[i];
    if (m.column >= 0) r.ValueWindow = &g_MenuWin[RowWin(m.column, m.window)];
    return r;
}

constexpr int kDrawnRows = [] {
    int n = 0;
    for (const menu_rows::MenuRow& m : menu_rows::kMenuRows)
        n += menu_rows::kLists[static_cast<size_t>(m.list)].drawn >= 0;
    return n;
}();

// Every drawn list, one after the other, each closed by its end row; and where each list starts.
struct DrawnLists {
    std::array<MenuListRow, kDrawnRows + kMenuLists> rows;
    std::array<int, kMenuLists> first;
};
constexpr DrawnLists BuildLists() {
    DrawnLists d{};
    int n = 0;
    for (int list = 0; list < kMenuLists; ++list) {
        d.first[list] = n;
        for (const menu_rows::MenuRow& m : menu_rows::kMenuRows)
            if (menu_rows::kLists[static_cast<size_t>(m.list)].drawn == list) d.rows[n++] = Drawn(m);
        d.rows[n++] = End();
    }
    return d;
}
constexpr DrawnLists kDrawn = BuildLists();

struct ListLook {
    const char* title;
    int colonX;
};
constexpr ListLook kLooks[kMenuLists] = {
    {"", 0},
    {"LAN Configuration", 170},
    {"RS232C Configuration", 170},
    {"GPIB Configuration", 170},
    {"CAN BUS Configuration", 170},
    {"DeviceNet Configuration", 170},
    {"Output Impedance Configuration", 190},
    {"Parallel Configuration", 190},
    {"USB Device Configuration", 170},
    {"LCD Configuration", 170},
    {"MISC Configuration", 180},
    {"", 0},
    {"Save/Recall Files", 170},
    {"Barcode Function", 190},
};

}  // namespace

constexpr const MenuListRow* ListAt(int list) {
    return list == kMenuListSpecial ? nullptr : &kDrawn.rows[kDrawn.first[list]];
}

const MenuListRow* const g_MenuListTables[kMenuLists] = {
    ListAt(0), ListAt(1), ListAt(2), ListAt(3),  ListAt(4),  ListAt(5),  ListAt(6),
    ListAt(7), ListAt(8), ListAt(9), ListAt(10), ListAt(11), ListAt(12), ListAt(13),
};

namespace menu {

const char* ListTitle(uint32_t list) {
    return list < kMenuLists ? kLooks[list].title : "";
}

int ListColonX(uint32_t list) {
    return list < kMenuLists ? kLooks[list].colonX : 0;
}

int RowOfState(const MenuListRow* table, uint32_t state) {
    if (table == nullptr || state == 0) return -1;
    for (int i = 0; table[i].SelectState != kMenuListEnd; ++i)
        if (table[i].SelectState == state) return i;
    return -1;
}

}  // namespace menu
