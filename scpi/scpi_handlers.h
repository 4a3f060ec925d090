#pragma once
// The command handlers, by the command they serve; the handler tables index them by command id.
struct ScpiInterface;

namespace scpi {

// Row 0 of both tables and every id whose handler is not there: "-113,"Undefined header"".
int CmdUndefined(ScpiInterface* ifc);

// IEEE 488.2 common commands.
int CmdCls(ScpiInterface* ifc);
int CmdEse(ScpiInterface* ifc);
int CmdEsr(ScpiInterface* ifc);
int CmdIdn(ScpiInterface* ifc);
int CmdOpc(ScpiInterface* ifc);
int CmdStb(ScpiInterface* ifc);

// STATus:OPERation|QUEStionable|WARNing|LOCK:CONDition?
int CmdStatOperCond(ScpiInterface* ifc);
int CmdStatQuesCond(ScpiInterface* ifc);
int CmdStatWarnCond(ScpiInterface* ifc);
int CmdStatLockCond(ScpiInterface* ifc);

// SYSTem:ERRor?
int CmdSystErr(ScpiInterface* ifc);

}  // namespace scpi
