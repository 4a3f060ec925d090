#pragma once
// Re-checks of the settings' limits after a setting, a limit, the range or the waveform changed. They
// only rewrite records of the parameter store (maximum and minimum words, and where needed the limits
// themselves); the control task takes the results to the power stage.
//
// "All" below is the panel's edit-all-phases mode (g_EditAllPhases = 1); without it the checks work on
// the selected phase. Range areas are 0 (the 100 V ranges) and 1 (all others).
#include <cstdint>

#include "core/params/param_rec.h"

// In place: maximum within the default maximum, minimum within [default minimum, maximum], and a value
// outside the default limits becomes 0.
void ParamRecClamp(ParamRec* record);

// The frequencies of output mode 0-9 against the frequency limits (parameters 16 and 19); nothing for the
// modes without a frequency of their own (DC-INT, the external and the synchronised modes).
void FreqLimitCheck(uint32_t mode);

// The AC voltage maxima of the AC-only modes against the voltage limit (parameter 8), both record sets.
void VoltLimitCheck(uint32_t area);
// The AC and DC voltages of the AC+DC and DC modes against the peak voltage limits (parameters 10, 11).
void VpkLimitCheck(uint32_t area);
// Full re-check of the voltage settings of output mode `mode` in the area, all phases, all waveforms: the
// voltage in force is carried over every waveform of its record set, then everything is held within its
// limits.
void VoltSettingCheckAll(uint32_t mode, uint32_t area);
// The same for one phase and its current waveform.
void VoltSettingCheckPhase(uint32_t mode, uint32_t area, uint32_t phase);

// The AC voltage ceilings of waveforms with a high crest factor (above 1.42), for every phase, area and
// waveform of the modes with an internal AC waveform.
void ArbAcvLimitUpdateAll();

// The voltage ranges allowed for one SEQUENCE or SIMULATE step.
enum SeqStepLimitWord : int {
    kStepAcvMax,
    kStepAcvMin,
    kStepDcvMax,
    kStepDcvMin,
    kStepAcvRecMax,
    kStepAcvRecMin,
    kStepDcvRecMax,
    kStepDcvRecMin,
    kStepOutOfRange,  // 1 when the given pair does not fit the limits
    kStepLimitWords
};
// kind 0 AC+DC, 1 AC, 2 DC; area 0 or 1; waveform 1-256 (step numbering); ACV and DCV in 0.01 V. Words not
// computed stay 0; a kind or waveform outside its range reports out of range.
void SeqStepVoltLimits(int32_t* result, uint32_t kind, uint32_t area, uint32_t waveform, int32_t acv,
                       int32_t dcv);
