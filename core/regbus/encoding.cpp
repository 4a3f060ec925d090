#include "core/regbus/encoding.h"

#include <bit>
#include <cstddef>
#include <limits>

namespace regbus {
namespace {

using E = Encoding;

constexpr EncodingRange kWriteIntEx[] = {
    {775, 775, E::kFloatDiv100},    {2336, 2339, E::kInt},          {2340, 2340, E::kOne},
    {2341, 2349, E::kInt},          {2351, 2355, E::kInt},          {2358, 2359, E::kFloat},
    {2363, 2363, E::kFloat},        {2368, 2370, E::kInt},          {2372, 2372, E::kInt},
    {2374, 2374, E::kInt},          {2375, 2383, E::kFloatDiv10},   {2384, 2389, E::kFloatDiv100},
    {2390, 2392, E::kFloatDiv10},   {2396, 2410, E::kFloatDiv100},  {2411, 2413, E::kIntMul10000},
    {2414, 2416, E::kIntMul100},    {2436, 2436, E::kFloatDiv1000}, {2437, 2437, E::kFloatDiv10},
    {2438, 2439, E::kFloatDiv100},  {2440, 2440, E::kFloat},        {2441, 2442, E::kFloatDiv100},
    {2443, 2443, E::kFloatDiv1000}, {2446, 2446, E::kInt},          {2448, 2448, E::kInt},
    {2454, 2454, E::kInt},          {2455, 2460, E::kFloatDiv10},   {2461, 2463, E::kDuty4096},
    {2464, 2466, E::kIntMul10000},  {2467, 2471, E::kFloatDiv10},   {2472, 2472, E::kInt},
    {2480, 2481, E::kInt},
};

constexpr EncodingRange kStep[] = {
    {768, 771, E::kInt},        {772, 780, E::kFloatDiv100}, {781, 791, E::kInt},
    {798, 800, E::kFloatDiv10}, {801, 803, E::kDuty4096},
};

struct RegRange {
    uint16_t first;
    uint16_t last;
};

constexpr RegRange kIntegerReads[] = {
    {2048, 2048}, {2050, 2050}, {2080, 2083}, {2085, 2088}, {2091, 2103}, {2212, 2225}, {2246, 2251},
};

template <typename Row, size_t N>
constexpr bool SortedDisjoint(const Row (&rows)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (rows[i].first > rows[i].last) return false;
        if (i > 0 && rows[i - 1].last >= rows[i].first) return false;
    }
    return true;
}
static_assert(SortedDisjoint(kWriteIntEx) && SortedDisjoint(kStep) && SortedDisjoint(kIntegerReads),
              "register tables must be sorted and disjoint");

template <size_t N>
Encoding Lookup(const EncodingRange (&rows)[N], uint32_t reg) {
    for (const auto& row : rows) {
        if (reg < row.first) break;
        if (reg <= row.last) return row.encoding;
    }
    return E::kNone;
}

}  // namespace

Encoding WriteIntExEncoding(uint32_t reg) {
    return Lookup(kWriteIntEx, reg);
}

Encoding StepEncoding(uint32_t reg) {
    return Lookup(kStep, reg);
}

float FloatDiv(int32_t v, int32_t divisor) {
    return static_cast<float>(v) / static_cast<float>(divisor);
}

int32_t DutyTo4096(int32_t duty) {
    // Multiplied first and truncated once at the end: v / 10 / 100 * 4096 in integer steps would send 0
    // for every duty below 100 %.
    int64_t scaled = int64_t{duty} * 4096 / 1000;
    if (scaled > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (scaled < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

uint32_t Encode(Encoding encoding, int32_t v) {
    auto bits = [](float f) { return std::bit_cast<uint32_t>(f); };
    switch (encoding) {
        case E::kInt:
            return static_cast<uint32_t>(v);
        case E::kFloat:
            return bits(static_cast<float>(v));
        case E::kFloatDiv10:
            return bits(FloatDiv(v, 10));
        case E::kFloatDiv100:
            return bits(FloatDiv(v, 100));
        case E::kFloatDiv1000:
            return bits(FloatDiv(v, 1000));
        case E::kIntMul100:
            return static_cast<uint32_t>(v) * 100u;
        case E::kIntMul10000:
            return static_cast<uint32_t>(v) * 10000u;
        case E::kDuty4096:
            return static_cast<uint32_t>(DutyTo4096(v));
        case E::kOne:
            return 1u;
        case E::kNone:
            break;
    }
    return 0u;
}

bool IsIntegerReadRegister(uint32_t reg) {
    for (const auto& row : kIntegerReads) {
        if (reg < row.first) break;
        if (reg <= row.last) return true;
    }
    return false;
}

}  // namespace regbus
