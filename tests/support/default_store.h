#pragma once
// A factory-default parameter store on a fresh instrument root, for the tests of what works on it.
#include <cstdint>

#include "core/params/param_rec.h"
#include "tests/support/temp_root.h"

namespace test {

// The parameter store as a fresh unit of the model type has it (what DefaultStore builds on its root).
void DefaultSettings(uint32_t model = 2);

// The power stage and register bus reset and DefaultSettings(model), on whatever root is in use.
void FreshStore(uint32_t model = 2);

class DefaultStore {
  public:
    // Builds the defaults of the model type (2: a single 6 kVA unit) in 3P4W, AC-INT, range 200 V, SIN on
    // every phase, line L1 selected, edit-all off, no group marked.
    explicit DefaultStore(uint32_t model = 2);
    testsupport::TempRoot root;
};

// A voltage-class record by explicit place (ids 47, 51, 8, 10, 11), as the explicit accessor reaches it.
ParamRec VoltRec(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set, uint32_t phase);
void PutVoltRec(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set, uint32_t phase,
                const ParamRec& rec);
// A record as paramGetRecord reads it.
ParamRec ReadRecord(uint32_t id, uint32_t unit);
// A frequency-class record (ids 12, 16, 19) of an output mode.
ParamRec FreqRec(uint32_t id, uint32_t mode, uint32_t phase);
void PutFreqRec(uint32_t id, uint32_t mode, uint32_t phase, const ParamRec& rec);

}  // namespace test
