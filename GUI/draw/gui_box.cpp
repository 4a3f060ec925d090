#include <algorithm>

#include "GUI/draw/gui_box.h"

int GUI_BoxesOverlap(const GUI_BOX* a, const GUI_BOX* b) {
    return a->x0 <= b->x1 && b->x0 <= a->x1 && a->y0 <= b->y1 && b->y0 <= a->y1 ? 1 : 0;
}

void GUI_MergeBoxes(GUI_BOX* out, const GUI_BOX* a, const GUI_BOX* b) {
    if (a == nullptr || b == nullptr) {
        if (a != nullptr || b != nullptr) *out = a != nullptr ? *a : *b;
        return;
    }
    *out = {std::min(a->x0, b->x0), std::min(a->y0, b->y0), std::max(a->x1, b->x1), std::max(a->y1, b->y1)};
}

void GUI_MoveBox(GUI_BOX* box, int dx, int dy) {
    if (box == nullptr) return;
    box->x0 = static_cast<int16_t>(box->x0 + dx);
    box->x1 = static_cast<int16_t>(box->x1 + dx);
    box->y0 = static_cast<int16_t>(box->y0 + dy);
    box->y1 = static_cast<int16_t>(box->y1 + dy);
}

namespace gui {

bool IntersectBoxes(GUI_BOX* out, const GUI_BOX& a, const GUI_BOX& b) {
    *out = {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    return out->x0 <= out->x1 && out->y0 <= out->y1;
}

}  // namespace gui
