// The library's execution step: the window manager's painting pass.
#include "GUI/lcd/lcd.h"
#include "GUI/wm/wm.h"

namespace {

// A paint that keeps invalidating windows is painted again on the next call, not held here.
constexpr int kMaxPassesPerRun = 8;

}  // namespace

int GUI_RunOnce() {
    return WM_Run();
}

int GUI_RunAll() {
    int worked = 0;
    for (int pass = 0; pass < kMaxPassesPerRun && GUI_RunOnce(); ++pass)
        worked = 1;
    return worked;
}
