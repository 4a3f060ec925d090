// Output mode, trigger width, phase angles, the factor table and the frequency reading: the accessors whose
// register or value depends on the output settings.
#include "core/control/setting_accessors.h"

#include <cstddef>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/settings/angle_bounds.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/reg_map.h"
#include "platform/stage/wiring_codes.h"

namespace {

// Stage codes of output modes 0-9: AC+DC-INT, AC-INT, DC-INT, AC+DC-EXT, AC-EXT, AC+DC-ADD, AC-ADD,
// AC+DC-SYNC, AC-SYNC, AC-VCA.
constexpr uint32_t kOutputModeCodes[] = {3, 2, 1, 7, 6, 15, 14, 19, 18, 66};
constexpr uint32_t kSeqSimModeCode = 32;
constexpr int kFloatTableEntries = 256;

// The trigger output has no meaning without an internal AC waveform or while SEQ/SIM drives it.
bool TrigWidthForcedZero(uint32_t mode) {
    return SeqSimIsActive() != 0 || mode == kModeDcInt || mode == kModeAcDcExt || mode == kModeAcExt;
}

}  // namespace

namespace regbus {

uint32_t OutputModeCode(uint32_t mode) {
    return mode < std::size(kOutputModeCodes) ? kOutputModeCodes[mode] : mode;
}

int32_t PhaseAngleWord(int32_t angle, uint32_t mode, int32_t syncPhase) {
    int32_t word = settings::kAngleTurn - angle;
    if ((mode == kModeAcDcSync || mode == kModeAcSync) && syncPhase > 0) {
        word += syncPhase;
        if (word > settings::kAngleMax) word -= settings::kAngleTurn;
    }
    return word;
}

}  // namespace regbus

int BusReg_SetOutputMode(uint32_t mode) {
    // The mode write answers for both: the width write passes the same hold, so it is never refused alone.
    if (TrigWidthForcedZero(mode)) (void)BusReg_WriteIntEx(0, regmap::kTrigWidth, 0);
    uint32_t code = SeqSimIsActive() != 0 ? kSeqSimModeCode : regbus::OutputModeCode(mode);
    return BusReg_WriteIntEx(0, regmap::kOutputMode, static_cast<int32_t>(code));
}

int BusReg_SetTrigWidth(int32_t v) {
    return BusReg_WriteIntEx(0, regmap::kTrigWidth, TrigWidthForcedZero(GetOutputMode()) ? 0 : v);
}

int BusReg_SetPhaseAngleL2(int32_t angle) {
    // 1P3W is one split phase: L2 is always opposite L1, whatever angle the store keeps for 3P4W.
    constexpr int32_t kSplitPhaseAngle = 1800;
    if (GetPhaseMode() == kWiring1P3W) angle = kSplitPhaseAngle;
    return BusReg_WriteIntEx(0, regmap::kPhaseAngleL2,
                             regbus::PhaseAngleWord(angle, GetOutputMode(), GetSyncPhase()));
}

int BusReg_SetPhaseAngleL3(int32_t angle) {
    return BusReg_WriteIntEx(0, regmap::kPhaseAngleL3,
                             regbus::PhaseAngleWord(angle, GetOutputMode(), GetSyncPhase()));
}

int BusReg_WriteFloatTable() {
    for (int w = 0; w < kFloatTableEntries; ++w) {
        BusReg_WriteFloatAt(regmap::kFloatTable, static_cast<uint32_t>(w) + 1u, GetWaveCrestFactor(w));
    }
    return 0;
}

float BusReg_GetFreq() {
    // Selection 3 takes the frequency of the synchronisation input.
    return BusReg_ReadFloat(GetMainSig() == 3 ? regmap::kSyncInputFreq : regmap::kMeasFreq);
}
