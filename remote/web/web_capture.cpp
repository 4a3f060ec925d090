#include "remote/web/web_capture.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <sstream>

#include "core/system/links/web_capture.h"
#include "panel/hardcopy/bmp_writer.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/hardcopy/hardcopy_sync.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "remote/web/web_turn.h"

namespace web {
namespace {

constexpr char kBmpPath[] = "/tmp/image.bmp";
constexpr char kJpegPath[] = "/tmp/image.jpg";
constexpr char kConvert[] = "cjpeg -outfile /tmp/image.jpg /tmp/image.bmp";
// A GUI thread that has not started never answers; the capture goes on after this.
constexpr uint32_t kGuiWaitMs = 100;

// The last picture made and when its capture ended. Captures take turns: those waiting behind one that
// reads the screen get its picture.
std::mutex g_lastLock;
std::string g_lastJpeg;
uint64_t g_lastEndMs = 0;

bool ReadWhole(const std::string& host, std::string* data) {
    std::ifstream file(host, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) return false;
    *data = std::move(text).str();
    return !data->empty();
}

}  // namespace

bool TakeCaptureFlag() {
    const uint64_t deadline = plat::NowMs() + kCaptureWaitMs;
    for (;;) {
        if (Hardcopy_IsPending() == 0) {
            uint32_t free = 0;
            if (g_WebScreenCopyOwner.compare_exchange_strong(free, 1, std::memory_order_acq_rel)) {
                // A copy requested between the look and the take goes first.
                if (Hardcopy_IsPending() == 0) return true;
                ReleaseCaptureFlag();
            }
        }
        if (plat::NowMs() >= deadline) return false;
        plat::SleepMs(kCapturePollMs);
    }
}

void ReleaseCaptureFlag() {
    g_WebScreenCopyOwner.store(0, std::memory_order_release);
}

int WebScreenCapture(std::string* jpeg) {
    std::unique_lock<std::mutex> turn(g_lastLock, std::defer_lock);
    if (!TakeTurnWithin(turn, kCaptureWaitMs)) return kCaptureBusy;
    if (!g_lastJpeg.empty() && plat::NowMs() - g_lastEndMs < kCaptureMinIntervalMs) {
        *jpeg = g_lastJpeg;
        return kCaptureOk;
    }
    if (!TakeCaptureFlag()) return kCaptureBusy;
    panel::HardcopyWaitGuiStill(kGuiWaitMs);
    const bool made = Bmp_WriteScreen(kBmpPath) == 0 && plat::System(kConvert) == 0 &&
                      ReadWhole(plat::MapPath(kJpegPath), jpeg);
    ReleaseCaptureFlag();
    g_lastJpeg = made ? *jpeg : std::string();
    g_lastEndMs = plat::NowMs();
    return made ? kCaptureOk : kCaptureFailed;
}

}  // namespace web
