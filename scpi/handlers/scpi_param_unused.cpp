// Which settings have no meaning in which output mode: a table of id groups and mode masks, checked in
// order; the first group that names the id decides.
#include <cstdint>
#include <initializer_list>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/output_flags.h"
#include "scpi/handlers/scpi_refusals.h"

namespace {

constexpr uint16_t Modes(std::initializer_list<int> modes) {
    uint16_t mask = 0;
    for (int m : modes)
        mask = static_cast<uint16_t>(mask | (1u << m));
    return mask;
}

enum Extra : uint8_t { kNone, kUnbalance };

struct UnusedRow {
    uint8_t ids[4];  // 0 ends the list
    uint16_t modes;  // bit n: unused in output mode n
    Extra extra;     // also unused in this case
};

constexpr UnusedRow kUnused[] = {
    {{kParamFreq, kParamFreqLimitHi, kParamFreqLimitLo}, Modes({2, 3, 4, 7, 8}), kNone},
    {{kParamOnPhase, kParamOnPhaseAll, kParamOffPhase, kParamOffPhaseAll}, Modes({2, 3, 4}), kNone},
    {{kParamGain, kParamGain2}, Modes({0, 1, 2, 7, 8}), kNone},
    {{kParamMainSig}, Modes({0, 1, 2, 3, 4, 5, 6, 9}), kNone},
    {{kParamMainSrc}, Modes({0, 1, 2, 7, 8}), kNone},
    {{kParamVoltLimit}, Modes({0, 2, 3, 4, 5, 7, 9}), kNone},
    {{kParamVpkMax, kParamVpkMin}, Modes({1, 3, 4, 6, 8, 9}), kNone},
    {{kParamAcv}, Modes({2, 3, 4, 9}), kNone},
    {{kParamAcvLine}, Modes({2, 3, 4, 9}), kUnbalance},
    {{kParamDcv, kParamDcv2}, Modes({1, 3, 4, 6, 8, 9}), kNone},
    {{kParamDcvLine}, Modes({1, 2, 3, 4, 6, 8, 9}), kUnbalance},
};

constexpr uint16_t kDutyUnused = Modes({2, 3, 4});

bool Names(const UnusedRow& row, uint32_t id) {
    for (uint8_t i : row.ids)
        if (i != 0 && i == id) return true;
    return false;
}

}  // namespace

int ParamUnusedInMode(uint32_t id) {
    const uint32_t mode = GetOutputMode();
    const bool unbalance = GetPhaseBalanceMode() == 0;
    for (const UnusedRow& row : kUnused) {
        if (!Names(row, id)) continue;
        if ((row.modes >> mode) & 1u) return 1;
        if (row.extra == kUnbalance && unbalance) return 1;
        break;
    }
    if (SeqSimIsActive()) return 1;
    if (id == kParamMeasItem7)
        return !unbalance && GetWaveformSel() == static_cast<int32_t>(kWaveSin) ? 0 : 1;
    if (id == kParamWaveDuty) return (kDutyUnused >> mode) & 1u;
    return 0;
}
