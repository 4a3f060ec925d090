#include "core/regbus/encoding.h"

#include <bit>
#include <cstddef>
#include <limits>

#include "platform/stage/reg_map.h"

namespace regbus {
namespace {

using E = Encoding;
using namespace regmap;

// The registers from the first of `from` to the last of `to`, sent as `encoding`.
constexpr EncodingRange Span(const Block& from, const Block& to, Encoding encoding) {
    return {from.first, static_cast<uint16_t>(to.last()), encoding};
}
constexpr EncodingRange Span(const Block& block, Encoding encoding) {
    return Span(block, block, encoding);
}

constexpr EncodingRange kWriteIntEx[] = {
    Span(Block{kStepAcv.first}, E::kFloatDiv100),  // L1's step AC voltage, also through the plain writer
    Span(kOutputMode, kWaveform, E::kInt),
    Span(kApply, E::kOne),
    Span(kVoltUnit, kModelType, E::kInt),
    Span(kSeqSimCmd, kPhaseMode, E::kInt),
    Span(kPowerLimitTotal, kPowerLimitPhase, E::kFloat),
    Span(kFanSlew, E::kFloat),
    Span(kSource, E::kInt),
    Span(kTrigWidth, E::kInt),
    Span(kTrigOutSource, E::kInt),
    Span(kOnPhase, kPhaseAngleL3, E::kFloatDiv10),
    Span(kAcv, kDcv, E::kFloatDiv100),
    Span(kGain, E::kFloatDiv10),
    Span(kIrmsLimit, kIpkLimitLow, E::kFloatDiv100),
    Span(kPeakHoldTimeA, E::kIntMul10000),
    Span(kOutputFreq, E::kIntMul100),
    Span(kAvgCurrCompKp, E::kFloatDiv1000),
    Span(kAvgCurrCompKi, E::kFloatDiv10),
    Span(kFanDutyMax, kFanDutyMin, E::kFloatDiv100),
    Span(kSpareFloat, E::kFloat),
    Span(kSpareDiv100, E::kFloatDiv100),
    Span(kCaliAvgCount, E::kFloatDiv1000),
    Span(kArbUpdate, E::kInt),
    Span(kMonitorSource, E::kInt),
    Span(kHarmCapture, E::kInt),
    Span(kInductance, kResistance, E::kFloatDiv10),
    Span(kDuty, E::kDuty4096),
    Span(kPeakHoldTimeB, E::kIntMul10000),
    Span(kRdDefine, E::kFloatDiv10),
    Span(kPowerStageEnable, E::kInt),
    Span(kParallelCtrl, kParallelFrame, E::kInt),
};

constexpr EncodingRange kStep[] = {
    Span(kStepStatus, kStepCtrl, E::kInt),  Span(kStepDcv, kStepFreq, E::kFloatDiv100),
    Span(kStepOnPhase, kStepTime, E::kInt), Span(kStepWord798, kStepPhaseL3, E::kFloatDiv10),
    Span(kStepDuty, E::kDuty4096),
};

struct RegRange {
    uint16_t first;
    uint16_t last;
};

constexpr RegRange Reads(const Block& from, const Block& to) {
    return {from.first, static_cast<uint16_t>(to.last())};
}

constexpr RegRange kIntegerReads[] = {
    Reads(kStatus, kStatus),
    Reads(kParallelStatus, kParallelStatus),
    Reads(kBootStatus, kModuleWord),
    Reads(kOutputStatus, kAlarmWord),
    Reads(kAlarmWord2, kRunTime),
    Reads(kPowerFactor, kCrestFactor),
    Reads(kSlaveCounter, kSlaveCounter),
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
