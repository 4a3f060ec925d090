#include "core/control/sync/output_pending.h"

#include "core/control/calibration/cal_state.h"
#include "platform/host/clock.h"

namespace core {

std::atomic<uint32_t> g_CtrlQuietPasses{0};

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The quiet-pass count when the last set command ran, plus one (0: none yet). One word, so that a channel
// never reads a mark without its count.
std::atomic<uint64_t> g_changeMark{0};

// The signal the frequency step saw last (the menu/control thread's own); kNoSignal outside the
// synchronised modes.
constexpr uint32_t kNoSignal = UINT32_MAX;
uint32_t g_signalSeen = kNoSignal;
// Instrument time until which its first reading is awaited; 0: none awaited.
std::atomic<uint64_t> g_readingDueMs{0};

}  // namespace

void NoteSettingsChange() {
    g_changeMark.store(uint64_t{g_CtrlQuietPasses.load(kRelaxed)} + 1, kRelaxed);
}

bool SettingsChangePending() {
    const uint64_t mark = g_changeMark.load(kRelaxed);
    return mark != 0 && mark - 1 == g_CtrlQuietPasses.load(kRelaxed) && !CalibrationModeActive();
}

void SyncReadingSeen(bool synchronised, uint32_t signal, bool inWindow) {
    if (!synchronised) {
        g_signalSeen = kNoSignal;
        g_readingDueMs.store(0, kRelaxed);
    } else if (signal != g_signalSeen) {
        g_signalSeen = signal;
        g_readingDueMs.store(inWindow ? 0 : plat::NowMs() + kSyncReadingWaitMs, kRelaxed);
    } else if (inWindow) {
        g_readingDueMs.store(0, kRelaxed);
    }
}

bool SyncReadingAwaited() {
    const uint64_t due = g_readingDueMs.load(kRelaxed);
    return due != 0 && plat::NowMs() < due;
}

bool OutputWorkPending() {
    return SettingsChangePending() || SyncReadingAwaited();
}

void OutputPendingReset() {
    g_changeMark.store(0, kRelaxed);
    g_signalSeen = kNoSignal;
    g_readingDueMs.store(0, kRelaxed);
}

}  // namespace core
