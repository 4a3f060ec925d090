#pragma once
// How each register carries its value: the encodings of the integer writers, as constant tables of
// register ranges, and the conversions themselves (the SEQ/SIM read-back compares against the same ones).
#include <cstdint>

namespace regbus {

enum class Encoding : uint8_t {
    kNone,          // nothing is written
    kInt,           // the 32 bits of v
    kFloat,         // float v
    kFloatDiv10,    // float v / 10
    kFloatDiv100,   // float v / 100
    kFloatDiv1000,  // float v / 1000
    kIntMul100,     // v * 100, unsigned
    kIntMul10000,   // v * 10000, unsigned
    kDuty4096,      // v (0.1 %) as a fraction of 4096, truncated toward zero
    kOne,           // 1 whatever v is (the apply strobe)
};

struct EncodingRange {
    uint16_t first;
    uint16_t last;
    Encoding encoding;
};

// Encoding of BusReg_WriteIntEx and of BusReg_WriteStep by register; kNone for any register not listed.
Encoding WriteIntExEncoding(uint32_t reg);
Encoding StepEncoding(uint32_t reg);

// The 32-bit pattern sent for v.
uint32_t Encode(Encoding encoding, int32_t v);

float FloatDiv(int32_t v, int32_t divisor);  // float v / divisor, as the power stage receives it
int32_t DutyTo4096(int32_t duty);            // duty in 0.1 % -> 4096 = 100 %, truncated toward zero

// Integer registers of BusReg_ReadInt (returned raw); every other register is read as a float.
bool IsIntegerReadRegister(uint32_t reg);

}  // namespace regbus
