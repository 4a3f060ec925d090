#pragma once
// A simulated stage's model stepped by a test: its registers, its own clock, and the register writes the
// controller would make to play a waveform.
#include <bit>
#include <cstdint>

#include "platform/stage/power_stage_capture.h"
#include "platform/stage/power_stage_model.h"
#include "platform/stage/reg_map.h"
#include "platform/stage/wave_numbers.h"

namespace test {

inline uint64_t g_stageNowUs = 0;
inline uint64_t StageNow() {
    return g_stageNowUs;
}

// The wave code of ARB1 (the standard shapes': kWaveCodeSin ...).
constexpr uint32_t kArb1 = 1;

struct StagePlay {
    plat::RegisterFile regs;
    plat::PowerStageModel m;

    StagePlay() {
        g_stageNowUs = 0;
        m.Reset();
        m.PowerOn(regs);
        m.clock = StageNow;
        m.outputOn = true;
    }
    void Write(uint32_t reg, uint32_t value, uint32_t word = 0) {
        regs.Set(reg, word, value);
        m.Written(regs, reg, word, value);
    }
    void WriteFloat(uint32_t reg, float value, uint32_t word = 0) {
        Write(reg, std::bit_cast<uint32_t>(value), word);
    }
    // Every phase plays `wave` at acv (rms, or Vpp with the Vpp unit), dc and hz into `ohms`.
    void Play(uint32_t wave, float acv, float dc = 0.0f, float hz = 50.0f, float ohms = 10.0f) {
        for (uint32_t p = 0; p < 3; ++p) {
            Write(regmap::kWaveform.at(p), wave);
            WriteFloat(regmap::kAcv.at(p), acv);
            WriteFloat(regmap::kDcv.at(p), dc);
            Write(regmap::kOutputFreq.at(p), static_cast<uint32_t>(hz * 10000.0f + 0.5f));
            m.loadOhms[p] = ohms;
        }
        Write(regmap::kApply, 1);
    }
    float Read(uint32_t reg) const { return std::bit_cast<float>(m.MeasureWord(regs, reg)); }
    int32_t ReadInt(uint32_t reg) const { return static_cast<int32_t>(m.MeasureWord(regs, reg)); }
    // Sample i of a phase's capture in volts (kind 0) or amperes (kind 1), in the low range.
    double Captured(uint32_t phase, uint32_t i, int kind) const {
        const uint32_t word = regs.Get(phase, i);
        const auto counts = static_cast<int16_t>(kind == 0 ? word >> 16 : word & 0xFFFFu);
        return counts *
               (kind == 0 ? plat::CaptureVoltScale(false) : plat::CaptureCurrentScale(false, m.vaClass));
    }
};

}  // namespace test
