#pragma once
// The simulated power stage's register contents: every 32-bit word of every register as last written.
// The stage's parts (model, sequencer, parallel link, capture) all read and write through it.
#include <cstdint>
#include <vector>

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

}  // namespace plat
