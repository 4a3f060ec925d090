#include "core/params/waves/arb_builtin.h"

#include "core/params/waves/const_sine.h"

namespace core {
namespace {

constexpr ArbShape MakeSine() {
    ArbShape t{};
    for (int i = 0; i < kArbSamples; ++i)
        t[i] = static_cast<int16_t>(ConstRound(32767.0L * ConstSin4096(i)));
    return t;
}

constexpr ArbShape MakeSquare() {
    ArbShape t{};
    for (int i = 0; i < kArbSamples; ++i)
        t[i] = static_cast<int16_t>(i < kArbSamples / 2 ? 32767 : -32767);
    return t;
}

constexpr long long FloorHalfUp(long double v) {
    const long double x = v + 0.5L;
    const long long f = static_cast<long long>(x);
    return (x < 0 && static_cast<long double>(f) != x) ? f - 1 : f;
}

constexpr ArbShape MakeTriangle() {
    ArbShape t{};
    for (int i = 0; i < kArbSamples; ++i) {
        long double v;
        if (i <= 1024)
            v = i / 1024.0L;
        else if (i <= 3072)
            v = (2048 - i) / 1024.0L;
        else
            v = (i - 4096) / 1024.0L;
        t[i] = static_cast<int16_t>(FloorHalfUp(32767.0L * v));
    }
    return t;
}

}  // namespace

// Computed by the compiler: the tables are read-only data of the program.
constexpr ArbShape kArbBuiltinSine = MakeSine();
constexpr ArbShape kArbBuiltinSquare = MakeSquare();
constexpr ArbShape kArbBuiltinTriangle = MakeTriangle();

}  // namespace core
