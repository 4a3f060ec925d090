#include <algorithm>

#include "GUI/wm/wm.h"
#include "GUI/lcd/lcd_clip.h"
#include "GUI/draw/gui_box.h"

WM_STATE WM_State;

namespace {

void DesktopCallback(WM_MSG_RECORD* msg) {
    WM_DefaultHandler(msg);  // the desktop leaves the screen as it is
}

void MoveRect(GUI_BOX* box, int dx, int dy) {
    GUI_MoveBox(box, dx, dy);
}

void SendMove(WM_HWINDOW h, const int32_t* delta) {
    WM_MSG_RECORD msg{};
    msg.MsgId = WM_MSG_MOVE;
    msg.Data.p = delta;
    WM_Deliver(h, &msg);
}

// Children first, then their message: a child that looks at its own children sees them moved.
void MoveDescendants(WM_HWINDOW h, const int32_t* delta) {
    WM_HWINDOW child = wm::Locked(h)->hFirstChild;
    while (child != 0) {
        {
            wm::Locked c(child);
            MoveRect(&c->rect, delta[0], delta[1]);
            MoveRect(&c->invalid, delta[0], delta[1]);
        }
        MoveDescendants(child, delta);
        SendMove(child, delta);
        child = wm::Locked(child)->hNext;
    }
}

void InvalidateTree(WM_HWINDOW h) {
    WM_Invalidate(h);
    for (WM_HWINDOW c = wm::Locked(h)->hFirstChild; c != 0; c = wm::Locked(c)->hNext)
        InvalidateTree(c);
}

}  // namespace

WM_HWINDOW WM_CreateChild(int x0, int y0, int xsize, int ysize, WM_HWINDOW parent, int style, WM_CALLBACK* cb,
                          int extraBytes) {
    if (parent == 0 && WM_State.numWindows > 0) parent = WM_State.hDesktop;
    if (parent != 0) {
        wm::Locked p(parent);
        if (!p) return 0;
        x0 += p->rect.x0;
        y0 += p->rect.y0;
        if (xsize == 0) xsize = p->rect.x1 - p->rect.x0 + 1;
        if (ysize == 0) ysize = p->rect.y1 - p->rect.y0 + 1;
    }
    const WM_HWINDOW h =
        GUI_ALLOC_NewZeroBlock(static_cast<uint32_t>(sizeof(WM_WINDOW) + std::max(extraBytes, 0)));
    if (h == 0) return 0;
    ++WM_State.numWindows;
    {
        wm::Locked w(h);
        w->rect = {static_cast<int16_t>(x0), static_cast<int16_t>(y0), static_cast<int16_t>(x0 + xsize - 1),
                   static_cast<int16_t>(y0 + ysize - 1)};
        w->cb = cb;
        w->hParent = parent;
        if (WM_State.hFirst == 0) {
            WM_State.hFirst = h;
        } else {
            wm::Locked head(WM_State.hFirst);
            w->hNextLin = head->hNextLin;
            head->hNextLin = h;
        }
    }
    if (parent != 0) {
        WM_HWINDOW last = wm::Locked(parent)->hFirstChild;
        if (last == 0) {
            wm::Locked(parent)->hFirstChild = h;
        } else {
            for (WM_HWINDOW n; (n = wm::Locked(last)->hNext) != 0;)
                last = n;
            wm::Locked(last)->hNext = h;
        }
    }
    if (style & WM_CF_SHOW) {
        wm::Locked(h)->status |= WM_SF_VISIBLE;
        WM_Invalidate(h);
    }
    WM_SendId(h, WM_MSG_CREATE);
    return h;
}

WM_HWINDOW WM_CreateTop(int x0, int y0, int xsize, int ysize, int style, WM_CALLBACK* cb, int extraBytes) {
    return WM_CreateChild(x0, y0, xsize, ysize, 0, style, cb, extraBytes);
}

void WM_Show(WM_HWINDOW h) {
    {
        wm::Locked w(h);
        if (!w || (w->status & WM_SF_VISIBLE)) return;
        w->status |= WM_SF_VISIBLE;
    }
    InvalidateTree(h);
}

void WM_Hide(WM_HWINDOW h) {
    GUI_BOX rect;
    WM_HWINDOW parent, next;
    {
        wm::Locked w(h);
        if (!w || !(w->status & WM_SF_VISIBLE)) return;
        w->status &= ~WM_SF_VISIBLE;
        rect = w->rect;
        parent = w->hParent;
        next = w->hNext;
    }
    wm::InvalidateArea(rect, parent, next);
}

int WM_IsShown(WM_HWINDOW h) {
    wm::Locked w(h);
    return w && (w->status & WM_SF_VISIBLE) ? 1 : 0;
}

void WM_MoveToPos(WM_HWINDOW h, int x, int y) {
    int32_t delta[2];
    GUI_BOX before, after;
    WM_HWINDOW parent, next;
    bool visible;
    {
        wm::Locked w(h);
        if (!w) return;
        delta[0] = x - w->rect.x0;
        delta[1] = y - w->rect.y0;
        if (delta[0] == 0 && delta[1] == 0) return;
        before = w->rect;
        MoveRect(&w->rect, delta[0], delta[1]);
        MoveRect(&w->invalid, delta[0], delta[1]);
        after = w->rect;
        parent = w->hParent;
        next = w->hNext;
        visible = (w->status & WM_SF_VISIBLE) != 0;
    }
    MoveDescendants(h, delta);
    if (visible && parent != 0) {
        wm::InvalidateArea(after, parent, next);
        wm::InvalidateArea(before, parent, next);
    }
    SendMove(h, delta);
}

void WM_ResizeBy(WM_HWINDOW h, int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    GUI_BOX both;
    WM_HWINDOW parent, next;
    bool visible;
    {
        wm::Locked w(h);
        if (!w) return;
        const GUI_BOX before = w->rect;
        // A size never goes below 0: the far edge stops one pixel before the near one.
        w->rect.x1 = static_cast<int16_t>(std::max(w->rect.x1 + dx, w->rect.x0 - 1));
        w->rect.y1 = static_cast<int16_t>(std::max(w->rect.y1 + dy, w->rect.y0 - 1));
        GUI_MergeBoxes(&both, &before, &w->rect);
        parent = w->hParent;
        next = w->hNext;
        visible = (w->status & WM_SF_VISIBLE) != 0;
    }
    if (visible) wm::InvalidateArea(both, parent, next);
    {
        wm::Locked w(h);
        if ((w->status & WM_SF_INVALID) && !gui::IntersectBoxes(&w->invalid, w->invalid, w->rect)) {
            w->status &= ~WM_SF_INVALID;
            --WM_State.numInvalid;
        }
    }
    WM_SendId(h, WM_MSG_SIZE);
}

int WM_SetHeight(WM_HWINDOW h, int ysize) {
    if (h == 0) return 0;
    WM_ResizeBy(h, 0, ysize - WM_GetHeight(h));
    return WM_GetHeight(h);
}

WM_HWINDOW WM_Select(WM_HWINDOW h) {
    const WM_HWINDOW previous = GUI_Context.hSelWin;
    if (h == 0) h = WM_State.hFirst;
    GUI_Context.hSelWin = h;
    wm::Locked w(h);
    GUI_Context.xOff = w ? w->rect.x0 : 0;
    GUI_Context.yOff = w ? w->rect.y0 : 0;
    LCD_ClipToScreen();
    return previous;
}

WM_HWINDOW WM_GetSelected() {
    return GUI_Context.hSelWin;
}

int WM_GetLeft(WM_HWINDOW h) {
    wm::Locked w(h);
    return w ? w->rect.x0 : 0;
}

int WM_GetTop(WM_HWINDOW h) {
    wm::Locked w(h);
    return w ? w->rect.y0 : 0;
}

int WM_GetWidth(WM_HWINDOW h) {
    wm::Locked w(h != 0 ? h : GUI_Context.hSelWin);
    return w ? w->rect.x1 - w->rect.x0 + 1 : 0;
}

int WM_GetHeight(WM_HWINDOW h) {
    wm::Locked w(h != 0 ? h : GUI_Context.hSelWin);
    return w ? w->rect.y1 - w->rect.y0 + 1 : 0;
}

WM_HWINDOW WM_GetDesktop() {
    return WM_State.hDesktop;
}

WM_HWINDOW WM_GetParent(WM_HWINDOW h) {
    wm::Locked w(h);
    return w ? w->hParent : 0;
}

void WM_Setup() {
    WM_State = WM_STATE{};
    GUI_Context.pWmClipLimit = nullptr;
    WM_State.hDesktop = WM_CreateChild(0, 0, 4095, 4095, 0, WM_CF_SHOW, DesktopCallback, 0);
    WM_Invalidate(WM_State.hDesktop);
    WM_Select(WM_State.hDesktop);
    GUI_Context.wmClipping = 1;
}
