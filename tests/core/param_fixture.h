#pragma once
// Helpers of the parameter store tests: build the store for a model type and reach records directly.
#include <cstdint>

#include "core/param_rec.h"

namespace test {

// Sets the model type and builds the default store for it, with the instrument in AC+DC-INT, range code 0,
// the power stage's AUTO range low and nothing locked.
void BuildDefaults(uint32_t modelType);

// Reads a record with paramRW.
ParamRec Read(uint32_t id, uint32_t unit);

}  // namespace test
