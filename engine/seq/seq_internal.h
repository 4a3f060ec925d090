#pragma once
// Record addressing shared by the SEQ accessors, the remote setters and the download (engine only).
#include <cstdint>

#include "core/params/settings/angle_bounds.h"
#include "core/regbus/phase.h"
#include "engine/seqsim/seqsim_data.h"

namespace engine {

// The output kind whose table the accessors use: the output mode 0-2 (AC+DC, AC, DC); any other mode
// addresses the AC+DC table.
uint32_t SeqKind();
inline bool KindHasAc(uint32_t kind) {
    return kind != 2;
}
inline bool KindHasDc(uint32_t kind) {
    return kind != 1;
}
// The effective step: current step + step base.
uint32_t SeqAbsStep();
// The record of a step in the active table of the current kind, phase slice 0-3. A step outside 0-999
// (or a slice outside 0-3) addresses a scratch record that is zero whenever it is read.
SeqStepRecord& SeqRecAt(uint32_t step, int slice);
inline SeqStepRecord& SeqRec(int slice) {
    return SeqRecAt(SeqAbsStep(), slice);
}
// Whether the ACV of a step and phase is held in Vpp (ACV unit Vpp, waveform neither SIN nor SQU; in 1P3W
// L2 follows L1).
bool SeqVppAt(uint32_t step, int phase);
// Whether an ACV with this waveform is held in Vpp: ACV unit Vpp, waveform neither SIN nor SQU.
bool VppWave(uint32_t wave);
// A balance angle (0-3599, tenths of a degree) into the step record, the live block and the stage; a refused
// value sends nothing (the live angle may be another step's) and the live angle is the result.
inline bool BalanceAngleTaken(int32_t value) {
    return value >= 0 && value <= settings::kAngleMax;
}
inline int32_t SetBalanceAngle(uint32_t& stored, uint32_t& live, int32_t value, int (*send)(int32_t)) {
    if (BalanceAngleTaken(value)) {
        stored = static_cast<uint32_t>(value);
        live = static_cast<uint32_t>(value);
        send(static_cast<int32_t>(live));
    }
    return static_cast<int32_t>(live);
}

inline bool ValidPhase(int phase) {
    return phase >= 0 && phase <= 2;
}
// The common rule of a per-phase field of a SEQ step or a SIM state: a value inside its range goes into the
// phase's record (`store` given `record(phase)`), the live block and the stage; a refused value sends nothing,
// since the live value may be another step's, and the live value is the result. An invalid phase gives 0 and
// changes nothing.
template <typename Rec, typename T, typename Store>
int32_t PhaseField(Rec& (*record)(int), int32_t v, int phase, bool inside, T SeqSimBlock::*live, Store store,
                   int (*send)(int32_t, regbus::Phase)) {
    if (!ValidPhase(phase)) return 0;
    if (inside) {
        store(record(phase));
        g_SeqSimBlock[phase].*live = static_cast<T>(v);
        send(v, regbus::Phase(phase));
    }
    return static_cast<int32_t>(g_SeqSimBlock[phase].*live);
}
inline uint32_t TypeField(uint32_t flags, uint32_t shift) {
    return (flags >> shift) & 7u;
}

}  // namespace engine
