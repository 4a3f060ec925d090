#include "core/params/access/impedance_copy.h"

#include "core/params/param_store.h"

void CopyImpedanceToOtherPhases(uint32_t state) {
    uint32_t first;
    if (state == kParamInductanceL1Row || state == kParamInductanceL2Row || state == kParamInductanceL3Row) {
        first = kParamInductanceL1;
    } else if (state == kParamResistanceL1Row || state == kParamResistanceL2Row ||
               state == kParamResistanceL3Row) {
        first = kParamResistanceL1;
    } else {
        return;
    }
    // A row's setting is the id after it; the three phases' settings are two ids apart.
    const uint32_t source = state + 1;
    const int32_t value = paramGetValue(source, 0);
    for (uint32_t id = first; id <= first + 4; id += 2)
        if (id != source) paramPutValue(id, value, 0);
}
