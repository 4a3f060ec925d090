#pragma once
// What the simulated power stage does with its registers: how it decodes what it receives, and what it
// answers when a register is read. The bus side (bytes, halves, index register, trace) is in
// power_stage_sim.h; the stage's behaviour goes here, as rows of its tables and handlers of its writes.
//
// The settings the controller writes (regmap::kSettings) take effect only on the apply strobe: the stage
// keeps what was written and, separately, what was applied, so a missing strobe shows. The output stage
// follows the output-on register at once, and the output status reports it; while it is on, the measured
// rms voltage of each phase is that of the applied AC and DC voltages.
#include <cstdint>
#include <vector>

#include "platform/link_peers.h"
#include "platform/reg_map.h"

namespace plat {

constexpr uint32_t kStageRegisters = 4096;  // 12-bit register numbers

// The 32-bit words of every register, per word index, as last written (0 when never written).
class RegisterFile {
  public:
    RegisterFile() : words_(kStageRegisters) {}
    uint32_t Get(uint32_t reg, uint32_t word) const {
        const auto& w = words_[reg];
        return word < w.size() ? w[word] : 0u;
    }
    void Set(uint32_t reg, uint32_t word, uint32_t value) {
        auto& w = words_[reg];
        if (word >= w.size()) w.resize(word + 1, 0u);
        w[word] = value;
    }
    void SetHalf(uint32_t reg, uint32_t word, bool high, uint16_t half) {
        uint32_t v = Get(reg, word);
        v = high ? (v & 0x0000FFFFu) | (uint32_t{half} << 16) : (v & 0xFFFF0000u) | half;
        Set(reg, word, v);
    }
    void Clear() {
        for (auto& w : words_)
            w.clear();
    }

  private:
    std::vector<std::vector<uint32_t>> words_;
};

// How the stage reads the 32 bits of a register.
enum class RegDecode : uint8_t {
    kUInt,        // a plain 32-bit word (status, command and table words)
    kInt,         // a signed integer
    kFloat,       // single precision
    kFixed10000,  // unsigned, ten-thousandths (frequency in Hz, peak-hold time)
    kDuty4096,    // signed, 4096 = 100 %; decoded in percent
};

RegDecode DecodeOf(uint32_t reg);
double DecodeValue(RegDecode decode, uint32_t raw);

class PowerStageModel {
  public:
    void Reset();

    // The value the stage presents for word `word` of `reg`.
    uint32_t Read(const RegisterFile& regs, uint32_t reg, uint32_t word) const;
    // A complete 32-bit write has reached the stage (the word is already stored).
    void Written(RegisterFile& regs, uint32_t reg, uint32_t word, uint32_t value);

    // The value the last apply strobe took for a setting register (word 0), 0 when never applied.
    uint32_t Applied(uint32_t reg) const;

    uint32_t vaClass = 1;     // module type code of every phase (1: 4.5 kVA, 2: 6 kVA family)
    uint32_t bootStatus = 1;  // nonzero: the stage's controller has booted
    bool outputOn = false;    // the output stage is switched on
    uint64_t applies = 0;     // apply strobes received
    LinkPeers link;           // the parallel link and its peer units

  private:
    uint32_t applied_[regmap::kSettings.count] = {};
};

}  // namespace plat
