#pragma once
// The built-in shape generators of the waveform builder. Each writes one period of n samples from the
// normalised value s in -1..1: trunc((s + 1) A) for the build (n = 4096, A = 32767, samples 0..65534 with
// midscale 32767) and trunc((s + 1) A - A) for the preview (n = 340, A = -160, screen pixels with positive
// values upward). Preview values are stored as their 16-bit pattern. Each returns the samples written.
#include <cstdint>

namespace engine {

inline constexpr int kBuildSamples = 4096;
inline constexpr int32_t kBuildAmplitude = 32767;
inline constexpr int kPreviewPoints = 340;
inline constexpr int32_t kPreviewAmplitude = -160;

enum ArbShapeType : int32_t {
    kShapeTriangle = 0,
    kShapeStairs = 1,
    kShapeClip = 2,
    kShapeCf1 = 3,
    kShapeCf2 = 4,
    kShapeSurgeDip = 5,
    kShapeDstFirst = 6,  // 6-27 the stored shapes DST01-DST22
    kShapeDstLast = 27,
    kShapeRipple = 28,
    kShapeDip = 29,
    kShapeLFRing = 30,
};

int ShapeTriangle(int n, int32_t amp, int32_t symmetry, uint16_t* out);
int ShapeStairs(int n, int32_t amp, int32_t steps, uint16_t* out);
int ShapeClip(int n, int32_t amp, int32_t level, uint16_t* out);
// Parameters 11-13 take the stored shapes of crest factor 1.1-1.3 (the preview every 12th sample);
// a parameter below 11 gives nothing.
int ShapeCf1(int n, int32_t amp, int32_t crest, uint16_t* out);
// Parameters 15-20; others give nothing.
int ShapeCf2(int n, int32_t amp, int32_t crest, uint16_t* out);
int ShapeSurgeDip(int n, int32_t amp, int32_t mode, int32_t level, int32_t width, uint16_t* out);
// The preview of a stored shape (types 6-27; the build copies the shape itself).
int ShapeDstPreview(int32_t type, int16_t* out);
int ShapeRipple(int n, int32_t amp, int32_t times, int32_t vdc, int32_t level, uint16_t* out);
int ShapeDip(int n, int32_t amp, int32_t start, int32_t sweep, int32_t end, uint16_t* out);
struct LFRingParams {
    int32_t amp, baseFreq, ringFreq, decay, start, end, ring;
};
// Also gives the peak ratio in percent (1000 when the peak cannot be found).
int ShapeLFRing(int n, int32_t amp, const LFRingParams& p, uint16_t* out, int32_t* peakRatio);

}  // namespace engine
