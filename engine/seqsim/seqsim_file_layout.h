#pragma once
// Offsets of the SEQ and SIM file images (engine only).
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"

namespace engine {

inline constexpr uint32_t kFileBody = 64;
inline constexpr uint32_t kSeqWords = sizeof(SeqStepRecord) / 4;
inline constexpr uint32_t kSimWords = sizeof(SimStepRecord) / 4;
inline constexpr uint32_t kSeqPhaseBytes = kSeqTables * kSeqSteps * sizeof(SeqStepRecord);  // 408000
inline constexpr uint32_t kSeqConfig = kFileBody + 3 * kSeqPhaseBytes;                      // 1224064
inline constexpr uint32_t kSimStates = 6;
inline constexpr uint32_t kSimPhaseBytes = kSimSets * kSimStates * sizeof(SimStepRecord);  // 624
inline constexpr uint32_t kSimConfig = kFileBody + 3 * kSimPhaseBytes;                     // 1936
// Within the SEQ configuration block: 16 factors, then u16 range, kind, ACV unit, wiring.
inline constexpr uint32_t kSeqCfgRange = 64, kSeqCfgKind = 66, kSeqCfgUnit = 68, kSeqCfgWiring = 80;
inline constexpr uint32_t kSeqCfgSize = 256;
// Within the SIM configuration block: u16 ACV unit, range, reserved, wiring.
inline constexpr uint32_t kSimCfgUnit = 0, kSimCfgRange = 2, kSimCfgWiring = 6, kSimCfgSize = 32;
inline constexpr uint16_t kSeqFileVersion = 5, kSimFileVersion = 4;

inline uint32_t SeqRecordOffset(int phase, int table, int step) {
    return kFileBody + phase * kSeqPhaseBytes + (table * kSeqSteps + step) * sizeof(SeqStepRecord);
}
inline uint32_t SimRecordOffset(int phase, int set, int state) {
    return kFileBody + phase * kSimPhaseBytes + (set * kSimStates + state) * sizeof(SimStepRecord);
}

}  // namespace engine
