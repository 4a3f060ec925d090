// The clip iteration: the visible part of an area of the selected window, as rectangles in horizontal
// bands from top to bottom, left to right inside a band. What covers the window: its visible children
// and, for the window and each ancestor, the visible siblings after it (the windows above it).
#include <algorithm>
#include <vector>

#include "GUI/wm/wm.h"
#include "GUI/lcd/lcd_clip.h"
#include "GUI/draw/gui_box.h"

namespace {

constexpr int32_t kMaxRects = 201;

struct ClipIteration {
    GUI_BOX area;
    GUI_BOX cur;  // the last rectangle; its lines are the current band's
    int32_t counter;
    int32_t nesting;
    std::vector<GUI_BOX> occluders;  // those that meet the area
};
ClipIteration g_clip{{}, {}, 0, 0, {}};

void AddOccluder(WM_HWINDOW h) {
    wm::Locked w(h);
    if ((w->status & WM_SF_VISIBLE) && GUI_BoxesOverlap(&w->rect, &g_clip.area))
        g_clip.occluders.push_back(w->rect);
}

void CollectOccluders(WM_HWINDOW sel) {
    g_clip.occluders.clear();
    for (WM_HWINDOW c = wm::Locked(sel)->hFirstChild; c != 0; c = wm::Locked(c)->hNext)
        AddOccluder(c);
    for (WM_HWINDOW h = sel; h != 0; h = wm::Locked(h)->hParent) {
        for (WM_HWINDOW s = wm::Locked(h)->hNext; s != 0; s = wm::Locked(s)->hNext)
            AddOccluder(s);
    }
}

bool CoversColumn(const GUI_BOX& o, int x) {
    return o.x0 <= x && x <= o.x1 && o.y0 <= g_clip.cur.y1 && o.y1 >= g_clip.cur.y0;
}

bool FindNextRect() {
    const GUI_BOX& a = g_clip.area;
    GUI_BOX& cur = g_clip.cur;
    int x, y;
    if (g_clip.counter == 0) {
        x = a.x0;
        y = a.y0;
    } else {
        x = cur.x1 + 1;
        y = cur.y0;
        if (x > a.x1) {
            x = a.x0;
            y = cur.y1 + 1;
        }
    }
    for (;;) {
        if (y > a.y1) return false;
        if (x == a.x0) {  // a new band: as high as no occluder's top or bottom edge cuts it
            int bottom = a.y1;
            for (const GUI_BOX& o : g_clip.occluders) {
                if (o.x1 < a.x0 || o.x0 > a.x1 || o.y1 < y || o.y0 > bottom) continue;
                bottom = o.y0 > y ? o.y0 - 1 : std::min<int>(bottom, o.y1);
            }
            cur.y0 = static_cast<int16_t>(y);
            cur.y1 = static_cast<int16_t>(bottom);
        }
        for (bool moved = true; moved;) {
            moved = false;
            for (const GUI_BOX& o : g_clip.occluders) {
                if (CoversColumn(o, x)) {
                    x = o.x1 + 1;
                    moved = true;
                }
            }
        }
        if (x <= a.x1) break;
        x = a.x0;  // band done
        y = cur.y1 + 1;
    }
    int right = a.x1;
    for (const GUI_BOX& o : g_clip.occluders) {
        if (o.x0 > x && o.x0 <= right && o.y0 <= cur.y1 && o.y1 >= cur.y0) right = o.x0 - 1;
    }
    if (g_clip.counter >= kMaxRects) return false;
    cur.x0 = static_cast<int16_t>(x);
    cur.x1 = static_cast<int16_t>(right);
    return true;
}

// The window-manager clip limit is given in the selected window's coordinates.
bool ApplyClipLimit(GUI_BOX* box) {
    if (GUI_Context.pWmClipLimit == nullptr) return true;
    GUI_BOX limit = *GUI_Context.pWmClipLimit;
    GUI_MoveBox(&limit, GUI_Context.xOff, GUI_Context.yOff);
    return gui::IntersectBoxes(box, *box, limit);
}

}  // namespace

int WM_ClipBegin(const GUI_BOX* rect) {
    if (++g_clip.nesting >= 2) return 1;  // inside another primitive's iteration: draw once, as it clips
    g_clip.counter = -1;
    const WM_HWINDOW sel = GUI_Context.hSelWin;
    GUI_BOX area;
    bool ok;
    {
        wm::Locked w(sel);
        ok = w && (WM_State.paintInProgress != 0 || (w->status & WM_SF_VISIBLE));
        if (ok) area = WM_State.paintInProgress != 0 ? WM_State.paintRect : w->rect;
    }
    ok = ok && (rect == nullptr || gui::IntersectBoxes(&area, area, *rect)) && ApplyClipLimit(&area) &&
         wm::ClipToVisible(sel, &area);
    if (!ok) {
        --g_clip.nesting;
        return 0;
    }
    g_clip.area = area;
    CollectOccluders(sel);
    return WM_ClipNext();
}

int WM_ClipNext() {
    if (g_clip.nesting >= 2) {
        --g_clip.nesting;
        return 0;
    }
    if (g_clip.nesting <= 0) return 0;
    ++g_clip.counter;
    if (!FindNextRect()) {
        --g_clip.nesting;
        return 0;
    }
    GUI_BOX clip = g_clip.cur;
    if (!ApplyClipLimit(&clip)) clip = {0, 0, -1, -1};
    LCD_ClipToScreenRect(&clip);
    return 1;
}
