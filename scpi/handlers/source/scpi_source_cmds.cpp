// The [SOURce:] settings served by the generic numeric handler.
#include "core/params/param_store.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_numeric_param.h"

namespace scpi {
int CmdSourFreq(ScpiInterface* ifc) {
    return scpiNumericParam(ifc, kParamFreq);
}

int CmdSourVolt(ScpiInterface* ifc) {
    return scpiNumericParam(ifc, kParamAcv);
}

}  // namespace scpi
