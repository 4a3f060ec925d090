#pragma once
// Reading the value of a setting command whose parameter is a choice or a number: the choice's value or
// the integer, within 0..max.
#include <cstdint>

struct ScpiInterface;

namespace scpi {

// 0 and the value of parameter i when it is a choice or an integer; else the parameter error row.
uint32_t ChoiceOrNumber(const ScpiInterface* ifc, uint32_t i, int32_t* value);
// As ChoiceOrNumber, and a value below 0 or above max gives the out-of-range row: a negative number
// would otherwise index before the setting's tables.
uint32_t ChoiceOrNumberUpTo(const ScpiInterface* ifc, uint32_t i, int32_t max, int32_t* value);

}  // namespace scpi
