#pragma once
// How each home setting's edit state (8-89) takes its keys: one row per group of states. The checks a
// stored value asks for next are the setting procedure's (core/params/settings/setting_write.h).
#include <cstdint>

namespace screens::fields {

enum class Field : uint8_t {
    kNumeric,  // the generic field operations with the state as the setting's id
    kKind,     // a kind selector: the enter key opens the limit of the kind chosen
    kRange,    // the range soft keys
    kChoice,   // a working value applied on the enter key
    kDuty,     // the duty: the generic knob, its own enter key
};
// The message of a value held at a limit.
enum class Limited : uint8_t { kNone, kVoltage, kFrequency };
// Angles that take their keys only while switched on; the L1 angle takes no knob at all.
enum class Gate : uint8_t { kNone, kAngleOn, kBalance };
enum class Choice : uint8_t { kNone, kWave, kLineView, kMode, kSig, kSrc };

struct FieldRow {
    uint32_t first, last;
    Field field;
    Limited limited = Limited::kNone;
    Gate gate = Gate::kNone;
    Choice choice = Choice::kNone;
    int8_t knobSign = 1;     // the knob turned up raises (+1) or lowers (-1) a choice
    bool freqFirst = false;  // the frequencies are held within their limits before every key
};

inline constexpr FieldRow kFieldRows[] = {
    {.first = 8, .last = 8, .field = Field::kNumeric},                              // KeyProcess_VoltLimit
    {.first = 9, .last = 9, .field = Field::kKind},                                 // KeyProcess_VpkKind
    {.first = 10, .last = 11, .field = Field::kNumeric},                            // KeyProcess_VpkMax, _VpkMin
    {.first = 12, .last = 14, .field = Field::kNumeric, .limited = Limited::kFrequency,
     .freqFirst = true},                            // KeyProcess_FreqValue
    {.first = 15, .last = 15, .field = Field::kKind},  // KeyProcess_FreqLimit_Kind
    {.first = 16, .last = 21, .field = Field::kNumeric},                            // KeyProcess_FreqLimit_Hi, _Lo
    {.first = 22, .last = 22, .field = Field::kRange},                                // KeyProcess_VoltRange
    {.first = 23, .last = 23, .field = Field::kKind},                                 // KeyProcess_IpkKind
    {.first = 24, .last = 29, .field = Field::kNumeric},                              // KeyProcess_IpkMax, _IpkMin
    {.first = 30, .last = 33, .field = Field::kChoice, .choice = Choice::kWave},      // KeyProcess_WaveShape1 ...
    {.first = 34, .last = 37, .field = Field::kDuty},                                 // KeyProcess_WaveDuty ...
    {.first = 45, .last = 45, .field = Field::kChoice, .choice = Choice::kLineView, .knobSign = -1},  // _PHASEMode
    {.first = 46, .last = 46, .field = Field::kChoice, .choice = Choice::kMode, .knobSign = -1},  // KeyProcess_MainMode
    {.first = 47, .last = 50, .field = Field::kNumeric, .limited = Limited::kVoltage},  // KeyProcess_ACV_Value ...
    {.first = 51, .last = 57, .field = Field::kNumeric, .limited = Limited::kVoltage},
    {.first = 58, .last = 63, .field = Field::kNumeric},                               // KeyProcess_Curr ...
    {.first = 64, .last = 67, .field = Field::kNumeric, .gate = Gate::kAngleOn},       // KeyProcess_OnPhase ...
    {.first = 68, .last = 71, .field = Field::kNumeric, .gate = Gate::kAngleOn},       // KeyProcess_OffPhase ...
    {.first = 72, .last = 72, .field = Field::kNumeric, .gate = Gate::kBalance},       // KeyProcess_Balance
    {.first = 73, .last = 80, .field = Field::kNumeric},  // KeyProcess_Balance_2, _3, KeyProcess_Gain ...
    {.first = 81, .last = 83, .field = Field::kChoice, .choice = Choice::kSig},  // KeyProcess_MainSIG ...
    {.first = 84, .last = 88, .field = Field::kChoice, .choice = Choice::kSrc},  // KeyProcess_MainSRC
    {.first = 89, .last = 89, .field = Field::kNumeric},                         // KeyProcess_SycPhs
};

constexpr const FieldRow* FindFieldRow(uint32_t state) {
    for (const FieldRow& row : kFieldRows)
        if (state >= row.first && state <= row.last) return &row;
    return nullptr;
}

// The fields that are not the generic pattern (field_choice_keys.cpp).
void KindField(uint32_t state, uint32_t* ev);
void RangeField(uint32_t* ev);
void ChoiceField(const FieldRow& row, uint32_t* ev);
void DutyField(uint32_t* ev);

}  // namespace screens::fields
