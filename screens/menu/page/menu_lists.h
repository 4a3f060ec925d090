#pragma once
// The MENU lists as the page draws them: one row table per list number, each row tying a menu state to its
// label, its own value window and its kind. The key side moves over the same lists with its own table.
#include <cstdint>

#include "GUI/wm/wm.h"

inline constexpr uint32_t kMenuListEnd = 0xFFFFFFFFu;
inline constexpr int kMenuLists = 14;
inline constexpr int kMenuListSpecial = 11;  // drawn by the special-function sub-page

enum MenuRowKind : uint32_t {
    kRowCaption = 0,  // never takes the focus
    kRowTopMenu = 1,  // focus bar and preview pane
    kRowValue = 100,  // its value window carries the focus
};

struct MenuListRow {
    uint32_t SelectState;  // 0 for a caption, kMenuListEnd ends the table; the edit state is one more
    char Label[32];
    const WM_HWINDOW* ValueWindow;  // the row's own value window, null for none
    uint32_t Kind;
};

// Row tables by list number 0-13; null for list 11.
extern const MenuListRow* const g_MenuListTables[kMenuLists];

namespace menu {
// List titles (empty for the top menu and list 11) and the x of the colon column.
const char* ListTitle(uint32_t list);
int ListColonX(uint32_t list);
// Index of the row of table whose select state is state, -1 for none (a state of 0 never matches).
int RowOfState(const MenuListRow* table, uint32_t state);
}  // namespace menu
