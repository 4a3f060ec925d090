#pragma once
// The polygon filler in absolute coordinates (points offset by ox, oy), clipped by the high-level clip
// rectangle; the wide pen draws with it as well.
#include "GUI/draw/gui_2d.h"

namespace gui {

void FillPolygon(const GUI_POINT* points, int count, int ox, int oy);

}  // namespace gui
