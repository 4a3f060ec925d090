#include "app/timer_thread.h"

#include "core/control/alarms/alarms.h"
#include "core/control/calibration/calibration.h"
#include "core/control/measure/harmonics.h"
#include "core/control/measure/measurement.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/remote_state.h"
#include "engine/arb/arb_builder.h"
#include "panel/panel_services.h"
#include "platform/host/clock.h"
#include "remote/devicenet.h"
#include "remote/web_server.h"
#include "sysadmin/system_helpers.h"
#include "sysadmin/usb/usb_memory.h"

namespace core {
std::atomic<int32_t> g_StartupWindow{10};
}  // namespace core

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

// One pass counter per step level; each divides by the factor of its level.
uint32_t g_count2ms = 0;
uint32_t g_count4ms = 0;
uint32_t g_count20ms = 0;
uint32_t g_count40ms = 0;
uint32_t g_count200ms = 0;
uint32_t g_count400ms = 0;

// Other threads load these words while the timer counts them: one compare-and-swap step, so that a
// value stored meanwhile is never overwritten by the old value less one. Returns the value after.
template <typename T>
T CountDownWhileNonzero(std::atomic<T>& word) {
    T v = word.load(kRelaxed);
    while (v > 0 && !word.compare_exchange_weak(v, static_cast<T>(v - 1), kRelaxed)) {
    }
    return v > 0 ? static_cast<T>(v - 1) : T{0};
}

void Step2s() {
    constexpr uint32_t kRemote = 1u << 1, kLock = 1u << 2;
    // The request is taken in one exchange: one that the web server makes again meanwhile is not cleared
    // unseen.
    if ((g_RemoteState.load(kRelaxed) & (kRemote | kLock)) == (kRemote | kLock) &&
        g_WebLockReleaseReq.exchange(0, kRelaxed) == 1) {
        g_RemoteState.fetch_and(~kLock, kRelaxed);
    }
}

void Step400ms() {
    g_DnetState.flags.fetch_or(kDnetFlag400ms, kRelaxed);
    CountDownWhileNonzero(g_AlarmMsgHold);
    CountDownWhileNonzero(core::g_StartupWindow);
    g_count400ms = (g_count400ms + 1) % 5;
    if (g_count400ms == 0) Step2s();
}

void Step200ms() {
    g_count200ms = (g_count200ms + 1) % 2;
    if (g_count200ms == 0) Step400ms();
}

void Step40ms() {
    uint32_t up = g_Up40ms.load(kRelaxed);
    while (up < 65530 && !g_Up40ms.compare_exchange_weak(up, up + 1, kRelaxed)) {
    }
    g_count40ms = (g_count40ms + 1) % 5;
    if (g_count40ms == 0) Step200ms();
}

void Step20ms() {
    BeepService();
    UsbMemSm_Run();
    ArbBuild_TaskRun();  // refuses by itself while calibration mode is on
    ParallelLink_Step();
    g_count20ms = (g_count20ms + 1) % 2;
    if (g_count20ms == 0) Step40ms();
}

void Step4ms() {
    CaliMode_Step();
    CountDownWhileNonzero(g_HarmCountdown);
    g_count4ms = (g_count4ms + 1) % 5;
    if (g_count4ms == 0) Step20ms();
}

void DeviceNetTimers() {
    DnetState& dn = g_DnetState;
    if (dn.flags.load(kRelaxed) & kDnetFlagPollArmed) {
        if (CountDownWhileNonzero(dn.pollCountdown) == 0) {
            DnetPollSend();
            DnetPollTimerArm();
        }
    }
    if (dn.established.load(kRelaxed) == 1) {
        if (CountDownWhileNonzero(dn.connCountdown) == 0) {
            dn.flags.fetch_or(kDnetFlagTimeout, kRelaxed);
            // Re-armed unless a message re-armed it meanwhile.
            uint32_t expired = 0;
            dn.connCountdown.compare_exchange_strong(expired, 200, kRelaxed);
        }
    }
    if (dn.startupActive.load(kRelaxed) == 1) DnetStartupStep();
}

}  // namespace

void TimerThread_Pass() {
    MeasUpdateRate_Tick();
    g_count2ms = (g_count2ms + 1) % 2;
    DeviceNetTimers();
    if (g_count2ms == 0) Step4ms();
}

void* TimerThread(void*) {
    for (;;) {
        TimerThread_Pass();
        plat::SleepMs(2);
    }
    return nullptr;
}

int32_t CheckOnceFlag() {
    // Exchange, so that two callers can never both see the window open.
    return core::g_StartupWindow.exchange(0, kRelaxed) != 0 ? 1 : 0;
}

namespace core {
void TimerReset() {
    g_count2ms = g_count4ms = g_count20ms = g_count40ms = g_count200ms = g_count400ms = 0;
    g_StartupWindow.store(10, kRelaxed);
}

}  // namespace core
