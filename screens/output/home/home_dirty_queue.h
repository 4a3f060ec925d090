#pragma once
// The home page's repaint queue: the refresh queues the windows whose content changed, and the next
// refresh paints them in queue order, as often as they were queued. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"

struct HomeDirtyQueue {
    static constexpr int kSlots = 127;
    WM_HWINDOW slot[kSlots];
    WM_HWINDOW* write;
    WM_HWINDOW* read;
    WM_HWINDOW* base;
    WM_HWINDOW* end;
};
extern HomeDirtyQueue g_HomeDirtyQueue;

// Empties the queue (every pointer at the first slot, end one past the last).
void HomeDirty_Reset();
// The handle, or -1 when the queue is full (the handle is dropped).
WM_HWINDOW HomeDirty_Push(WM_HWINDOW h);
// Paints every queued window at once, in order; the queue is then empty. Returns -1.
int32_t HomeDirty_Flush();
int32_t HomeDirty_FreeSlots();

namespace home {
// Queues the home window of index win (a window whose create failed is skipped).
void Queue(int win);
void QueueRange(int firstWin, int count);
}  // namespace home
