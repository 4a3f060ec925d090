#pragma once
// Screen changes asked by threads other than the menu/control thread (the parallel link objects on the
// timer thread): the panel's menu state and edit words belong to that thread, so the others post a
// request and its next pass runs it, before its keys and set commands. Requests keep the order in which
// they were posted; a kind posted again while it waits moves to the newest place with its newer argument
// (the screen ends as the last request left it), so the queue holds one request of each kind at most and
// never refuses one. Code on the menu/control thread itself calls the screen entries at once
// (core/control/hooks/core_ui_hooks.h).
#include <cstddef>
#include <cstdint>

enum class ScreenRequest : uint8_t {
    kAdvanceScreen,  // menuGoAdvenceScreen
    kParallelRetry,  // menuEnterParallelRetry
    kEnterState,     // menuEnterStateValue(argument, 0)
};
inline constexpr size_t kScreenRequestKinds = static_cast<size_t>(ScreenRequest::kEnterState) + 1;

// The screen entries a request runs, handed over by the composition root before any thread runs. A request
// whose entry is not set is not kept: it would do nothing.
struct ScreenRequestRunners {
    void (*advanceScreen)();
    void (*parallelRetry)();
    int32_t (*enterStateValue)(uint32_t state, int32_t value);
};
void ScreenRequest_SetRunners(const ScreenRequestRunners& runners);

// Any thread.
void ScreenRequest_Post(ScreenRequest what, uint32_t argument = 0);
// Menu/control thread, at the start of its pass: runs every request waiting, oldest first; the number run.
// A request posted meanwhile waits for the next pass.
size_t ScreenRequest_RunPending();
