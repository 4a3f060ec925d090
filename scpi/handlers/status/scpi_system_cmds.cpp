// SYSTem commands of the error queue.
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"

namespace scpi {

int CmdSystErr(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    const ScpiErrorQueue& q = ifc->errq;
    int32_t index = q.count > 0 ? q.index[q.readIdx % kScpiErrQueueSize] : 0;
    if (index < 0 || static_cast<uint32_t>(index) >= kScpiErrCount) index = 0;
    // Taken from the queue only once its reply is staged, so that a refused reply loses no error.
    if (WriteTextReply(ifc, g_ScpiErrTable[index]) >= 0) scpiErrorQueuePopIndex(&ifc->errq);
    return 0;
}

}  // namespace scpi
