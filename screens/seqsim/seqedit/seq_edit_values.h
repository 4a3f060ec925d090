#pragma once
// The AC voltage, DC voltage and frequency editors of a SEQUENCE step (one row each, the three phases
// share it). Beyond the common editor pattern: limits that follow the range, the waveform and the other
// voltage; a digit cursor that keeps its decade across the display bands; the DEF1/DEF2 memories of the
// home settings on soft keys 1 and 2 (a long press stores them).
#include <cstdint>

struct SeqValueRow {
    int32_t (*lower)(int phase);
    int32_t (*upper)(int phase);     // of the knob and soft key 3
    int32_t (*defUpper)(int phase);  // a recalled DEF1/DEF2 above it is not taken
    // The knob's step and the cursor positions by the working value and the record's digit count.
    int32_t (*stepScale)(int32_t working);
    int32_t (*positions)(int32_t working, int32_t digits);
    bool frequency;  // the frequency band rules with the record's digit count, else the voltage rules
    uint32_t defId;  // the home setting whose DEF1/DEF2 are used
    int32_t message;
    int32_t (*write)(int32_t value, int phase);
    int32_t (*l2Value)(int32_t value);  // what L2 gets when L1 writes in 1P3W
    int (*verify)(int32_t step, int phase);
};

extern const SeqValueRow kSeqAcvRow, kSeqDcvRow, kSeqFsetRow;

// One key event for the field of the row at phase 0-2; back is the field's selection-state entry.
void SeqEdit_ValueKey(const SeqValueRow& row, int phase, void (*back)(int phase), uint32_t* ev);
