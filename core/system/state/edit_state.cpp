#include "core/system/state/edit_state.h"

#include <mutex>

std::atomic<uint32_t> g_MenuState{1};  // the panel starts on the home screen
std::atomic<uint32_t> g_MenuPrevState{0};
panel::EditBuf g_EditBuf{0, 1.0f, 0.0, 0, {}, 0, 0, 0, 0};
panel::EditParam g_EditParam;
panel::EditView g_EditShown{{0, 1.0f, 0.0, 0, {}, 0, 0, 0, 0}, 0, 0};
std::atomic<uint32_t> g_MenuResetWords[2]{};
std::atomic<uint32_t> g_DispResetWords[2]{};
HomePageWords g_HomePage{};

namespace panel {
namespace {
// The copy between the two threads: the lock is held for the copy alone on either side, so neither waits
// on the other for longer than a few stores.
std::mutex g_publishedLock;
EditView g_published{{0, 1.0f, 0.0, 0, {}, 0, 0, 0, 0}, 0, 0};
}  // namespace

void EditPublish() {
    const EditView now{g_EditBuf, g_EditParam.workValue.load(std::memory_order_relaxed), g_EditParam.cursor};
    const std::lock_guard<std::mutex> hold(g_publishedLock);
    g_published = now;
}

void EditSnapshotTake() {
    const std::lock_guard<std::mutex> hold(g_publishedLock);
    g_EditShown = g_published;
}
}  // namespace panel
