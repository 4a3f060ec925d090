#include "param_fixture.h"

#include "core/model_table.h"
#include "core/param_init.h"
#include "core/param_store.h"

namespace test {

void BuildDefaults(uint32_t modelType) {
    g_ModelId = modelType;
    g_ModelClass = modelType - 1;
    g_OutputModeIdx = 0;
    g_ParamFlags = 0;
    core::g_OutputStatusMirror = 0;
    for (auto& code : g_ParamStore.rangeCode)
        code = 0;
    ParamTableInit();
}

ParamRec Read(uint32_t id, uint32_t unit) {
    ParamRec r;
    paramRW(0, id, &r, unit);
    return r;
}

}  // namespace test
