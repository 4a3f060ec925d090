#pragma once
// The SIMULATE states that follow others: Normal2 and Trans2 take Normal1's values, Trans1 takes
// Abnormal's, the end state (index 6) takes Initial's voltage and sync code with Normal1's frequency. A
// field editor re-derives them after its write, and the transition's time decides Normal1's or Abnormal's
// jump bit in the power stage.
#include <cstdint>

// Phase p's Normal2 takes Normal1's AC voltage, frequency and waveform; Normal2 becomes current and its
// voltage and frequency go to the power stage.
void Sim_DeriveNormal2(int phase);
// State s (2 Trans1, 4 Trans2, 6 end) of phase p takes its source's values and is written; s becomes the
// current state. Another s below 7 is only made current; 7 or more does nothing.
void Sim_DeriveState(uint32_t state, int phase);

// The editors whose write other states follow.
enum class SimDeriveFrom : uint8_t { kAcvL1, kAcvPhase, kFreqL1, kFreqPhase, kWave, kSyncCode };
// After an editor's write in the current state: the states that follow it are derived (phase is the
// edited phase of the per-phase rows) and the edited state is selected again. States without derived
// states are left alone.
void Sim_RederiveAfterWrite(SimDeriveFrom editor, int phase);

// After a transition time was written in Trans1 or Trans2: the preceding state's jump bit (register 768,
// bit 2) in the power stage follows its zero-time flag; the transition state is current again.
void Sim_UpdateJumpBit();
