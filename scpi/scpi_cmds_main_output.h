#pragma once
// Main command set, ids 127-160: OUTPut, PARallel and STATus.
#include "scpi/scpi_tree_build.h"

namespace scpi {

inline constexpr ScpiCmdRow kMainRowsOutput[] = {
    {127, "OUTPut:IMPedance", "SQ", "1: N|Ch2", nullptr},
    {128, "OUTPut:IMPedance:INDuctance", "SQ", "2: N|Ch14, R|Ch1", "1-2: N|Ch14, Ch1?"},
    {129, "OUTPut:IMPedance:RESistance", "SQ", "2: N|Ch14, R|Ch1", "1-2: N|Ch14, Ch1?"},
    {130, "OUTPut:MONitor:AMPLitude", "SQ", "1: N|Ch45", nullptr},
    {131, "OUTPut:MONitor:SOURce[1-2]", "SQ", "1: Ch43", nullptr},
    {132, "OUTPut:PON", "SQ", "1: N|Ch27", nullptr},
    {133, "OUTPut:PROTection:CLEar", "S", nullptr, nullptr},
    {134, "OUTPut:RELay", "SQ", "1: N|Ch2", nullptr},
    {135, "OUTPut[:STATe]:TRIGgered", "SQ", "1: N|Ch2", nullptr},
    {136, "OUTPut[:STATe]", "SQ", "1: N|Ch2", nullptr},
    {137, "PARallel:POSition", "SQ", "1: N|Ch50", nullptr},
    {138, "PARallel:NUMBer", "SQ", "1: N", nullptr},
    {139, "PARallel:ENABle", "SQ", "1: N|Ch2", nullptr},
    {140, "STATus:LOCK:CONDition", "Q", nullptr, nullptr},
    {141, "STATus:LOCK:ENABle", "SQ", "1: N", nullptr},
    {142, "STATus:LOCK:NTRansition", "SQ", "1: N", nullptr},
    {143, "STATus:LOCK:PTRansition", "SQ", "1: N", nullptr},
    {144, "STATus:LOCK[:EVENt]", "Q", nullptr, nullptr},
    {145, "STATus:OPERation:CONDition", "Q", nullptr, nullptr},
    {146, "STATus:OPERation:ENABle", "SQ", "1: N", nullptr},
    {147, "STATus:OPERation:NTRansition", "SQ", "1: N", nullptr},
    {148, "STATus:OPERation:PTRansition", "SQ", "1: N", nullptr},
    {149, "STATus:OPERation[:EVENt]", "Q", nullptr, nullptr},
    {150, "STATus:PRESet", "S", nullptr, nullptr},
    {151, "STATus:QUEStionable:CONDition", "Q", nullptr, nullptr},
    {152, "STATus:QUEStionable:ENABle", "SQ", "1: N", nullptr},
    {153, "STATus:QUEStionable:NTRansition", "SQ", "1: N", nullptr},
    {154, "STATus:QUEStionable:PTRansition", "SQ", "1: N", nullptr},
    {155, "STATus:QUEStionable[:EVENt]", "Q", nullptr, nullptr},
    {156, "STATus:WARNing:CONDition", "Q", nullptr, nullptr},
    {157, "STATus:WARNing:ENABle", "SQ", "1: N", nullptr},
    {158, "STATus:WARNing:NTRansition", "SQ", "1: N", nullptr},
    {159, "STATus:WARNing:PTRansition", "SQ", "1: N", nullptr},
    {160, "STATus:WARNing[:EVENt]", "Q", nullptr, nullptr},
};

}  // namespace scpi
