#pragma once
// The look of a page whose screen is not built yet: one 800x480 black window, "page N" in the 24-px font
// at (20, 40), white. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"

// The page's hidden window with the paint callback given.
WM_HWINDOW StandInPage_Create(WM_CALLBACK* cb);
// Paints the window being painted as page `id`.
void StandInPage_Paint(uint32_t id);
