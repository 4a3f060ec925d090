#include "core/control/measure/meas_average.h"

#include <algorithm>
#include <cmath>
#include <cstring>

MeasAvgSlot g_MeasAvg[7][kMeasAvgSlots];

namespace {

// The samples of each slot of g_MeasAvg: value x 1,000,000, truncated toward zero.
int64_t g_MeasAvgRing[7][kMeasAvgSlots][kMeasAvgRing];

constexpr double kScale = 1000000.0;
constexpr uint32_t kPushEvery = 5;
constexpr int kAveragedRows = 3;  // the phase rows; the line-to-line and total rows pass through

// A sample's bound, 2^54: the sum of a full ring of 256 of them, and a refill's sample times the count,
// stay inside 64 bits. A reading beyond it (about 1.8e10, far beyond any the stage gives) is held at it.
constexpr float kSampleLimit = 0x1p54f;
static_assert(kMeasAvgRing <= 256);

int64_t Scaled(float value) {
    // The product is formed in single precision, as the samples always were.
    const float scaled = std::clamp(value * static_cast<float>(kScale), -kSampleLimit, kSampleLimit);
    return static_cast<int64_t>(scaled);
}

void Push(MeasAvgSlot& s, int64_t* samples, float value) {
    const uint32_t n = static_cast<uint32_t>(s.count);
    s.sum -= samples[s.writeIndex];
    samples[s.writeIndex] = Scaled(value);
    s.sum += samples[s.writeIndex];
    s.average = static_cast<float>(static_cast<double>(static_cast<float>(s.sum)) / kScale / n);
    if (++s.writeIndex >= n) s.writeIndex = 0;
}

}  // namespace

float MeasAvg_Update(int slot, int row, float value) {
    if (row < 0 || row >= 7 || slot < 0 || slot >= kMeasAvgSlots) return 0.0f;
    if (!std::isfinite(value)) value = 0.0f;
    MeasAvgSlot& s = g_MeasAvg[row][slot];
    int64_t* samples = g_MeasAvgRing[row][slot];
    if (s.resetRequest == 1) {
        const int64_t sample = Scaled(value);
        std::fill(samples, samples + kMeasAvgRing, sample);
        s.writeIndex = 0;
        // The sum is that of the samples the ring holds: a sum formed apart from them (in single
        // precision) would differ from them by its rounding for as long as the ring lives.
        s.sum = sample * (s.count >= 2 ? s.count : 1);
        s.average = value;
        s.resetRequest = 0;
    }
    if (s.count >= 2) {
        if (++s.decimation >= kPushEvery) {
            Push(s, samples, value);
            s.decimation = 0;
        }
        return s.average;
    }
    s.average = value;
    return value;
}

void MeasAvg_ResetAll(int32_t count) {
    // The ring holds 256 samples: a longer average is the longest the ring can give.
    if (count > kMeasAvgRing) count = kMeasAvgRing;
    if (count < 0) count = 0;
    for (int r = 0; r < kAveragedRows; ++r) {
        for (MeasAvgSlot& s : g_MeasAvg[r]) {
            s.resetRequest = 1;
            s.count = count;
            s.reserved = 0;
        }
    }
}

namespace core {
void MeasAvgClearAll() {
    std::memset(g_MeasAvg, 0, sizeof g_MeasAvg);
    std::memset(g_MeasAvgRing, 0, sizeof g_MeasAvgRing);
}
}  // namespace core
