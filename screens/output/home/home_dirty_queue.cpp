#include "screens/output/home/home_dirty_queue.h"

#include "screens/output/home/home_windows.h"

HomeDirtyQueue g_HomeDirtyQueue{{},
                                g_HomeDirtyQueue.slot,
                                g_HomeDirtyQueue.slot,
                                g_HomeDirtyQueue.slot,
                                g_HomeDirtyQueue.slot + HomeDirtyQueue::kSlots};

void HomeDirty_Reset() {
    HomeDirtyQueue& q = g_HomeDirtyQueue;
    q.base = q.slot;
    q.write = q.base;
    q.read = q.write;
    q.end = q.base + HomeDirtyQueue::kSlots;
}

WM_HWINDOW HomeDirty_Push(WM_HWINDOW h) {
    HomeDirtyQueue& q = g_HomeDirtyQueue;
    if (q.write >= q.end) return -1;
    *q.write++ = h;
    return h;
}

int32_t HomeDirty_Flush() {
    HomeDirtyQueue& q = g_HomeDirtyQueue;
    // The writer never wraps, so neither does the reader: wrapping read at the end of a full queue (write
    // at end too) would take it past write and round again for ever.
    while (q.read < q.write) {
        const WM_HWINDOW h = *q.read++;
        WM_Repaint(h);
    }
    q.write = q.read = q.base;
    return -1;
}

int32_t HomeDirty_FreeSlots() {
    const HomeDirtyQueue& q = g_HomeDirtyQueue;
    return static_cast<int32_t>(q.end - q.write);
}

namespace home {
void Queue(int win) {
    if (g_HomeWin[win] != 0) HomeDirty_Push(g_HomeWin[win]);
}
void QueueRange(int firstWin, int count) {
    for (int i = 0; i < count; ++i)
        Queue(firstWin + i);
}
}  // namespace home
