#include "GUI/wm/wm.h"
#include "GUI/draw/gui_box.h"

namespace {

bool Visible(const wm::Locked& w) {
    return (w->status & WM_SF_VISIBLE) != 0;
}

// Marks the part of rect that meets the visible window h, then does the same in its descendants.
void InvalidateTree(WM_HWINDOW h, const GUI_BOX& rect) {
    WM_HWINDOW child;
    {
        wm::Locked w(h);
        GUI_BOX part;
        if (!Visible(w) || !gui::IntersectBoxes(&part, rect, w->rect)) return;
        child = w->hFirstChild;
    }
    wm::MarkInvalid(h, rect);
    for (; child != 0; child = wm::Locked(child)->hNext)
        InvalidateTree(child, rect);
}

}  // namespace

namespace wm {

bool ClipToVisible(WM_HWINDOW h, GUI_BOX* rect) {
    WM_HWINDOW last = 0;
    while (h != 0) {
        Locked w(h);
        if (!w || !Visible(w) || !gui::IntersectBoxes(rect, *rect, w->rect)) return false;
        last = h;
        h = w->hParent;
    }
    return last != 0 && last == WM_State.hDesktop;
}

void MarkInvalid(WM_HWINDOW h, const GUI_BOX& rect) {
    Locked w(h);
    GUI_BOX part;
    if (!w || !Visible(w) || !gui::IntersectBoxes(&part, rect, w->rect)) return;
    if (w->status & WM_SF_INVALID) {
        GUI_MergeBoxes(&w->invalid, &w->invalid, &part);
    } else {
        w->invalid = part;
        w->status |= WM_SF_INVALID;
        ++WM_State.numInvalid;
    }
}

void InvalidateArea(const GUI_BOX& rect, WM_HWINDOW w, WM_HWINDOW stop) {
    GUI_BOX area;
    WM_HWINDOW child;
    {
        Locked win(w);
        if (!win || !Visible(win) || !gui::IntersectBoxes(&area, rect, win->rect)) return;
        child = win->hFirstChild;
    }
    MarkInvalid(w, area);
    for (; child != 0 && child != stop; child = Locked(child)->hNext)
        InvalidateTree(child, area);
}

}  // namespace wm

void WM_Invalidate(WM_HWINDOW h) {
    GUI_BOX rect;
    {
        wm::Locked w(h);
        if (!w || !Visible(w)) return;
        rect = w->rect;
    }
    if (wm::ClipToVisible(h, &rect)) wm::MarkInvalid(h, rect);
}
