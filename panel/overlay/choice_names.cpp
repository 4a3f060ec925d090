#include <cstdio>

#include "panel/overlay/overlay_paint.h"

const char g_FirmCodeNames[panel::kFirmCodeCount][16] = {"QX", "TULVE", "PELMA"};

namespace panel {

namespace {
constexpr const char* kSigNames[] = {"L1 LINE", "L2 LINE", "L3 LINE", "EXT"};
constexpr const char* kExtNames[] = {"L1 Ext", "L2 Ext", "L3 Ext", "L1", "L2", "L1.L2"};
constexpr int32_t kArbBefore = 16;  // ARB1-16 come first, then SIN, SQU, TRI, then ARB17 on
constexpr int32_t kWaveNumbers = 256;

template <size_t N>
const char* Pick(const char* const (&names)[N], int32_t number) {
    return number >= 0 && static_cast<size_t>(number) < N ? names[number] : "";
}
}  // namespace

const char* WaveformName(int32_t number, char* out, int size) {
    if (out == nullptr || size <= 0) return "";
    static constexpr const char* kBuiltIn[] = {"SIN", "SQU", "TRI"};
    if (number < 0 || number >= kWaveNumbers)
        out[0] = '\0';
    else if (number < kArbBefore)
        std::snprintf(out, static_cast<size_t>(size), "ARB%d", static_cast<int>(number) + 1);
    else if (number < kArbBefore + 3)
        std::snprintf(out, static_cast<size_t>(size), "%s", kBuiltIn[number - kArbBefore]);
    else
        std::snprintf(out, static_cast<size_t>(size), "ARB%d", static_cast<int>(number) - 2);
    return out;
}

const char* SigSourceName(int32_t number) {
    return Pick(kSigNames, number);
}
const char* ExtSourceName(int32_t number) {
    return Pick(kExtNames, number);
}

}  // namespace panel
