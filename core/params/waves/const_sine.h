#pragma once
// A sine evaluated at compile time, so that the waveform tables of the program are constant data.
// The argument is an angle in 1/4096 of a period; long double keeps the result exact to the last bit
// of a double, which the tables' rounding relies on.

namespace core {

// sin(2 pi k / 4096) for any integer k.
constexpr long double ConstSin4096(long long k) {
    k %= 4096;
    if (k < 0) k += 4096;
    const bool negative = k >= 2048;
    if (negative) k -= 2048;
    if (k > 1024) k = 2048 - k;  // sin(pi - x) = sin(x): k in 0..1024, x in 0..pi/2
    constexpr long double kPi = 3.14159265358979323846264338327950288L;
    // Near pi/2 the cosine series of the complement converges faster.
    const bool useCos = k > 512;
    const long double x =
        (useCos ? static_cast<long double>(1024 - k) : static_cast<long double>(k)) * kPi / 2048.0L;
    long double term = useCos ? 1.0L : x;
    long double sum = term;
    for (int n = useCos ? 1 : 2; n < 28; n += 2) {
        const long double a = static_cast<long double>(n);
        term *= -x * x / (a * (a + 1));
        sum += term;
    }
    return negative ? -sum : sum;
}

// Nearest integer, halves away from zero.
constexpr long long ConstRound(long double v) {
    return v < 0 ? -static_cast<long long>(-v + 0.5L) : static_cast<long long>(v + 0.5L);
}

}  // namespace core
