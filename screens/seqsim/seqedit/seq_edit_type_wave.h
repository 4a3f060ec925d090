#pragma once
// The mode-type, waveform and duty editors of a SEQUENCE step. Each takes one key event for its field at
// phase 0-2; back is the field's selection-state entry, which the editor returns through.
#include <cstdint>

// A mode type: 0 CT, 1 KP (not on step 0), 2 SP.
struct SeqTypeRow {
    int32_t (*stored)(int phase);
    // The check of a change from CT to KP or SP against the output limits (true: it does not fit); none for
    // the frequency's type.
    bool (*conflict)(int32_t type, int phase);
    uint32_t (*write)(int32_t type, int phase);
};
void SeqEdit_TypeKey(const SeqTypeRow& row, int phase, void (*back)(int phase), uint32_t* ev);

// The waveform 1-256; a new waveform re-checks the step's voltages against its limits.
void SeqEdit_WaveKey(int phase, void (*back)(int phase), uint32_t* ev);
// The square wave's duty in 0.1 %, its limits and steps following the phase's frequency.
void SeqEdit_DutyKey(int phase, void (*back)(int phase), uint32_t* ev);
