#include "scpi/handlers/data/data_manage_slot.h"

#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {

uint32_t DataSlot(const ScpiInterface* ifc, uint32_t i, const DataSlotRange& range, int32_t* slot,
                  bool* byChoice) {
    int32_t value = 0;
    if (byChoice != nullptr) *byChoice = false;
    if (scpiGetChoice(ifc, i, &value) == 0) {
        if (value != kChoiceMin && value != kChoiceMax)
            return range.otherChoiceOutOfRange ? kScpiErrDataOutOfRange : kScpiErrParameter;
        *slot = value == kChoiceMax ? range.last : range.first;
        if (byChoice != nullptr) *byChoice = true;
        return 0;
    }
    if (scpiGetInt(ifc, i, &value) != 0) return kScpiErrParameter;
    if (value < range.first || value > range.last) return kScpiErrDataOutOfRange;
    *slot = value;
    return 0;
}

}  // namespace scpi
