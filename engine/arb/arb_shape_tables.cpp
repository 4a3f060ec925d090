#include "engine/arb/arb_shape_tables.h"

#include <cmath>

// Every stored shape is defined here and nowhere else, as a recipe of harmonics (or a clip level) that the
// program turns into its samples once, when it is loaded, before any thread runs.
namespace {

// A harmonic added to the fundamental: order h, amplitude in per mille of the fundamental, and phase as
// an offset in 1/4096 of the harmonic's own period (1024 = 90 degrees, 2048 = 180 degrees).
struct Harmonic {
    int order;
    int permille;
    int phase;
};
struct DstRecipe {
    Harmonic h[5];  // unused entries have order 0
};

// The distorted sines of typical mains: odd harmonics of rectifier loads in phase (flat tops) or in
// opposition (peaked tops), the 5th/7th pair of six-pulse and the 11th/13th of twelve-pulse rectifiers,
// even harmonics of half-wave loads (unequal half periods), and mixed spectra.
constexpr DstRecipe kDstRecipes[kDstShapeCount] = {
    {{{3, 50, 0}}},                                                    // DST01 3rd 5 %, flat top
    {{{3, 100, 0}}},                                                   // DST02 3rd 10 %, flat top
    {{{3, 200, 0}}},                                                   // DST03 3rd 20 %, strongly flattened
    {{{3, 100, 2048}}},                                                // DST04 3rd 10 %, peaked top
    {{{3, 200, 2048}}},                                                // DST05 3rd 20 %, strongly peaked
    {{{5, 50, 0}}},                                                    // DST06 5th 5 %
    {{{5, 100, 0}}},                                                   // DST07 5th 10 %
    {{{7, 50, 0}}},                                                    // DST08 7th 5 %
    {{{9, 50, 0}}},                                                    // DST09 9th 5 %
    {{{5, 60, 2048}, {7, 40, 2048}}},                                  // DST10 six-pulse rectifier
    {{{11, 40, 2048}, {13, 30, 2048}}},                                // DST11 twelve-pulse rectifier
    {{{3, 80, 0}, {5, 50, 0}}},                                        // DST12 3rd and 5th, flat
    {{{3, 150, 0}, {5, 100, 0}, {7, 50, 0}}},                          // DST13 near trapezoid
    {{{3, 100, 2048}, {5, 60, 0}, {7, 40, 2048}}},                     // DST14 capacitive-input load
    {{{2, 50, 1024}}},                                                 // DST15 2nd 5 %, unequal halves
    {{{2, 100, 1024}}},                                                // DST16 2nd 10 %
    {{{2, 50, 1024}, {3, 50, 0}, {4, 30, 1024}}},                      // DST17 half-wave load
    {{{3, 80, 1024}}},                                                 // DST18 3rd 8 %, shifted 90 degrees
    {{{3, 100, 0}, {5, 80, 0}, {7, 60, 0}, {9, 40, 0}, {11, 20, 0}}},  // DST19 odd series, flat
    {{{5, 80, 2048}, {7, 60, 0}, {11, 40, 2048}, {13, 30, 0}}},        // DST20 converter spectrum
    {{{13, 50, 0}, {17, 30, 0}}},                                      // DST21 high-order ripple
    {{{3, 300, 2048}}},                                                // DST22 3rd 30 %, sharp peak
};

// sin(2 pi k / 4096).
double Sine(int k) {
    return std::sin(2.0 * 3.14159265358979323846 * (k % kShapeSamples) / kShapeSamples);
}

double DstValue(const DstRecipe& r, int i) {
    double s = Sine(i);
    for (int j = 0; j < 5 && r.h[j].order != 0; ++j)
        s += r.h[j].permille / 1000.0 * Sine(r.h[j].order * i + r.h[j].phase);
    return s;
}

struct DstSamples {
    int16_t s[kDstShapeCount * kShapeSamples];
};
struct Cf1Samples {
    int16_t s[kCf1ShapeCount * kShapeSamples];
};

DstSamples MakeDst() {
    DstSamples t{};
    double shape[kShapeSamples];
    for (int k = 0; k < kDstShapeCount; ++k) {
        double peak = 0;
        for (int i = 0; i < kShapeSamples; ++i) {
            shape[i] = DstValue(kDstRecipes[k], i);
            if (std::fabs(shape[i]) > peak) peak = std::fabs(shape[i]);
        }
        // Scaled to a full-scale peak, like every waveform of the memory.
        for (int i = 0; i < kShapeSamples; ++i)
            t.s[k * kShapeSamples + i] = static_cast<int16_t>(std::llround(32767.0 * shape[i] / peak));
    }
    return t;
}

// The clip level of a sine whose crest factor (peak over rms) becomes 1.3, 1.2 and 1.1; the clipped sine
// is then scaled back to the full-scale peak.
constexpr double kCf1ClipLevels[kCf1ShapeCount] = {0.869811724, 0.682072140, 0.402061345};

Cf1Samples MakeCf1() {
    Cf1Samples t{};
    for (int k = 0; k < kCf1ShapeCount; ++k) {
        const double c = kCf1ClipLevels[k];
        for (int i = 0; i < kShapeSamples; ++i) {
            double s = Sine(i);
            s = s > c ? c : (s < -c ? -c : s);
            t.s[k * kShapeSamples + i] = static_cast<int16_t>(std::llround(32767.0 * s / c));
        }
    }
    return t;
}

const DstSamples kDst = MakeDst();
const Cf1Samples kCf1 = MakeCf1();

}  // namespace

const int16_t (&g_DstShapes)[kDstShapeCount * kShapeSamples] = kDst.s;
const int16_t (&g_Cf1Shapes)[kCf1ShapeCount * kShapeSamples] = kCf1.s;
