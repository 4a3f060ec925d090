#pragma once
// The builder's stored shapes, read-only data of the program (their recipes are in the source file).
#include <cstdint>

inline constexpr int kDstShapeCount = 22;
inline constexpr int kCf1ShapeCount = 3;
inline constexpr int kShapeSamples = 4096;

// DST01-DST22 (builder types 6-27): shape k at sample offset k x 4096, full-scale peak +-32767.
extern const int16_t (&g_DstShapes)[kDstShapeCount * kShapeSamples];
// The flat-topped sines of crest factor 1.3, 1.2 and 1.1 (CF1 parameters 13, 12, 11), in that order.
extern const int16_t (&g_Cf1Shapes)[kCf1ShapeCount * kShapeSamples];
