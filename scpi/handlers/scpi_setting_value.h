#pragma once
// Reading the value of a setting command: a choice or a number (the choice's value or the integer,
// within 0..max), or MINimum/MAXimum standing for a limit.
#include <cstdint>

struct ScpiInterface;

namespace scpi {

// The MINimum and MAXimum choices of a numeric parameter.
enum : int32_t { kChoiceMin = 0, kChoiceMax = 1 };

// Parameter i as a limit: 1 when it is MINimum or MAXimum (value: min or max), 0 when it is no choice,
// -1 when it is another choice (the caller's parameter error).
int LimitChoice(const ScpiInterface* ifc, uint32_t i, int32_t min, int32_t max, int32_t* value);
// 0 and parameter i as a number when it is an integer or a real; else the parameter error row.
uint32_t NumberValue(const ScpiInterface* ifc, uint32_t i, double* value);

// 0 and the value of parameter i when it is a choice or an integer; else the parameter error row.
uint32_t ChoiceOrNumber(const ScpiInterface* ifc, uint32_t i, int32_t* value);
// As ChoiceOrNumber, and a value below 0 or above max gives the out-of-range row: a negative number
// would otherwise index before the setting's tables.
uint32_t ChoiceOrNumberUpTo(const ScpiInterface* ifc, uint32_t i, int32_t max, int32_t* value);

}  // namespace scpi
