#pragma once
// The home page's 113 windows as data, in creation order: each row's parent (a row index, or -1 for the
// desktop), place relative to the parent, size, visibility at creation and paint callback.
#include <array>
#include <cstdint>

#include "GUI/wm/wm.h"
#include "screens/output/home/home_windows.h"

namespace home {

struct WinDef {
    int8_t parent;  // row index of the parent, -1 the desktop
    int16_t x, y, w, h;
    bool shown;
    WM_CALLBACK* paint;
};

extern const std::array<WinDef, kWinCount> kWinTable;

}  // namespace home
