#pragma once
// The record kept for every instrument setting, and the row of the constant default tables it is built from.
#include <cstdint>

struct ParamRec {
    int32_t value;         // the setting, in units of `scale` (or a choice index)
    int32_t max;           // upper limit in force
    int32_t min;           // lower limit in force
    int32_t decimals;      // decimal places shown
    int32_t digits;        // digits of the edit field
    int32_t defaultMax;    // upper limit as built from the default table
    int32_t defaultMin;    // lower limit as built from the default table
    int32_t def1;          // value of the "DEF1" soft key
    int32_t def2;          // value of the "DEF2" soft key
    int32_t defaultValue;  // default value
    int32_t state;         // on/off state (ON/OFF phase angles, phase angle of L1)
    float peakFactor;      // AC voltage records: the peak factor of the record's waveform; else 0
    float scale;           // factor from value to the displayed number (0 for choice items)
    const char* unitText;  // unit shown after the number
};

struct ParamDefaultRow {
    int32_t value;
    int32_t max;
    int32_t min;
    float scale;
    const char* unit;
    int16_t decimals;
    int16_t digits;
};

// value/defaultValue, max/defaultMax, min/defaultMin, decimals, digits, scale and unit from the row;
// def1 := 0; def2, state and peakFactor untouched.
void ParamRecInit(ParamRec* record, ParamDefaultRow row);
// When the record's value is outside its default limits, sets it to the default value.
void ParamClampToDefault(ParamRec* record);
// As ParamRecInit with value, max and min (and their default words) multiplied by factor (saturating).
void ParamRecInitScaled(ParamRec* record, ParamDefaultRow row, int32_t factor);
