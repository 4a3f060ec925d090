#include "GUI/wm/wm.h"

void WM_Deliver(WM_HWINDOW h, WM_MSG_RECORD* msg) {
    // Callbacks that keep sending to each other stop here instead of exhausting the stack.
    if (WM_State.depth >= WM_MAX_NESTING) return;
    msg->hWin = h;
    WM_CALLBACK* cb;
    {
        wm::Locked w(h);
        cb = w ? w->cb : nullptr;
    }
    if (cb == nullptr) {
        WM_DefaultHandler(msg);
        return;
    }
    ++WM_State.depth;
    cb(msg);
    --WM_State.depth;
}

void WM_SendId(WM_HWINDOW h, int32_t id) {
    WM_MSG_RECORD msg{};
    msg.MsgId = id;
    WM_Deliver(h, &msg);
}

void WM_DefaultHandler(WM_MSG_RECORD* msg) {
    msg->Data.v = 0;
}
