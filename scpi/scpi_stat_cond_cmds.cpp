// STATus:<group>:CONDition? of the four register groups: the condition word the menu/control thread last
// published into the channel's status block.
#include "scpi/scpi_handler.h"
#include "scpi/scpi_handlers.h"
#include "scpi/scpi_interface.h"
#include "scpi/scpi_status.h"

namespace scpi {
namespace {
using GroupGet = int (*)(const ScpiStatusBlock*, uint32_t);

int CondQuery(ScpiInterface* ifc, GroupGet get) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    WriteSignedReply(ifc, get(ifc->status, kRegCond));
    return 0;
}
}  // namespace

int CmdStatOperCond(ScpiInterface* ifc) {
    return CondQuery(ifc, scpiOperRegGet);
}
int CmdStatQuesCond(ScpiInterface* ifc) {
    return CondQuery(ifc, scpiQuesRegGet);
}
int CmdStatWarnCond(ScpiInterface* ifc) {
    return CondQuery(ifc, scpiWarnRegGet);
}
int CmdStatLockCond(ScpiInterface* ifc) {
    return CondQuery(ifc, scpiLockRegGet);
}

}  // namespace scpi
