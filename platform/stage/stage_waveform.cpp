#include "platform/stage/stage_waveform.h"

#include <cmath>
#include <vector>

#include "platform/stage/reg_map.h"

namespace plat {
namespace {

constexpr double kTwoPi = 6.28318530717958647692;
constexpr int32_t kFullScale = 32767;
constexpr uint32_t kHalfTable = kWaveTableSamples / 2;
constexpr size_t kMaxCachedShapes = 64;  // a program sweeping the duty makes a shape per value

int32_t Sine(uint32_t i) {
    return static_cast<int32_t>(std::lround(kFullScale * std::sin(kTwoPi * i / kWaveTableSamples)));
}
int32_t Square(uint32_t i) {
    return i < kHalfTable ? kFullScale : -kFullScale;
}
// Up from 0 to full scale over the first quarter, down to minus full scale at three quarters, back up.
int32_t Triangle(uint32_t i) {
    constexpr double q = kWaveTableSamples / 4.0;
    const double t = i <= q ? i / q : i <= 3 * q ? 2.0 - i / q : i / q - 4.0;
    return static_cast<int32_t>(std::floor(kFullScale * t + 0.5));
}

void Store(RegisterFile& regs, uint32_t slot, int32_t (*shape)(uint32_t)) {
    for (uint32_t i = 0; i < kWaveTableSamples; ++i)
        regs.Set(regmap::kArbTable.at(slot), i, static_cast<uint32_t>(shape(i)));
}

// The table position that output sample j plays: the square's duty stretches its two half-tables.
uint32_t Source(uint32_t j, uint32_t slot, uint32_t duty) {
    if (slot != kWaveSqu || duty == 0 || duty >= kDutyFull) return j;
    const uint64_t split =
        uint64_t{duty} * kWaveTableSamples / kDutyFull;  // output samples of the first half
    if (j < split) return static_cast<uint32_t>(j * kHalfTable / split);
    return static_cast<uint32_t>(kHalfTable + (j - split) * kHalfTable / (kWaveTableSamples - split));
}

}  // namespace

int WaveSlot(uint32_t waveNumber) {
    return waveNumber >= 1 && waveNumber <= regmap::kArbTable.count ? static_cast<int>(waveNumber - 1) : -1;
}

void LoadStandardShapes(RegisterFile& regs) {
    Store(regs, kWaveSin, Sine);
    Store(regs, kWaveSqu, Square);
    Store(regs, kWaveTri, Triangle);
}

void BuildShape(const RegisterFile& regs, uint32_t slot, uint32_t duty, WaveShape* shape) {
    constexpr uint32_t kStride = kWaveTableSamples / kShapePoints;
    static_assert(kStride == 4, "a point weighs the samples of its own stride, the neighbours' halves");
    std::vector<int32_t> sample(kWaveTableSamples);
    double sum = 0.0, squares = 0.0;
    int32_t hi = INT32_MIN, lo = INT32_MAX;
    for (uint32_t j = 0; j < kWaveTableSamples; ++j) {
        // A table word holds a signed 16-bit sample.
        const uint32_t word = regs.Get(regmap::kArbTable.at(slot), Source(j, slot, duty));
        const int32_t s = static_cast<int16_t>(word & 0xFFFFu);
        sample[j] = s;
        sum += s;
        squares += double{1.0} * s * s;
        hi = s > hi ? s : hi;
        lo = s < lo ? s : lo;
    }
    *shape = WaveShape{};
    const double rms = std::sqrt(squares / kWaveTableSamples);
    if (rms == 0.0) return;  // a silent table
    // Each point is the mean of the stride of samples centred on it, so that the captured period holds
    // the samples' own area: a square's duty comes out as the 4096ths it was set to, not as whole points.
    constexpr uint32_t kMask = kWaveTableSamples - 1;
    for (uint32_t i = 0; i < kShapePoints; ++i) {
        const uint32_t c = i * kStride;
        const double area = 0.5 * sample[(c - 2) & kMask] + sample[(c - 1) & kMask] + sample[c] +
                            sample[(c + 1) & kMask] + 0.5 * sample[(c + 2) & kMask];
        shape->point[i] = static_cast<float>(area / kStride / rms);
    }
    shape->mean = static_cast<float>(sum / kWaveTableSamples / rms);
    shape->max = static_cast<float>(hi / rms);
    shape->min = static_cast<float>(lo / rms);
}

const WaveShape& ShapeCache::Get(const RegisterFile& regs, uint32_t waveNumber, uint32_t duty) {
    const int slot = WaveSlot(waveNumber);
    if (slot < 0) return silent_;
    if (static_cast<uint32_t>(slot) != kWaveSqu || duty >= kDutyFull) duty = 0;
    const uint64_t key = (uint64_t{static_cast<uint32_t>(slot)} << 32) | duty;
    auto it = shapes_.find(key);
    if (it != shapes_.end()) return it->second;
    if (shapes_.size() >= kMaxCachedShapes) shapes_.clear();
    WaveShape& shape = shapes_[key];
    BuildShape(regs, static_cast<uint32_t>(slot), duty, &shape);
    return shape;
}

}  // namespace plat
