// Integer trigonometry and square root: small tables with linear interpolation.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "GUI/draw/gui_2d.h"

namespace {

// Quarter sine in 64-unit steps, 1024 = 1.0.
constexpr int kSin[17] = {0,   100, 200, 297, 392, 483,  569,  650, 724,
                          792, 851, 903, 946, 980, 1004, 1019, 1024};
// Arc tangent of slopes 0..1 in 64/1024 steps, in 4096 units per circle.
constexpr int kAtan[17] = {0, 41, 81, 121, 160, 197, 234, 269, 302, 334, 364, 393, 419, 445, 469, 491, 512};
// Sine per whole degree, 65536 = 1.0.
constexpr int32_t kSinDeg[91] = {
    0,     1144,  2287,  3430,  4572,  5712,  6850,  7987,  9121,  10252, 11380, 12505, 13626,
    14742, 15855, 16962, 18064, 19161, 20252, 21336, 22415, 23486, 24550, 25607, 26656, 27697,
    28729, 29753, 30767, 31772, 32768, 33754, 34729, 35693, 36647, 37590, 38521, 39441, 40348,
    41243, 42126, 42995, 43852, 44695, 45525, 46341, 47143, 47930, 48703, 49461, 50203, 50931,
    51643, 52339, 53020, 53684, 54332, 54963, 55578, 56175, 56756, 57319, 57865, 58393, 58903,
    59396, 59870, 60326, 60764, 61183, 61584, 61966, 62328, 62672, 62997, 63303, 63589, 63856,
    64104, 64332, 64540, 64729, 64898, 65048, 65177, 65287, 65376, 65446, 65496, 65526, 65536};

// Slope 0..1024 to angle; the last entry is read alone, never the one behind it.
int Atan(int q) {
    const int i = q >> 6, f = (q >> 2) & 15;
    const int next = f != 0 ? f * kAtan[i + 1] : 0;
    return ((16 - f) * kAtan[i] + next + 8) / 16;
}

int RoundQ10(int64_t v) {
    return v >= 0 ? static_cast<int>((v + 512) >> 10) : -static_cast<int>((512 - v) >> 10);
}

}  // namespace

int GUI_Sin4096(int angle) {
    int a = angle & 0xFFF;
    const bool negative = a > 2048;
    if (negative) a -= 2048;
    if (a > 1024) a = 2048 - a;
    const int i = a / 64, w = 64 - a % 64;
    int v = w * kSin[i];
    if (w < 64) v += (64 - w) * kSin[i + 1];
    const int r = (v + 32) >> 6;
    return negative ? -r : r;
}

int GUI_Cos4096(int angle) {
    return GUI_Sin4096(angle + 1024);
}

// Atan2 of (0, 0) has no direction: 0.
int GUI_Atan2_4096(int x, int y) {
    if (x == 0 && y == 0) return 0;
    int64_t m = std::llabs(static_cast<int64_t>(x)), s = std::llabs(static_cast<int64_t>(y));
    const bool steep = s > m;
    if (steep) std::swap(m, s);
    int angle = Atan(static_cast<int>(((s << 10) + m / 2) / m));
    if (steep) angle = 1024 - angle;
    if (x < 0) angle = 2048 - angle;
    if (y < 0) angle = 4096 - angle;
    return angle;
}

void GUI_GetPerpendicular(int dx, int dy, int length, int* x, int* y) {
    const int angle = GUI_Atan2_4096(dx, dy) + 1024;
    *x = RoundQ10(static_cast<int64_t>(length) * GUI_Cos4096(angle));
    *y = RoundQ10(static_cast<int64_t>(length) * GUI_Sin4096(angle));
}

int32_t GUI_SinMilli(int32_t angle) {
    int sign = 1;
    int64_t a = angle;
    if (a < 0) {
        sign = -1;
        a = -a;
    }
    a %= 360000;
    if (a > 180000) {
        sign = -sign;
        a -= 180000;
    }
    if (a > 90000) a = 180000 - a;
    const int d = static_cast<int>(a / 1000), m = static_cast<int>(a % 1000);
    const int32_t v = d < 90 ? kSinDeg[d] + m * (kSinDeg[d + 1] - kSinDeg[d]) / 1000 : kSinDeg[90];
    return sign * v;
}

int32_t GUI_CosMilli(int32_t angle) {
    return GUI_SinMilli(static_cast<int32_t>(static_cast<int64_t>(angle) + 90000));
}

uint32_t GUI_IntSqrt(uint32_t n) {
    uint32_t result = 0;
    for (uint32_t bit = 0x40000000; bit != 0; bit >>= 2) {
        const uint32_t t = result + bit;
        result >>= 1;
        if (t <= n) {
            n -= t;
            result += bit;
        }
    }
    return result;
}

void GUI_RotatePoints(GUI_POINT* out, const GUI_POINT* in, int count, float angle) {
    const auto milli = static_cast<int32_t>(angle * 180000.0f / 3.1415925f);
    const int64_t c = GUI_CosMilli(milli), s = GUI_SinMilli(milli);
    for (int i = 0; i < count; ++i) {
        const int64_t x = in[i].x, y = in[i].y;
        out[i] = {static_cast<int16_t>((c * x + s * y) >> 16), static_cast<int16_t>((c * y - s * x) >> 16)};
    }
}

namespace gui {

GUI_BOX ClampedBox(int x0, int y0, int x1, int y1) {
    auto c = [](int v) { return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v); };
    return {c(x0), c(y0), c(x1), c(y1)};
}

}  // namespace gui
