#pragma once
// The simple page's queue of windows to repaint: the update rule pushes what changed, the flush at the
// end of the update paints each at once, in the order pushed. GUI thread only.
#include "GUI/wm/wm.h"

namespace simple {

inline constexpr int kDirtySlots = 128;

// Empties the queue.
void DirtyClear();
// Queues a window: 0, or -1 when the queue is full (the window is not queued) or the handle is 0.
int DirtyPush(WM_HWINDOW h);
// Shows each queued window that is hidden, repaints it at once, and empties the queue.
void DirtyFlush();
// Windows queued and not yet flushed.
// Tests count the simple page's repaints through it.
int DirtyCount();

}  // namespace simple
