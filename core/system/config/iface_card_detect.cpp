#include "core/system/config/iface_card_detect.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "core/system/config/iface_cfg.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"

namespace {

constexpr int kLineCount = storage::kCardLines;
// Detect lines in the order of the card-present words.
constexpr int kLines[kLineCount] = {101, 17, 106};

std::mutex g_detectLock;

// Exports the line as an input and reads its value: 0 or 1, or -1 when the value cannot be read.
int ReadLine(int line) {
    char cmd[96];
    std::snprintf(cmd, sizeof cmd, "echo %d > /sys/class/gpio/export", line);
    plat::System(cmd);
    std::snprintf(cmd, sizeof cmd, "echo in > /sys/class/gpio/gpio%d/direction", line);
    plat::System(cmd);

    char path[64];
    std::snprintf(path, sizeof path, "/sys/class/gpio/gpio%d/value", line);
    FILE* f = std::fopen(plat::MapPath(path).c_str(), "r");
    if (f == nullptr) return -1;
    int c = std::fgetc(f);
    std::fclose(f);
    return c == '1' ? 1 : 0;
}

}  // namespace

int32_t IfaceCardDetect() {
    // The fieldbus thread and the factory default both detect: one detection at a time, and each
    // card-present word goes straight from its old value to its new one, so that a reader never meets
    // the card missing half-way through a detection.
    std::lock_guard<std::mutex> lock(g_detectLock);
    int value[kLineCount];
    bool anyRead = false;
    for (int i = 0; i < kLineCount; ++i) {
        value[i] = ReadLine(kLines[i]);
        if (value[i] >= 0) anyRead = true;
    }
    int32_t card = 0;
    int presentLine = -1;
    if (!anyRead) {
        card = 0;
    } else if (value[storage::kCardLine106] == 1) {
        card = 3;
        presentLine = storage::kCardLine106;
    } else if (value[storage::kCardLine17] == 1) {
        card = 2;
        presentLine = storage::kCardLine17;
    } else if (value[storage::kCardLine101] == 1) {
        card = 1;
        presentLine = storage::kCardLine101;
    }
    for (int i = 0; i < kLineCount; ++i)
        std::atomic_ref<uint32_t>(g_IfaceCfg.cardPresent[i])
            .store(i == presentLine ? 1 : 0, std::memory_order_release);
    return card;
}
