#include "core/control/hooks/screen_request.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "core/control/calibration/cal_state.h"

namespace {
struct Pending {
    ScreenRequest what;
    uint32_t state;
    int32_t value;
    bool outsideCalibration;
};
// One place per kind: a kind that waits is moved rather than added, so a post never finds the queue full.
constexpr size_t kCapacity = kScreenRequestKinds;

// Set once at start-up, before any thread that reads it runs.
ScreenRequestRunners g_runners{};
// The menu/control thread; none until it starts, and until then every request waits for it.
std::atomic<std::thread::id> g_taker{};

// Posters on every thread, one taker: a few stores under the lock, never a wait for a pass.
std::mutex g_lock;
Pending g_pending[kCapacity]{};
size_t g_count = 0;

// Whether the entry is set, and when run is true runs it.
template <typename Fn, typename... Args>
bool Start(Fn entry, bool run, Args... args) {
    if (entry == nullptr) return false;
    if (run) entry(args...);
    return true;
}

bool Dispatch(const Pending& r, bool run) {
    const ScreenRequestRunners& e = g_runners;
    switch (r.what) {
        case ScreenRequest::kAdvanceScreen:
            return Start(e.advanceScreen, run);
        case ScreenRequest::kSimpleScreen:
            return Start(e.simpleScreen, run);
        case ScreenRequest::kParallelRetry:
            return Start(e.parallelRetry, run);
        case ScreenRequest::kEnterState:
            return Start(e.enterStateValue, run, r.state, r.value);
        case ScreenRequest::kCalibrationPage:
            return Start(e.calibrationPage, run, r.state, r.value);
        case ScreenRequest::kGoCalibration:
            return Start(e.goCalibration, run);
        case ScreenRequest::kSeqSimExit:
            return Start(e.seqSimExit, run);
        case ScreenRequest::kSeqStepChanged:
            return Start(e.seqStepChanged, run, r.value);
        case ScreenRequest::kArbitraryMode:
            return Start(e.arbitraryMode, run);
        case ScreenRequest::kSimSelectBuffers:
            return Start(e.simSelectBuffers, run);
        case ScreenRequest::kSimEnterStep:
            return Start(e.simEnterStep, run);
        case ScreenRequest::kSeqSelectBuffers:
            return Start(e.seqSelectBuffers, run);
        case ScreenRequest::kSeqEnterStepIndex:
            return Start(e.seqEnterStepIndex, run);
        case ScreenRequest::kSeqLeavePreview:
            return Start(e.seqLeavePreview, run);
        case ScreenRequest::kEditFollow:
            return Start(e.editFollow, run, r.state, r.value);
        case ScreenRequest::kSeqEnter:
            return Start(e.seqEnter, run);
        case ScreenRequest::kSimEnter:
            return Start(e.simEnter, run);
        case ScreenRequest::kSimShowField:
            return Start(e.simShowField, run, r.state, r.value);
        case ScreenRequest::kCount:
            break;
    }
    return false;
}

// Asked on the menu/control thread, which alone enters and leaves the calibration pages.
bool Waits(const Pending& request) {
    return request.outsideCalibration && CalibrationInProgress();
}

void Post(const Pending& request) {
    const std::lock_guard<std::mutex> hold(g_lock);
    size_t kept = 0;
    for (size_t i = 0; i < g_count; ++i)
        if (g_pending[i].what != request.what) g_pending[kept++] = g_pending[i];
    g_pending[kept] = request;
    g_count = kept + 1;
}

bool Ask(const Pending& request) {
    if (!Dispatch(request, false)) return false;
    if (g_taker.load(std::memory_order_acquire) == std::this_thread::get_id() && !Waits(request))
        Dispatch(request, true);
    else
        Post(request);
    return true;
}
}  // namespace

void ScreenRequest_SetRunners(const ScreenRequestRunners& runners) {
    g_runners = runners;
}

bool ScreenRequest_Ask(ScreenRequest what, uint32_t state, int32_t value) {
    return Ask({what, state, value, false});
}

bool ScreenRequest_AskOutsideCalibration(ScreenRequest what, uint32_t state, int32_t value) {
    return Ask({what, state, value, true});
}

void ScreenRequest_SetTaker() {
    g_taker.store(std::this_thread::get_id(), std::memory_order_release);
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
    // Outside the lock: a screen entry may take its time, and posters never wait for it. Each request is
    // looked at when its turn comes: the one before it may have entered or left the calibration.
    Pending waiting[kCapacity];
    size_t held = 0, ran = 0;
    for (size_t i = 0; i < count; ++i) {
        if (Waits(taken[i])) {
            waiting[held++] = taken[i];
        } else {
            Dispatch(taken[i], true);
            ++ran;
        }
    }
    if (held == 0) return ran;
    // The waiting requests keep their places before those posted meanwhile; a kind posted again since
    // then is newer and takes its place.
    const std::lock_guard<std::mutex> hold(g_lock);
    size_t kept = 0;
    for (size_t i = 0; i < held; ++i) {
        bool newer = false;
        for (size_t j = 0; j < g_count; ++j)
            newer = newer || g_pending[j].what == waiting[i].what;
        if (!newer) waiting[kept++] = waiting[i];
    }
    for (size_t j = 0; j < g_count; ++j)
        waiting[kept++] = g_pending[j];
    for (size_t i = 0; i < kept; ++i)
        g_pending[i] = waiting[i];
    g_count = kept;
    return ran;
}
