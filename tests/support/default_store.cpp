#include "tests/support/default_store.h"

#include "core/params/access/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/model_table.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/power_stage_sim.h"

namespace test {

DefaultStore::DefaultStore(uint32_t model) {
    FreshStore(model);
}

void FreshStore(uint32_t model) {
    plat::PowerStage().Reset();
    BusMapInit();
    regbus::BusReset();
    DefaultSettings(model);
}

void DefaultSettings(uint32_t model) {
    core::ParamStoreReset();
    g_ModelId = model;
    SetDefaultAll();
    g_PhaseMode = 0;
    g_EditAllPhases = 0;
    g_OutputModeIdx = 1;
    g_ParamStore.rangeCode[1] = 1;
    g_OutputFlags = 0;
    ClearParamGroupMarks();
    for (uint32_t p = 0; p < 3; ++p)
        g_ParamStore.unit[p].waveform.value = 16;
}

ParamRec VoltRec(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set, uint32_t phase) {
    ParamRec r;
    paramAccessByUnit(Access::kRead, id, &r, {mode, area, 0, wave, set, phase});
    return r;
}

void PutVoltRec(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set, uint32_t phase,
                const ParamRec& rec) {
    ParamRec r = rec;
    paramAccessByUnit(Access::kWrite, id, &r, {mode, area, 0, wave, set, phase});
}

ParamRec ReadRecord(uint32_t id, uint32_t unit) {
    ParamRec r;
    paramGetRecord(id, &r, unit);
    return r;
}

ParamRec FreqRec(uint32_t id, uint32_t mode, uint32_t phase) {
    ParamRec r;
    paramAccess(Access::kRead, id, &r, {mode, 1, 16, 1, phase});
    return r;
}

void PutFreqRec(uint32_t id, uint32_t mode, uint32_t phase, const ParamRec& rec) {
    ParamRec r = rec;
    paramAccess(Access::kWrite, id, &r, {mode, 1, 16, 1, phase});
}

}  // namespace test
