#pragma once
// Rectangles: overlap, merge, move and intersection.
#include "GUI/gui_types.h"

int GUI_BoxesOverlap(const GUI_BOX* a, const GUI_BOX* b);
void GUI_MergeBoxes(GUI_BOX* out, const GUI_BOX* a, const GUI_BOX* b);
void GUI_MoveBox(GUI_BOX* box, int dx, int dy);

namespace gui {
// out = a ∩ b; false when they share no pixel (out is then undefined).
bool IntersectBoxes(GUI_BOX* out, const GUI_BOX& a, const GUI_BOX& b);
}  // namespace gui
