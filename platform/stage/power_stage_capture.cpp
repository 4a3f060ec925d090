#include "platform/stage/power_stage_capture.h"

#include <algorithm>
#include <cmath>

#include "platform/stage/reg_map.h"

namespace plat {
namespace {

constexpr double kTwoPi = 6.28318530717958647692;
constexpr uint32_t kAllPhasesReady = 7;

uint16_t Counts(double value, double scale) {
    const double c = std::clamp(std::round(value / scale), -32768.0, 32767.0);
    return static_cast<uint16_t>(static_cast<int16_t>(c));
}

}  // namespace

double CaptureVoltScale(bool highRange) {
    return highRange ? 0.019214 : 0.009607001;
}

double CaptureCurrentScale(bool highRange, uint32_t vaClass) {
    if (vaClass == 2) return highRange ? 0.0015244135 : 0.003048827;
    return highRange ? 0.0011433101 : 0.0022866202;
}

void FillCapture(RegisterFile& regs, const PhaseDrive (&drive)[3],
                 const float (&harmonicPct)[kCaptureOrders + 1], bool outputOn, bool highRange,
                 uint32_t vaClass) {
    // A test's added harmonics keep the waveform's rms: the played part gives way to them.
    double sumSquares = 1.0;
    for (uint32_t k = 2; k <= kCaptureOrders; ++k)
        sumSquares += harmonicPct[k] * harmonicPct[k] / 1e4;
    const double gain = 1.0 / std::sqrt(sumSquares);
    uint32_t orders[kCaptureOrders];
    uint32_t added = 0;
    for (uint32_t k = 2; k <= kCaptureOrders; ++k) {
        if (harmonicPct[k] != 0.0f) orders[added++] = k;
    }
    const double vScale = CaptureVoltScale(highRange);
    const double iScale = CaptureCurrentScale(highRange, vaClass);
    for (uint32_t p = 0; p < 3; ++p) {
        const PhaseDrive& d = drive[p];
        const double peak1 = d.ac * std::sqrt(2.0) * gain;
        const double shift = d.angleDeg / 360.0;
        const PeriodReader played(d);
        for (uint32_t i = 0; i < kCaptureSamples; ++i) {
            double v = 0.0;
            if (outputOn) {
                v = d.dc + gain * (played(i) - d.dc);
                const double t = static_cast<double>(i) / kCaptureSamples - shift;
                for (uint32_t n = 0; n < added; ++n) {
                    const uint32_t k = orders[n];
                    v += peak1 * harmonicPct[k] / 100.0 * std::sin(kTwoPi * k * t);
                }
            }
            const double a = d.ohms > 0.0f ? v / d.ohms : 0.0;
            const uint32_t word = (uint32_t{Counts(v, vScale)} << 16) | Counts(a, iScale);
            regs.Set(p, i, word);      // the unit's capture of the phase
            regs.Set(p + 3, i, word);  // the parallel system's
        }
    }
    regs.Set(regmap::kHarmStatus, 0, kAllPhasesReady);
}

}  // namespace plat
