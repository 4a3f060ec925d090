#pragma once
// The SEQ/SIM engine on the simulated power stage: the factory default of model type 1 (frequency maximum
// 2000.00 Hz), the default SEQ steps and SIM states, SEQ mode, the step source and read-back checks wired.
#include "core/regbus/reg_step.h"
#include "core/system/state/service_flags.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/run/seqsim_download.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/run/seqsim_verify.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "tests/core/ctrl_fixture.h"

namespace test {

struct SeqSimEnv {
    SeqSimEnv();
    ~SeqSimEnv();
    CtrlEnv ctrl{1};
};
// SIM mode with the 200V set selected.
void EnterSim();
// The word the stage holds in a step register for a step copy.
inline uint32_t StepWord(uint32_t reg, uint32_t step) {
    return Stage().Stored(reg, step);
}

}  // namespace test
