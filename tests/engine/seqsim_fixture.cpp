#include "tests/engine/seqsim_fixture.h"

#include "core/regbus/bus_transfer.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "screens/seqsim/seqsim_prepare.h"
#include "screens/seqsim/sim/sim_prepare.h"

namespace test {

SeqSimEnv::SeqSimEnv() {
    engine::SeqSimDataReset();
    BusReg_SetStepSource(SeqGetAbsStep);
    SeqSimSetCheckHooks({.seq = Seq_StopOrReset, .sim = Sim_AfterFieldWrite});
    SeqMem_ResetToSlotDefaults(0);
    Sim_LoadDefaultSteps();
    SeqSimSetMode(1);
    SeqSimSelectTables();
    ClearTrace();
}

SeqSimEnv::~SeqSimEnv() {
    SeqSimSetCheckHooks({});
    BusReg_SetStepSource(nullptr);
    engine::SeqSimDataReset();
}

void EnterSim() {
    SeqSimSetMode(2);
    SeqSimSelectTables();
    g_SeqSimBlock[0].simOptions = 1u << 1;  // the 200V range
}

}  // namespace test
