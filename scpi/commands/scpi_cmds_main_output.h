#pragma once
// Main command set, ids 127-160: OUTPut, PARallel and STATus.
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/parser/scpi_tree_build.h"

namespace scpi {

inline constexpr ScpiCmdRow kMainRowsOutput[] = {
    {kCmdOutpImp, "OUTPut:IMPedance", "SQ", "1: N|Ch2", nullptr},
    {kCmdOutpImpInd, "OUTPut:IMPedance:INDuctance", "SQ", "2: N|Ch14, R|Ch1", "1-2: N|Ch14, Ch1?"},
    {kCmdOutpImpRes, "OUTPut:IMPedance:RESistance", "SQ", "2: N|Ch14, R|Ch1", "1-2: N|Ch14, Ch1?"},
    {kCmdOutpMonAmpl, "OUTPut:MONitor:AMPLitude", "SQ", "1: N|Ch45", nullptr},
    {kCmdOutpMonSour, "OUTPut:MONitor:SOURce[1-2]", "SQ", "1: Ch43", nullptr},
    {kCmdOutpPon, "OUTPut:PON", "SQ", "1: N|Ch27", nullptr},
    {kCmdOutpProtCle, "OUTPut:PROTection:CLEar", "S", nullptr, nullptr},
    {kCmdOutpRel, "OUTPut:RELay", "SQ", "1: N|Ch2", nullptr},
    {kCmdOutpStatTrig, "OUTPut[:STATe]:TRIGgered", "SQ", "1: N|Ch2", nullptr},
    {kCmdOutpStat, "OUTPut[:STATe]", "SQ", "1: N|Ch2", nullptr},
    {kCmdParPos, "PARallel:POSition", "SQ", "1: N|Ch50", nullptr},
    {kCmdParNumb, "PARallel:NUMBer", "SQ", "1: N", nullptr},
    {kCmdParEnab, "PARallel:ENABle", "SQ", "1: N|Ch2", nullptr},
    {kCmdStatLockCond, "STATus:LOCK:CONDition", "Q", nullptr, nullptr},
    {kCmdStatLockEnab, "STATus:LOCK:ENABle", "SQ", "1: N", nullptr},
    {kCmdStatLockNtr, "STATus:LOCK:NTRansition", "SQ", "1: N", nullptr},
    {kCmdStatLockPtr, "STATus:LOCK:PTRansition", "SQ", "1: N", nullptr},
    {kCmdStatLockEven, "STATus:LOCK[:EVENt]", "Q", nullptr, nullptr},
    {kCmdStatOperCond, "STATus:OPERation:CONDition", "Q", nullptr, nullptr},
    {kCmdStatOperEnab, "STATus:OPERation:ENABle", "SQ", "1: N", nullptr},
    {kCmdStatOperNtr, "STATus:OPERation:NTRansition", "SQ", "1: N", nullptr},
    {kCmdStatOperPtr, "STATus:OPERation:PTRansition", "SQ", "1: N", nullptr},
    {kCmdStatOperEven, "STATus:OPERation[:EVENt]", "Q", nullptr, nullptr},
    {kCmdStatPres, "STATus:PRESet", "S", nullptr, nullptr},
    {kCmdStatQuesCond, "STATus:QUEStionable:CONDition", "Q", nullptr, nullptr},
    {kCmdStatQuesEnab, "STATus:QUEStionable:ENABle", "SQ", "1: N", nullptr},
    {kCmdStatQuesNtr, "STATus:QUEStionable:NTRansition", "SQ", "1: N", nullptr},
    {kCmdStatQuesPtr, "STATus:QUEStionable:PTRansition", "SQ", "1: N", nullptr},
    {kCmdStatQuesEven, "STATus:QUEStionable[:EVENt]", "Q", nullptr, nullptr},
    {kCmdStatWarnCond, "STATus:WARNing:CONDition", "Q", nullptr, nullptr},
    {kCmdStatWarnEnab, "STATus:WARNing:ENABle", "SQ", "1: N", nullptr},
    {kCmdStatWarnNtr, "STATus:WARNing:NTRansition", "SQ", "1: N", nullptr},
    {kCmdStatWarnPtr, "STATus:WARNing:PTRansition", "SQ", "1: N", nullptr},
    {kCmdStatWarnEven, "STATus:WARNing[:EVENt]", "Q", nullptr, nullptr},
};

}  // namespace scpi
