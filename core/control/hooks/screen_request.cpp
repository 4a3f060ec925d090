#include "core/control/hooks/screen_request.h"

#include <mutex>

#include "core/control/hooks/call_hook.h"

namespace {
struct Pending {
    ScreenRequest what;
    uint32_t argument;
};
// One place per kind: a kind that waits is moved rather than added, so a post never finds the queue full.
constexpr size_t kCapacity = kScreenRequestKinds;
static_assert(kCapacity >= kScreenRequestKinds, "every request kind needs its place in the queue");

// Set once at start-up, before any thread that reads it runs.
ScreenRequestRunners g_runners{};

// Posters on every thread, one taker: a few stores under the lock, never a wait for a pass.
std::mutex g_lock;
Pending g_pending[kCapacity]{};
size_t g_count = 0;

bool RunnerSet(ScreenRequest what) {
    switch (what) {
        case ScreenRequest::kAdvanceScreen:
            return g_runners.advanceScreen != nullptr;
        case ScreenRequest::kParallelRetry:
            return g_runners.parallelRetry != nullptr;
        case ScreenRequest::kEnterState:
            return g_runners.enterStateValue != nullptr;
    }
    return false;
}

void Run(const Pending& request) {
    switch (request.what) {
        case ScreenRequest::kAdvanceScreen:
            core::CallHook(g_runners.advanceScreen);
            break;
        case ScreenRequest::kParallelRetry:
            core::CallHook(g_runners.parallelRetry);
            break;
        case ScreenRequest::kEnterState:
            core::CallHook(g_runners.enterStateValue, request.argument, int32_t{0});
            break;
    }
}
}  // namespace

void ScreenRequest_SetRunners(const ScreenRequestRunners& runners) {
    g_runners = runners;
}

void ScreenRequest_Post(ScreenRequest what, uint32_t argument) {
    if (!RunnerSet(what)) return;
    const std::lock_guard<std::mutex> hold(g_lock);
    size_t kept = 0;
    for (size_t i = 0; i < g_count; ++i)
        if (g_pending[i].what != what) g_pending[kept++] = g_pending[i];
    g_pending[kept] = Pending{what, argument};
    g_count = kept + 1;
}

size_t ScreenRequest_RunPending() {
    Pending taken[kCapacity];
    size_t count = 0;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        count = g_count;
        for (size_t i = 0; i < count; ++i)
            taken[i] = g_pending[i];
        g_count = 0;
    }
    // Outside the lock: a screen entry may take its time, and posters never wait for it.
    for (size_t i = 0; i < count; ++i)
        Run(taken[i]);
    return count;
}
