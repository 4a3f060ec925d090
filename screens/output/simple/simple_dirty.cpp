#include "screens/output/simple/simple_dirty.h"

namespace simple {
namespace {

struct Queue {
    WM_HWINDOW slot[kDirtySlots];
    int read, write;
};
Queue g_queue{};

}  // namespace

void DirtyClear() {
    g_queue.read = g_queue.write = 0;
}

int DirtyPush(WM_HWINDOW h) {
    if (h == 0 || g_queue.write >= kDirtySlots) return -1;
    g_queue.slot[g_queue.write++] = h;
    return 0;
}

void DirtyFlush() {
    while (g_queue.read < g_queue.write) {
        const WM_HWINDOW h = g_queue.slot[g_queue.read++];
        if (!WM_IsShown(h)) WM_Show(h);
        WM_Repaint(h);
    }
    DirtyClear();
}

int DirtyCount() {
    return g_queue.write - g_queue.read;
}

}  // namespace simple
