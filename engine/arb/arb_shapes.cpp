#include "engine/arb/arb_shapes.h"

#include <cmath>
#include <cstdlib>

#include "engine/arb/arb_shape_tables.h"

namespace engine {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kPiF = 3.14159265358979323846f;

bool IsPreview(int32_t amp) {
    return amp < 0;
}

// The output rule: trunc((s + 1) A) for the build, trunc((s + 1) A - A) for the preview.
uint16_t Encode(double s, int32_t amp) {
    const double v = (s + 1.0) * amp - (IsPreview(amp) ? amp : 0);
    return static_cast<uint16_t>(static_cast<int32_t>(v));
}

uint16_t Pattern(int32_t v) {
    return static_cast<uint16_t>(v);
}

double SinDeg(double deg) {
    return std::sin(deg * kPi / 180.0);
}

}  // namespace

int ShapeTriangle(int n, int32_t amp, int32_t p, uint16_t* out) {
    if (n < 2 || p < 0 || p > 100) return 0;
    const double rise = static_cast<double>(n) * p / 200.0;
    const double fall = static_cast<double>(n) * (100 - p) / 100.0;
    double up, down, y = 0.0;
    if (p == 0) {
        y = 1.0, up = 0.0, down = 200.0 / ((n - 1) * 100.0);
    } else if (p == 100) {
        up = 200.0 / ((n - 1) * 100.0), down = 0.0;
    } else {
        up = 200.0 / (static_cast<double>(n) * p), down = 200.0 / (static_cast<double>(n) * (100 - p));
    }
    for (int i = 1; i <= n; ++i) {
        const double x = i;
        if (x < rise + 1 || x > rise + fall + 1) {
            y += up;
        } else {
            y -= down;
            if (down == 0.0) y = -1.0;
        }
        y = std::fmin(1.0, std::fmax(-1.0, y));
        out[i - 1] = Encode(y, amp);
    }
    return n;
}

int ShapeStairs(int n, int32_t amp, int32_t p, uint16_t* out) {
    if (n < 1 || p < 1) return 0;
    const float q = 1.0f / (static_cast<float>(p) / 2.0f);
    const float h = q / 2.0f;
    float level = (p % 2 == 0) ? 0.0f : h;
    for (int i = 1; i <= n; ++i) {
        const float sine = std::sin(2.0f * kPiF * static_cast<float>(i) / static_cast<float>(n));
        const float a = std::fabs(sine);
        if (level - h > a)
            level = (100.0f * level - 100.0f * q) / 100.0f;
        else if (level + h < a)
            level = (100.0f * level + 100.0f * q) / 100.0f;
        level = std::fmin(1.0f, std::fmax(-1.0f, level));
        const float s = sine < 0.0f ? -level : level;
        const int32_t v = static_cast<int32_t>(static_cast<float>(amp) * s);
        out[i - 1] = Pattern(IsPreview(amp) ? v : v + amp);
    }
    return n;
}

int ShapeClip(int n, int32_t amp, int32_t p, uint16_t* out) {
    if (n < 1) return 0;
    const float c = static_cast<float>(p) / 100.0f;
    for (int i = 1; i <= n; ++i) {
        const float phase = static_cast<float>(i) / static_cast<float>(n);
        float s = static_cast<float>(std::sin(2.0 * kPi * phase));
        s = std::fmin(c, std::fmax(-c, s));
        out[i - 1] = Encode(s, amp);
    }
    return n;
}

int ShapeCf1(int n, int32_t amp, int32_t p, uint16_t* out) {
    if (n < 1) return 0;
    const double cf = p / 10.0;
    if (cf > 1.3) {
        const double w = 1.0 / cf;
        const double span = 2.0 * n * w * w;
        const double gap = (n - span) / 4.0;
        const int half = n / 2;
        const bool sine = cf < 1.4149169921875;  // up to the crest factor of a sine
        for (int i = 1; i <= n; ++i) {
            const double x = i;
            double s = 0.0;
            if (sine)
                s = std::sin(2.0 * kPi * i / n);
            else if (x >= gap && x <= half - gap)
                s = std::sin((x - gap) * 2.0 * kPi / span);
            else if (x >= half + gap && x <= n - gap)
                s = -std::sin((x - (half + gap)) * 2.0 * kPi / span);
            out[i - 1] = Encode(s, amp);
        }
        return n;
    }
    if (p < 11 || p > 13) return 0;
    const int16_t* shape = &g_Cf1Shapes[(13 - p) * kShapeSamples];
    const int stride = IsPreview(amp) ? 12 : 1;
    for (int i = 0; i < n && i * stride < kShapeSamples; ++i)
        out[i] = Encode(shape[i * stride] / 32767.0, amp);
    return n * stride <= kShapeSamples ? n : kShapeSamples / stride;
}

int ShapeCf2(int n, int32_t amp, int32_t p, uint16_t* out) {
    static constexpr int32_t kPulse[6] = {3780, 8005, 12175, 16518, 21515, 32767};
    if (n < 1 || p < 15 || p > 20) return 0;
    const double k = kPulse[p - 15];
    const double d = 32767.0 - k;
    static constexpr int kFull[4] = {768, 1281, 2816, 3329};
    static constexpr int kSmall[4] = {64, 106, 234, 276};
    const int* b = n == kBuildSamples ? kFull : kSmall;
    for (int i = 1; i <= n; ++i) {
        const double t = std::sin(2.0 * kPi * (i - 1) / n);
        double s = t * d / 32767.0;
        if (i > b[0] && i <= b[1])
            s = (t * d + k) / 32767.0;
        else if (i > b[2] && i <= b[3])
            s = (t * d - k) / 32767.0;
        out[i - 1] = Encode(s, amp);
    }
    return n;
}

int ShapeSurgeDip(int n, int32_t amp, int32_t mode, int32_t level, int32_t width, uint16_t* out) {
    if (n < 1) return 0;
    const double a = level / 100.0;
    const double w = width / 100.0;
    const double gap = (n - n * w) / 4.0;
    const double half = n / 2;
    const double half2 = half + gap;
    const double span = n * w;
    for (int i = 1; i <= n; ++i) {
        const double x = i;
        double s = a * std::sin(2.0 * kPi * i / n);
        if (w > 0.0) {
            if (x >= gap && x <= half - gap)
                s = mode == 1 ? (1.0 - a) * std::sin((x - gap) * 2.0 * kPi / span) + a : 1.0;
            else if (x >= half2 && x <= n - gap)
                s = mode == 1 ? (a - 1.0) * std::sin((x - half2) * 2.0 * kPi / span) - a : -1.0;
        }
        out[i - 1] = Encode(s, amp);
    }
    return n;
}

int ShapeDstPreview(int32_t type, int16_t* out) {
    if (type < kShapeDstFirst || type > kShapeDstLast) return 0;
    const int16_t* shape = &g_DstShapes[(type - kShapeDstFirst) * kShapeSamples];
    for (int j = 0; j < kPreviewPoints; ++j)
        out[j] = static_cast<int16_t>(-(shape[12 * j]) / 32767.0 * 160.0);
    return kPreviewPoints;
}

int ShapeRipple(int n, int32_t amp, int32_t times, int32_t vdc, int32_t level, uint16_t* out) {
    if (n < 1 || vdc < 1 || level < 1) return 0;
    static constexpr int kPulses[4] = {1, 2, 3, 6};
    const double v = vdc;
    const double r = v * level * 0.01 / 2.0;
    const double vmax = v + r, vmin = v - r;
    const double charge = std::asin(vmin / vmax) * 180.0 / kPi;
    const double start = std::asin(v / vmax) * 180.0 / kPi;
    const double spacing = 360.0 / (times >= 0 && times <= 3 ? kPulses[times] : 1);
    const double slope = (vmin - vmax) / (charge + spacing - 90.0);
    // Screen pixels of the preview count downward from its top line.
    const int32_t lift = IsPreview(amp) ? -amp : 0;
    auto encode = [&](double s) { return Pattern(static_cast<int32_t>((s + 1.0) * amp) + lift); };
    int charging = 0;
    double previous = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double th = static_cast<double>(i - 1) / n * 360.0 + start;
        double y;
        bool discharge = false;
        if (th <= 90.0) {
            y = vmax * SinDeg(th);
        } else {
            const double j = std::floor((th - 90.0) / spacing);
            const double into = th - 90.0 - j * spacing;
            discharge = into < charge + spacing - 90.0;
            y = discharge ? into * slope + vmax : vmax * SinDeg(th - (j + 1.0) * spacing);
        }
        const double s = (y - v) / r;
        if (discharge) {
            charging = 0;
            out[i - 1] = encode(s);
        } else {
            // The first sample of a charge marks the bottom of the ripple one sample early.
            if (charging == 0 && i > 1) {
                out[i - 2] = encode(-1.0);
                out[i - 1] = encode(previous);
            } else {
                out[i - 1] = encode(s);
            }
            ++charging;
        }
        previous = s;
    }
    return n;
}

int ShapeDip(int n, int32_t amp, int32_t start, int32_t sweep, int32_t end, uint16_t* out) {
    if (n < 1) return 0;
    const float s0 = start / 10.0f, s1 = sweep / 10.0f, e = end / 10.0f;
    const float k = std::sin(e * kPiF / 180.0f);
    float v = 0.0f;
    bool captured = s0 - 0.1f <= 0.01f;
    for (int j = 0; j < n; ++j) {
        const float th = 360.0f * static_cast<float>(j) / static_cast<float>(n);
        if (!captured && th > s0 - 0.1f) {
            v = std::sin(2.0f * kPiF * static_cast<float>(j - 1) / static_cast<float>(n));
            captured = true;
        }
        // A live edit value may put the sweep on the start: no ramp then.
        float r = 0.0f;
        if (th > s0 && th <= s1 && s1 > s0) r = (v - k) * (1.0f - (th - s0) / (s1 - s0));
        float s;
        if (th > s0 && th <= e)
            s = k + r;
        else
            s = std::sin(2.0f * kPiF * static_cast<float>(j) / static_cast<float>(n)) + r;
        out[j] = Encode(s, amp);
    }
    return n;
}

namespace {

struct LFRing {
    double fb, ratio, tau, ths, the, phi, a;
    double Value(double th) const {
        const double b = SinDeg(th);
        if (th < ths) return b;
        double q = 0.0;
        if (th <= the) q = a * SinDeg(ratio * th - (ratio * ths - phi));
        const double z = -((th - ths) / (fb * 720.0)) / tau;
        const double d = (z > 229.0 || z < -226.0) ? 1.0 : std::exp(z);
        return q * d + b;
    }
};

}  // namespace

int ShapeLFRing(int n, int32_t amp, const LFRingParams& p, uint16_t* out, int32_t* peakRatio) {
    if (n < 1 || p.baseFreq < 1) {
        if (peakRatio != nullptr) *peakRatio = 1000;
        return 0;
    }
    LFRing ring{};
    ring.fb = p.baseFreq / 10.0;
    ring.ratio = (p.ringFreq / 10.0) / ring.fb;
    ring.tau = p.decay == 0 ? 1.0 : p.decay / 1000.0;
    ring.ths = p.start / 10.0;
    ring.the = p.end / 10.0;
    ring.phi = p.ring / 10.0;
    ring.a = p.amp / 100.0 - 1.0;
    // The peak is always searched at the build's resolution, so that the preview scales like the build.
    float peak = 0.0f;
    for (int j = 0; j < kBuildSamples; ++j)
        peak = std::fmax(peak, std::fabs(static_cast<float>(ring.Value(360.0 * j / kBuildSamples))));
    const bool found = std::isfinite(peak) && peak > 0.0f;
    if (peakRatio != nullptr) *peakRatio = found ? static_cast<int32_t>((peak + 0.005) * 100.0) : 1000;
    if (!found) return 0;
    for (int j = 0; j < n; ++j) {
        double s = ring.Value(360.0 * j / n) / peak;
        if (std::fabs(s - 1.0) < 1e-7) s = 1.0;
        out[j] = Encode(s, amp);
    }
    return n;
}

}  // namespace engine
