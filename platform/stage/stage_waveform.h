#pragma once
// The waveforms the simulated stage plays: one period of a waveform table (4096 signed samples, full scale
// +-32767, one table per slot of the waveform memory, registers 256-511), reduced once per table or duty
// change to what the stage's tick and capture need: the period at the capture's 1024 points, scaled to an
// rms of 1, and its mean, maximum and minimum in the same units.
//
// A wave code (the waveform register's 1-based value, also the waveform code of a step) plays slot
// code - 1. At power-on the stage's memory holds its standard sine, square and triangle in slots 16-18,
// the tables the controller's bring-up downloads there; every other slot is silent until downloaded.
#include <cstdint>
#include <map>

#include "platform/stage/register_file.h"
#include "platform/stage/wave_numbers.h"

namespace plat {

constexpr uint32_t kWaveTableSamples = 4096;
constexpr uint32_t kShapePoints = 1024;  // the capture's points per period
constexpr uint32_t kDutyFull = 4096;     // duty register value of 100 %

struct WaveShape {
    float point[kShapePoints] = {};  // the period, rms 1 (all 0 for a silent table)
    float mean = 0.0f;
    float max = 0.0f;
    float min = 0.0f;
    float PeakAbs() const { return max > -min ? max : -min; }
};

// The slot a waveform number plays, or -1 for a number outside 1-256.
int WaveSlot(uint32_t waveNumber);

// The standard shapes into slots 16-18 of the stage's memory.
void LoadStandardShapes(RegisterFile& regs);

// The shape of a slot's table; the square's slot with a duty of 1-4095 (of 4096) keeps its first half-table
// for that share of the period and its second for the rest.
void BuildShape(const RegisterFile& regs, uint32_t slot, uint32_t duty, WaveShape* shape);

// Shapes built on first use and kept until the controller reports a table download.
class ShapeCache {
  public:
    // The shape of a waveform number (silent outside 1-256) at a duty.
    const WaveShape& Get(const RegisterFile& regs, uint32_t waveNumber, uint32_t duty);
    void Clear() { shapes_.clear(); }

  private:
    std::map<uint64_t, WaveShape> shapes_;
    WaveShape silent_;
};

}  // namespace plat
