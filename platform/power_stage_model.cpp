#include "platform/power_stage_model.h"

#include <bit>
#include <cmath>
#include <cstddef>

namespace plat {
namespace {

struct DecodeRow {
    uint16_t first;
    uint16_t last;
    RegDecode decode;
};

// The stage's view of its registers, sorted by register; anything not listed is a plain word.
constexpr DecodeRow kDecodeRows[] = {
    {104, 104, RegDecode::kFloat},         // per-waveform factor table
    {256, 511, RegDecode::kInt},           // waveform tables, one sample per word
    {772, 780, RegDecode::kFloat},         // step DCV, ACV, frequency
    {781, 791, RegDecode::kInt},           // step phases, jumps, branches, time
    {798, 800, RegDecode::kFloat},         // step reserved word, L2/L3 angles
    {801, 803, RegDecode::kDuty4096},      // step duty
    {2128, 2211, RegDecode::kFloat},       // measurements, 7 rows per quantity
    {2212, 2225, RegDecode::kInt},         // power factor x 1000, crest factor x 100
    {2226, 2236, RegDecode::kFloat},       // aux row, voltage peak hold, frequency
    {2336, 2339, RegDecode::kInt},         // output mode, waveforms
    {2341, 2349, RegDecode::kInt},         // unit, signal, slew, clears, output, range, service, model
    {2351, 2355, RegDecode::kInt},         // sequencer, calibration, wiring
    {2358, 2359, RegDecode::kFloat},       // power limits
    {2363, 2363, RegDecode::kFloat},       // fan slew
    {2368, 2370, RegDecode::kInt},         // signal sources
    {2372, 2372, RegDecode::kInt},         // trigger width
    {2374, 2374, RegDecode::kInt},         // trigger source
    {2375, 2392, RegDecode::kFloat},       // phase angles, voltages, gains
    {2396, 2410, RegDecode::kFloat},       // current limits
    {2411, 2413, RegDecode::kFixed10000},  // peak-hold time
    {2414, 2416, RegDecode::kFixed10000},  // frequency
    {2436, 2443, RegDecode::kFloat},       // compensation, fan duty, calibration averaging
    {2446, 2448, RegDecode::kInt},         // table update, boot control, monitor sources
    {2449, 2450, RegDecode::kFloat},       // monitor scales
    {2454, 2454, RegDecode::kInt},         // harmonic capture
    {2455, 2460, RegDecode::kFloat},       // output impedance
    {2461, 2463, RegDecode::kDuty4096},    // square-wave duty
    {2464, 2466, RegDecode::kFixed10000},  // peak-hold time
    {2467, 2471, RegDecode::kFloat},       // service tuning values
    {2472, 2472, RegDecode::kInt},         // power-stage enable
};

constexpr bool RowsSorted() {
    for (size_t i = 0; i < std::size(kDecodeRows); ++i) {
        if (kDecodeRows[i].first > kDecodeRows[i].last) return false;
        if (i > 0 && kDecodeRows[i - 1].last >= kDecodeRows[i].first) return false;
    }
    return true;
}
static_assert(RowsSorted(), "decode rows must be sorted and disjoint");

// Fixed answers of the stage until later versions model them.
constexpr uint32_t kStatusWord = 0x0200;    // 2048: high byte = controller firmware version
constexpr uint32_t kModuleWord = 0x0201;    // 2081-2083: same firmware version as the controller
constexpr uint32_t kNoFaultWord = 0xFFFFF;  // 2090: a clear bit would be a fault
constexpr uint32_t kModulePresent = 1;      // 2099-2101
constexpr uint32_t kOutputOnBit = 1u << 0;  // 2085
constexpr uint32_t kNotReadyBit = 1u << 7;  // 2085

using ReadFn = uint32_t (*)(const PowerStageModel&, const RegisterFile&, uint32_t reg, uint32_t word);

struct ReadRow {
    uint16_t first;
    uint16_t last;
    ReadFn read;
};

uint32_t ReadStatus(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kStatusWord;
}
uint32_t ReadBoot(const PowerStageModel& m, const RegisterFile&, uint32_t, uint32_t) {
    return m.bootStatus;
}
uint32_t ReadModuleWord(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kModuleWord;
}
uint32_t ReadFaultWord(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kNoFaultWord;
}
uint32_t ReadModuleType(const PowerStageModel& m, const RegisterFile&, uint32_t, uint32_t) {
    return m.vaClass;
}
uint32_t ReadPresent(const PowerStageModel&, const RegisterFile&, uint32_t, uint32_t) {
    return kModulePresent;
}

// Output status: bit 0 reports the output stage, bit 7 (not ready) stays clear.
uint32_t ReadOutputStatus(const PowerStageModel& m, const RegisterFile& regs, uint32_t reg, uint32_t word) {
    uint32_t v = regs.Get(reg, word) & ~(kOutputOnBit | kNotReadyBit);
    if (m.outputOn) v |= kOutputOnBit;
    return v;
}

constexpr uint32_t kApplyStrobe = 2340, kOutputOnReg = 2346;
constexpr uint32_t kAcvFirst = 2384, kDcvFirst = 2387, kVrmsFirst = 2128;

// Measured rms voltage of a phase: the applied AC and DC voltages while the output is on.
uint32_t ReadVrms(const PowerStageModel& m, const RegisterFile&, uint32_t reg, uint32_t) {
    if (!m.outputOn) return std::bit_cast<uint32_t>(0.0f);
    const uint32_t phase = reg - kVrmsFirst;
    const float ac = std::bit_cast<float>(m.Applied(kAcvFirst + phase));
    const float dc = std::bit_cast<float>(m.Applied(kDcvFirst + phase));
    return std::bit_cast<uint32_t>(std::sqrt(ac * ac + dc * dc));
}

// Loop-back: 2303 reads what was written to 2559.
uint32_t ReadLoopback(const PowerStageModel&, const RegisterFile& regs, uint32_t, uint32_t word) {
    return regs.Get(2559, word);
}

constexpr ReadRow kReadRows[] = {
    {2048, 2048, ReadStatus},       {2080, 2080, ReadBoot},      {2081, 2083, ReadModuleWord},
    {2085, 2085, ReadOutputStatus}, {2090, 2090, ReadFaultWord}, {2093, 2095, ReadModuleType},
    {2099, 2101, ReadPresent},      {2128, 2130, ReadVrms},      {2303, 2303, ReadLoopback},
};

}  // namespace

RegDecode DecodeOf(uint32_t reg) {
    for (const auto& row : kDecodeRows) {
        if (reg < row.first) break;
        if (reg <= row.last) return row.decode;
    }
    return RegDecode::kUInt;
}

double DecodeValue(RegDecode decode, uint32_t raw) {
    switch (decode) {
        case RegDecode::kInt:
            return static_cast<int32_t>(raw);
        case RegDecode::kFloat:
            return std::bit_cast<float>(raw);
        case RegDecode::kFixed10000:
            return raw / 10000.0;
        case RegDecode::kDuty4096:
            return static_cast<int32_t>(raw) * 100.0 / 4096.0;
        case RegDecode::kUInt:
            break;
    }
    return raw;
}

void PowerStageModel::Reset() {
    *this = PowerStageModel{};
}

uint32_t PowerStageModel::Read(const RegisterFile& regs, uint32_t reg, uint32_t word) const {
    for (const auto& row : kReadRows) {
        if (reg >= row.first && reg <= row.last) return row.read(*this, regs, reg, word);
    }
    // Everything else reads back what was written: step memory per step word, waveform tables,
    // link receive words; measurement registers stay 0 until a load model fills them.
    return regs.Get(reg, word);
}

void PowerStageModel::Written(RegisterFile& regs, uint32_t reg, uint32_t word, uint32_t value) {
    if (word != 0) return;
    if (reg == kOutputOnReg) {
        outputOn = value != 0;
    } else if (reg == kApplyStrobe) {
        ++applies;
        for (uint32_t r = kSettingFirst; r <= kSettingLast; ++r)
            applied_[r - kSettingFirst] = regs.Get(r, 0);
    }
}

uint32_t PowerStageModel::Applied(uint32_t reg) const {
    return reg >= kSettingFirst && reg <= kSettingLast ? applied_[reg - kSettingFirst] : 0u;
}

}  // namespace plat
