#include "core/system/iface_card_detect.h"

#include <cstdio>
#include <string>

#include "core/system/iface_cfg.h"
#include "platform/root.h"
#include "platform/sandbox.h"

namespace {

constexpr int kLineCount = storage::kCardLines;
// Detect lines in the order of the card-present words.
constexpr int kLines[kLineCount] = {101, 17, 106};

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
    int value[kLineCount];
    bool anyRead = false;
    for (int i = 0; i < kLineCount; ++i) {
        value[i] = ReadLine(kLines[i]);
        if (value[i] >= 0) anyRead = true;
    }
    for (uint32_t& w : g_IfaceCfg.cardPresent)
        w = 0;
    if (!anyRead) return 0;
    if (value[storage::kCardLine106] == 1) {
        g_IfaceCfg.cardPresent[storage::kCardLine106] = 1;
        return 3;
    }
    if (value[storage::kCardLine17] == 1) {
        g_IfaceCfg.cardPresent[storage::kCardLine17] = 1;
        return 2;
    }
    if (value[storage::kCardLine101] == 1) {
        g_IfaceCfg.cardPresent[storage::kCardLine101] = 1;
        return 1;
    }
    return 0;
}
