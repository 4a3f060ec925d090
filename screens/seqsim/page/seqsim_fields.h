#pragma once
// The field rows of the SEQUENCE and SIMULATE pages, in the knob's order: the selection state of each
// field, its edit state, its label, how its value reads and which getter gives it. Which rows a step or
// state shows is the panel keys' own rule. Constant tables.
#include <cstdint>
#include <span>

namespace seqsim {

// How a field's value is written on the page.
enum class Fmt : uint8_t {
    kStep,   // "%03d"
    kTime,   // 0.1 ms as seconds with four decimals
    kOnOff,  // 0 OFF, 1 ON
    kFixed,  // ON/OFF phase enables: 0 Free, 1 Fixed
    kSync,   // 0 LL, 1 LH, 2 HL, 3 HH
    kCount,  // plain integer
    kTerm,   // CONT, END, HOLD
    kAcVolt,  // 0.01 V, Vrms or Vpp
    kVolt,    // 0.01 V
    kMode,   // CT, KP, SP
    kFreq,   // 0.01 Hz
    kWave,   // SIN, SQU, TRI, ARBn
    kDuty,   // 0.1 %
    kAngle,  // 0.1 degree
    kState,  // the SIM state's name
};

struct Field {
    uint16_t selState;
    uint16_t editState;
    int8_t phase;  // 0-2; -1 for a field of the whole step or state
    const char* label;
    Fmt fmt;
    int32_t (*get)(int phase);
};

std::span<const Field> SeqFields();
std::span<const Field> SimFields();

// The texts of a value: the number or name and its unit ("" when none). Returns whether the value is a
// number whose digits an editor's cursor can mark. vpp: an AC voltage held in Vpp.
bool FormatValue(Fmt fmt, int32_t value, bool vpp, char* text, int textSize, const char** unit);
// The SIM state names, 0 Initial .. 5 Normal2 ("" outside).
const char* SimStateName(uint32_t state);

}  // namespace seqsim
