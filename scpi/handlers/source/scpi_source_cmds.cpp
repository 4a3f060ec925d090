// The [SOURce:] settings served by the generic numeric handler.
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_numeric_param.h"

namespace scpi {
namespace {
constexpr uint32_t kParamFreq = 12, kParamAcv = 47;
}  // namespace

int CmdSourFreq(ScpiInterface* ifc) {
    return scpiNumericParam(ifc, kParamFreq);
}

int CmdSourVolt(ScpiInterface* ifc) {
    return scpiNumericParam(ifc, kParamAcv);
}

}  // namespace scpi
