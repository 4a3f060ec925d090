#include "scpi/handlers/scpi_setting_value.h"

#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"

namespace scpi {

uint32_t ChoiceOrNumber(const ScpiInterface* ifc, uint32_t i, int32_t* value) {
    if (scpiGetChoice(ifc, i, value) == 0 || scpiGetInt(ifc, i, value) == 0) return 0;
    return kScpiErrParameter;
}

uint32_t ChoiceOrNumberUpTo(const ScpiInterface* ifc, uint32_t i, int32_t max, int32_t* value) {
    if (const uint32_t row = ChoiceOrNumber(ifc, i, value); row != 0) return row;
    return *value < 0 || *value > max ? kScpiErrDataOutOfRange : 0;
}

int LimitChoice(const ScpiInterface* ifc, uint32_t i, int32_t min, int32_t max, int32_t* value) {
    int32_t choice;
    if (scpiGetChoice(ifc, i, &choice) != 0) return 0;
    if (choice != kChoiceMin && choice != kChoiceMax) return -1;
    *value = choice == kChoiceMax ? max : min;
    return 1;
}

uint32_t NumberValue(const ScpiInterface* ifc, uint32_t i, double* value) {
    if (int32_t integer; scpiGetInt(ifc, i, &integer) == 0) {
        *value = integer;
        return 0;
    }
    return scpiGetReal(ifc, i, value) == 0 ? 0 : kScpiErrParameter;
}

}  // namespace scpi
