#pragma once
// The physical model behind the simulated stage's measurement registers: each phase plays its waveform
// at its AC (rms) and DC voltage, frequency and phase angle into a resistive load; the rms current limit
// folds the voltage back so that the current stays at the limit (in 1P2W the output's current, the three
// modules' added, at L1's limit). From that follow the seven measurement rows: the phases, the line-to-line
// values from the two phases' periods, and the total row.
#include <cstdint>

#include "platform/stage/stage_waveform.h"

namespace plat {

// What one phase is set to drive.
struct PhaseDrive {
    const WaveShape* shape = nullptr;  // the waveform (rms 1); nullptr plays nothing
    float ac = 0.0f;                   // rms of the waveform's part (V)
    float dc = 0.0f;                   // V
    float freq = 0.0f;                 // Hz
    float angleDeg = 0.0f;             // phase angle against L1
    float irmsLimit = 0.0f;            // A; 0: no limit
    float ohms = 0.0f;                 // resistive load; 0: nothing connected
};

// The voltage of a phase at point i of its period (of kShapePoints), its angle included.
class PeriodReader {
  public:
    explicit PeriodReader(const PhaseDrive& d);
    double operator()(uint32_t i) const;

  private:
    const PhaseDrive& d_;
    uint32_t start_ = 0;
    double frac_ = 0.0;
};
static_assert((kShapePoints & (kShapePoints - 1)) == 0, "a period's points wrap by a mask");
// The whole voltage's rms.
double DriveRms(const PhaseDrive& d);

// The stage's quantities, seven rows each (phases, L1-L2, L2-L3, L3-L1, total).
enum StageQuantity : uint8_t {
    kQVrms,
    kQVavg,
    kQVmax,
    kQVmin,
    kQIrms,
    kQIavg,
    kQImax,
    kQImin,
    kQIpkHold,
    kQVpkHold,
    kQPower,
    kQApparent,
    kQReactive,
    kQPowerFactor,  // x 1000
    kQCrestFactor,  // current peak / rms, x 100
    kQuantities
};

struct StageMeasures {
    float row[kQuantities][7] = {};
    bool limited[3] = {};  // the phase's current is held at its rms limit
    float freq = 0.0f;     // L1's frequency; 0 when it plays no waveform
};

// wiring: 0 3P4W; 1 1P2W, one output (L1's voltage, the three modules' currents added); 2 1P3W, whose totals
// take L1 and L2 only.
StageMeasures ComputeMeasures(const PhaseDrive (&phase)[3], uint32_t wiring);

// What the phases play once the rms current limit has folded their voltage back (the drives the capture and
// the measures use); limited[p] tells that phase p's current is held. Each phase holds its own current at
// its own limit, except in 1P2W: the three modules play one output at one voltage, and L1's limit, the
// output's, holds their currents added (L1 alone is marked; the limits of L2 and L3 take no part).
void LimitDrives(const PhaseDrive (&in)[3], uint32_t wiring, PhaseDrive (&out)[3], bool (&limited)[3]);

}  // namespace plat
