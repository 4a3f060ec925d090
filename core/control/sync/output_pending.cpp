#include "core/control/sync/output_pending.h"

#include <algorithm>
#include <iterator>

#include "core/control/calibration/cal_state.h"
#include "platform/host/clock.h"

namespace core {

std::atomic<uint32_t> g_CtrlQuietPasses{0};

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The last ticket given (written by the menu/control thread only) and the last one taken up (published
// with release after the writes of the pass that took it up).
std::atomic<uint64_t> g_issued{0};
std::atomic<uint64_t> g_takenUp{0};
// Per part of the control task: the last ticket it has played (the menu/control thread's own).
uint64_t g_partTakenUp[kOutputParts] = {};

// The signal the frequency step saw last (the menu/control thread's own); kNoSignal outside the
// synchronised modes.
constexpr uint32_t kNoSignal = UINT32_MAX;
uint32_t g_signalSeen = kNoSignal;
// Instrument time until which its first reading is awaited; 0: none awaited.
std::atomic<uint64_t> g_readingDueMs{0};

}  // namespace

uint64_t NoteSettingsChange() {
    const uint64_t ticket = g_issued.load(kRelaxed) + 1;
    g_issued.store(ticket, kRelaxed);
    return ticket;
}

uint64_t SettingsChangesIssued() {
    return g_issued.load(kRelaxed);
}

bool SettingsChangeTaken(uint64_t ticket) {
    return g_takenUp.load(std::memory_order_acquire) >= ticket || CalibrationModeActive();
}

void NotePartsTakenUp(uint64_t issuedAtPassStart, uint64_t partsTakenUp) {
    for (unsigned i = 0; i < kOutputParts; ++i)
        if ((partsTakenUp >> i) & 1u) g_partTakenUp[i] = issuedAtPassStart;
    const uint64_t all = *std::min_element(std::begin(g_partTakenUp), std::end(g_partTakenUp));
    if (all > g_takenUp.load(kRelaxed)) g_takenUp.store(all, std::memory_order_release);
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

bool OutputWorkPending(uint64_t ticket) {
    return !SettingsChangeTaken(ticket) || SyncReadingAwaited();
}

void OutputPendingReset() {
    g_issued.store(0, kRelaxed);
    g_takenUp.store(0, kRelaxed);
    std::fill(std::begin(g_partTakenUp), std::end(g_partTakenUp), 0);
    g_signalSeen = kNoSignal;
    g_readingDueMs.store(0, kRelaxed);
}

}  // namespace core
