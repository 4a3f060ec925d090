#pragma once
// The sizes of the harmonic analysis: orders kept, samples of one captured period, bins of its FFT.

inline constexpr int kHarmOrders = 100;
inline constexpr int kHarmSamples = 1024;
inline constexpr int kHarmBins = kHarmSamples / 2 + 1;
