#include "scpi/handlers/data/data_slot.h"

#include "scpi/handlers/scpi_handler.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {

uint32_t DataSlotParam(const ScpiInterface* ifc, uint32_t i, const DataSlotRule& rule, int32_t* index) {
    int32_t value = 0;
    int64_t at = 0;
    if (scpiGetInt(ifc, i, &value) == 0) {
        at = static_cast<int64_t>(value) - rule.first;
    } else if (rule.choice && scpiGetChoice(ifc, i, &value) == 0) {
        at = value;
    } else {
        return kScpiErrParameter;
    }
    if (at < 0 || at >= rule.count) return kScpiErrDataOutOfRange;
    *index = static_cast<int32_t>(at);
    return 0;
}

}  // namespace scpi
