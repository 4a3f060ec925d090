// The painting pass. A window's invalid flag is cleared before its paint, so what the paint invalidates
// (its own window or another one) is kept and painted by the next pass; a pass visits each window at most
// once, so paints that invalidate each other cannot hold the GUI thread.
#include "GUI/lcd/lcd.h"
#include "GUI/wm/wm.h"
#include "GUI/gui_context.h"

namespace {

void Notify(WM_CALLBACK* cb, WM_HWINDOW h, int32_t id) {
    WM_MSG_RECORD msg{id, h, 0, {nullptr}};
    cb(&msg);
}

void Paint(WM_HWINDOW h, WM_CALLBACK* cb, const GUI_BOX& rect) {
    Notify(cb, h, WM_MSG_PRE_PAINT);
    const GUI_BOX outer = WM_State.paintRect;  // a paint started from inside another paint
    WM_State.paintRect = rect;
    ++WM_State.paintInProgress;
    if (WM_ClipBegin(&rect)) {
        do {
            GUI_ResetDrawingDefaults();
            GUI_Context.pWmClipLimit = nullptr;
            WM_MSG_RECORD msg{WM_MSG_PAINT, h, 0, {&rect}};
            WM_Deliver(h, &msg);
        } while (WM_ClipNext());
    }
    --WM_State.paintInProgress;
    WM_State.paintRect = outer;
    Notify(cb, h, WM_MSG_POST_PAINT);
}

// 1 when the window was painted through its callback.
int PaintOne(WM_HWINDOW h) {
    GUI_BOX rect;
    WM_CALLBACK* cb;
    {
        wm::Locked w(h);
        if (!w || !(w->status & WM_SF_INVALID)) return 0;
        w->status &= ~WM_SF_INVALID;
        --WM_State.numInvalid;
        rect = w->invalid;
        cb = w->cb;
    }
    if (cb == nullptr || !wm::ClipToVisible(h, &rect)) return 0;
    WM_Select(h);
    Paint(h, cb, rect);
    return 1;
}

// Paints invalid windows from the resume point until one was painted through its callback.
void PaintStep() {
    GUI_DRAWCTX saved;
    GUI_CopyContextOut(&saved);
    WM_HWINDOW h = WM_State.hResume != 0 ? WM_State.hResume : WM_State.hFirst;
    while (h != 0) {
        const int painted = PaintOne(h);
        h = wm::Locked(h)->hNextLin;
        if (painted) break;
    }
    WM_State.hResume = h;
    GUI_SetForeColor(saved.foreColor);
    GUI_SetBackColor(saved.backColor);
    // A device change made by a paint survives the restore.
    saved.apDevice[0] = GUI_Context.apDevice[0];
    saved.apDriver[0] = GUI_Context.apDriver[0];
    saved.hDevMem = GUI_Context.hDevMem;
    GUI_CopyContextIn(&saved);
}

}  // namespace

void WM_Repaint(WM_HWINDOW h) {
    WM_Invalidate(h);
    WM_DrawNow(h);
}

void WM_DrawNow(WM_HWINDOW h) {
    if (h == 0) return;
    GUI_DRAWCTX saved;
    GUI_CopyContextOut(&saved);
    PaintOne(h);
    GUI_CopyContextIn(&saved);
    GUI_SetForeColor(saved.foreColor);
    GUI_SetBackColor(saved.backColor);
}

int WM_Run() {
    if (!GUI_Context.wmClipping || WM_State.numInvalid == 0) return 0;
    // One walk of the window list; what the paints invalidate waits for the next pass.
    LCD_DrawBatchControl(1);
    WM_State.hResume = 0;
    do {
        PaintStep();
    } while (WM_State.hResume != 0 && WM_State.numInvalid != 0);
    WM_State.hResume = 0;
    LCD_DrawBatchControl(0);
    return 1;
}
