#include "tests/core/param_fixture.h"

#include "core/params/param_init.h"
#include "core/params/param_store.h"
#include "core/regbus/regbus.h"
#include "core/system/model_table.h"
#include "platform/power_stage_sim.h"

namespace test {

InstrumentEnv::InstrumentEnv() {
    ResetPowerStage();
    g_BusHold = 0;
}

void ResetPowerStage() {
    plat::PowerStage().Reset();
    BusMapInit();
}

void BuildDefaults(uint32_t modelType) {
    g_ModelId = modelType;
    core::ParamStoreReset();
    SetDefaultAll();
}

ParamRec Read(uint32_t id, uint32_t unit) {
    ParamRec r;
    paramRW(0, id, &r, unit);
    return r;
}

}  // namespace test
