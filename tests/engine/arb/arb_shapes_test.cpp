// Golden properties of the built-in shapes, on the 4096-sample build.
#include "engine/arb/arb_shapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include "engine/arb/arb_shape_tables.h"

namespace {
using namespace engine;
constexpr int kN = kBuildSamples;
constexpr int32_t kA = kBuildAmplitude;

using Wave = std::vector<uint16_t>;
Wave Build(const std::function<int(uint16_t*)>& gen) {
    Wave w(kN, 0xFFFF);
    EXPECT_EQ(gen(w.data()), kN);
    return w;
}
int32_t SineSample(int i) {  // the output rule applied to a plain sine at sample i (1-based)
    return static_cast<int32_t>((std::sin(2.0 * M_PI * i / kN) + 1.0) * kA);
}
bool IsSine(const Wave& w) {
    for (int i = 0; i < kN; ++i)
        if (std::abs(w[i] - SineSample(i + 1)) > 1) return false;
    return true;
}
bool Any(const Wave&) {
    return true;
}
int Drops(const Wave& w) {
    int drops = 0;
    for (int i = 1; i < kN; ++i)
        drops += w[i] < w[i - 1];
    return drops;
}

// The golden shapes; every sample of every shape within 0..65534.
TEST(ArbShapes, GoldenShapes) {
    struct Case {
        const char* what;
        std::function<int(uint16_t*)> gen;
        std::function<bool(const Wave&)> holds;
    };
    const Case cases[] = {
        {"Clip 100 is a sine", [](uint16_t* o) { return ShapeClip(kN, kA, 100, o); }, IsSine},
        {"Clip 0 is flat at midscale", [](uint16_t* o) { return ShapeClip(kN, kA, 0, o); },
         [](const Wave& w) { return std::set<uint16_t>(w.begin(), w.end()) == std::set<uint16_t>{32767}; }},
        {"CF1 14 is a sine", [](uint16_t* o) { return ShapeCf1(kN, kA, 14, o); }, IsSine},
        {"CF1 15 is two half-sine pulses with zero between",
         [](uint16_t* o) { return ShapeCf1(kN, kA, 15, o); },
         [](const Wave& w) {
             // Span 2n/2.25 = 3641 samples, gap (n - 3641) / 4 = 113.8 samples before each pulse.
             bool quiet = w[0] == 32767 && w[100] == 32767 && w[2048] == 32767 && w[4095] == 32767;
             bool pulses = w[1023] > 65000 && w[3071] < 500;
             return quiet && pulses;
         }},
        {"CF2 20 keeps only the two pulses (D = 0)", [](uint16_t* o) { return ShapeCf2(kN, kA, 20, o); },
         [](const Wave& w) {
             for (int x = 1; x <= kN; ++x) {
                 const uint16_t want = (x > 768 && x <= 1281) ? 65534 : (x > 2816 && x <= 3329) ? 0 : 32767;
                 if (w[x - 1] != want) return false;
             }
             return true;
         }},
        {"Triangle 0 starts at the top and only falls",
         [](uint16_t* o) { return ShapeTriangle(kN, kA, 0, o); },
         [](const Wave& w) { return w[0] > 65500 && w[kN - 1] == 0 && Drops(w) > 4000; }},
        {"Triangle 100 rises over the period, one return to the bottom",
         [](uint16_t* o) { return ShapeTriangle(kN, kA, 100, o); },
         [](const Wave& w) { return Drops(w) == 1 && w[2048] == 0 && w[2047] > 65500; }},
        {"Stairs 1 is a square of +-1", [](uint16_t* o) { return ShapeStairs(kN, kA, 1, o); },
         [](const Wave& w) {
             return std::set<uint16_t>(w.begin(), w.end()) == std::set<uint16_t>{0, 65534};
         }},
        {"DIP holds the end angle's level inside the dip",
         [](uint16_t* o) { return ShapeDip(kN, kA, 450, 540, 1720, o); },
         [](const Wave& w) {
             return std::abs(w[1024] - static_cast<int>((std::sin(172.0 * M_PI / 180) + 1) * kA)) < 3;
         }},
        // Only the build range: the other shapes at their defaults and the ends of their parameters.
        {"Triangle 1", [](uint16_t* o) { return ShapeTriangle(kN, kA, 1, o); }, Any},
        {"Triangle 99", [](uint16_t* o) { return ShapeTriangle(kN, kA, 99, o); }, Any},
        {"Stairs 100", [](uint16_t* o) { return ShapeStairs(kN, kA, 100, o); }, Any},
        {"CF1 11", [](uint16_t* o) { return ShapeCf1(kN, kA, 11, o); }, Any},
        {"CF1 100", [](uint16_t* o) { return ShapeCf1(kN, kA, 100, o); }, Any},
        {"CF2 15", [](uint16_t* o) { return ShapeCf2(kN, kA, 15, o); }, Any},
        {"Surge 50/25", [](uint16_t* o) { return ShapeSurgeDip(kN, kA, 1, 50, 25, o); }, Any},
        {"Dip square 100/100", [](uint16_t* o) { return ShapeSurgeDip(kN, kA, 0, 100, 100, o); }, Any},
        {"Surge 0/0", [](uint16_t* o) { return ShapeSurgeDip(kN, kA, 1, 0, 0, o); }, Any},
        {"Ripple 48 V 15 %", [](uint16_t* o) { return ShapeRipple(kN, kA, 0, 48, 15, o); }, Any},
        {"Ripple x6 230 V 30 %", [](uint16_t* o) { return ShapeRipple(kN, kA, 3, 230, 30, o); }, Any},
        {"Ripple x3 1 V 1 %", [](uint16_t* o) { return ShapeRipple(kN, kA, 2, 1, 1, o); }, Any},
        {"DIP 0.1-0.2-359.9", [](uint16_t* o) { return ShapeDip(kN, kA, 1, 2, 3599, o); }, Any},
        {"LF ring, defaults, scaled to its peak",
         [](uint16_t* o) {
             return ShapeLFRing(kN, kA, {140, 500, 2000, 5, 600, 1200, 300}, o, nullptr);
         },
         [](const Wave& w) { return *std::max_element(w.begin(), w.end()) == 65534; }},
        {"LF ring, growing",
         [](uint16_t* o) {
             return ShapeLFRing(kN, kA, {200, 2000, 50000, -100, 1, 3599, 3599}, o, nullptr);
         },
         Any},
    };
    for (const Case& c : cases) {
        const Wave w = Build(c.gen);
        EXPECT_TRUE(c.holds(w)) << c.what;
        EXPECT_LE(*std::max_element(w.begin(), w.end()), 65534) << c.what;
    }
}

// Samples of the build worked out by hand from the shapes' formulas (sample i is 1-based, the shape's own
// index; the DIP and the LF ring count j from 0), allowing one step of rounding between single and double
// precision.
struct Sample {
    int at;
    int32_t want;
};
void ExpectSamples(const char* what, const Wave& w, std::initializer_list<Sample> samples, bool oneBased) {
    for (const Sample& s : samples)
        EXPECT_NEAR(w[s.at - (oneBased ? 1 : 0)], s.want, 2) << what << " sample " << s.at;
}

TEST(ArbShapes, SamplesFollowTheFormulas) {
    // Stairs 5: step 0.4 from the half step 0.2 (levels 0.2, 0.6, 1); stairs 4: levels 0, 0.5, 1.
    ExpectSamples("stairs 5", Build([](uint16_t* o) { return ShapeStairs(kN, kA, 5, o); }),
                  {{100, 39320}, {512, 52427}, {1024, 65534}, {1800, 39320}, {2300, 26214}, {3072, 0},
                   {3500, 13107}},
                  true);
    ExpectSamples("stairs 4", Build([](uint16_t* o) { return ShapeStairs(kN, kA, 4, o); }),
                  {{100, 32767}, {512, 49150}, {1024, 65534}, {1800, 49150}, {2300, 16384}, {3072, 0}}, true);
    // Surge 50 % over 25 %: windows 768..1280 and 2816..3328, the sine at half level outside.
    ExpectSamples("surge 50/25", Build([](uint16_t* o) { return ShapeSurgeDip(kN, kA, 1, 50, 25, o); }),
                  {{500, 44136}, {768, 49150}, {896, 60735}, {1024, 65534}, {1280, 49150}, {2000, 33972},
                   {2944, 4798}, {3072, 0}, {3328, 16383}, {4000, 30363}},
                  true);
    // Dip mode 0, 30 % over 40 %: full level inside the windows from 614.4 on.
    ExpectSamples("dip 30/40", Build([](uint16_t* o) { return ShapeSurgeDip(kN, kA, 0, 30, 40, o); }),
                  {{100, 34269}, {700, 65534}, {1024, 65534}, {2000, 33490}, {3072, 0}, {4000, 31324}}, true);
    // Ripple 48 V, 15 %: top 51.6 V, bottom 44.4 V, start 68.47 degrees, discharge until 419.37 degrees;
    // the charge starts at sample 3994, whose predecessor is pulled to the bottom.
    ExpectSamples("ripple 48/15", Build([](uint16_t* o) { return ShapeRipple(kN, kA, 0, 48, 15, o); }),
                  {{1, 32767}, {100, 53812}, {1000, 52347}, {2048, 34020}, {3000, 17372}, {3993, 0}, {3994, 7},
                   {3995, 572}, {4000, 2388}, {4096, 32502}},
                  true);
    // Ripple twice a period, 100 V, 20 %: charges start at samples 1930 and 3978.
    ExpectSamples("ripple x2 100/20", Build([](uint16_t* o) { return ShapeRipple(kN, kA, 1, 100, 20, o); }),
                  {{1, 32767}, {500, 56833}, {1500, 17084}, {1929, 0}, {2500, 58741}, {3500, 18992}}, true);
    // DIP 45-54-172 degrees: the start value sin(44.82) is captured at j = 511, the ramp runs to
    // sin(172) = 0.1392, held to 172 degrees.
    ExpectSamples("DIP 450/540/1720", Build([](uint16_t* o) { return ShapeDip(kN, kA, 450, 540, 1720, o); }),
                  {{100, 37773}, {511, 55901}, {512, 55936}, {520, 54417}, {600, 39934}, {1000, 37327},
                   {1957, 37326}, {2000, 35177}, {3000, 199}},
                  false);
    // LF ring at its defaults: ring 0.4 sin(4 th - 210) decaying as exp(-(th - 60) / 180) from 60 to 120
    // degrees, peak 1.33542, so a ratio of 134 %.
    int32_t ratio = 0;
    ExpectSamples("LF ring",
                  Build([&](uint16_t* o) {
                      return ShapeLFRing(kN, kA, {140, 500, 2000, 5, 600, 1200, 300}, o, &ratio);
                  }),
                  {{100, 36516}, {683, 58946}, {700, 60068}, {800, 64645}, {1000, 62512}, {1365, 46989},
                   {1366, 54003}, {3000, 8379}},
                  false);
    EXPECT_EQ(ratio, 134);
}

// Edit values that the builder's own limits forbid reach the preview while a value is typed.
TEST(ArbShapes, PreviewSurvivesOutOfRangeEditValues) {
    int16_t p[kPreviewPoints];
    auto* raw = reinterpret_cast<uint16_t*>(p);
    EXPECT_EQ(ShapeStairs(kPreviewPoints, kPreviewAmplitude, 0, raw), 0);
    ASSERT_EQ(ShapeDip(kPreviewPoints, kPreviewAmplitude, 540, 540, 1720, raw), kPreviewPoints);
    for (int16_t v : p)
        EXPECT_TRUE(v >= -160 && v <= 160) << v;
}

double CrestFactor(const int16_t* s) {
    double sum = 0, peak = 0;
    for (int i = 0; i < kShapeSamples; ++i)
        sum += double(s[i]) * s[i], peak = std::max(peak, std::fabs(double(s[i])));
    return peak / std::sqrt(sum / kShapeSamples);
}

TEST(ArbShapeTables, StoredShapesAreDistinctFullScaleAndOfTheirCrestFactor) {
    std::set<std::vector<int16_t>> distinct;
    for (int k = 0; k < kDstShapeCount; ++k) {
        const int16_t* s = &g_DstShapes[k * kShapeSamples];
        distinct.insert(std::vector<int16_t>(s, s + kShapeSamples));
        int peak = 0;
        for (int i = 0; i < kShapeSamples; ++i)
            peak = std::max(peak, std::abs(int(s[i])));
        EXPECT_EQ(peak, 32767) << "DST" << k + 1;
        const double cf = CrestFactor(s);
        EXPECT_TRUE(cf > 1.1 && cf < 2.2) << "DST" << k + 1 << " crest factor " << cf;
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kDstShapeCount));
    const double want[kCf1ShapeCount] = {1.3, 1.2, 1.1};
    for (int k = 0; k < kCf1ShapeCount; ++k)
        EXPECT_NEAR(CrestFactor(&g_Cf1Shapes[k * kShapeSamples]), want[k], 0.005) << k;
}

}  // namespace
