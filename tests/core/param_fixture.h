#pragma once
// Helpers of the parameter store tests and benchmarks.
#include <cstdint>

#include "core/params/param_rec.h"
#include "tests/support/temp_root.h"

namespace test {

// What a factory default needs around it: a fresh instrument root (no interface card) and a freshly
// powered simulated power stage with the bus mapped.
class InstrumentEnv {
  public:
    InstrumentEnv();
    testsupport::TempRoot root;
};

// Powers the simulated stage up afresh and maps the bus again.
void ResetPowerStage();

// Sets the model type and runs the factory default for it, leaving the panel flags clear and the power
// stage's AUTO range low.
void BuildDefaults(uint32_t modelType);

// Reads a record with paramRW.
ParamRec Read(uint32_t id, uint32_t unit);

}  // namespace test
