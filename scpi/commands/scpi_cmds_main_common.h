#pragma once
// Main command set, ids 1-43: common commands, ABORt, CALibration and DATA.
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/parser/scpi_tree_build.h"

namespace scpi {

inline constexpr ScpiCmdRow kMainRowsCommon[] = {
    {kCmdCal, "*CAL", "S", nullptr, nullptr},
    {kCmdCls, "*CLS", "S", nullptr, nullptr},
    {kCmdEse, "*ESE", "SQ", "1: N", nullptr},
    {kCmdEsr, "*ESR", "Q", nullptr, nullptr},
    {kCmdIdn, "*IDN", "Q", nullptr, nullptr},
    {kCmdOpc, "*OPC", "SQ", nullptr, nullptr},
    {kCmdRcl, "*RCL", "S", "1: N|Ch1", nullptr},
    {kCmdRst, "*RST", "S", nullptr, nullptr},
    {kCmdSav, "*SAV", "S", "1: N|Ch1", nullptr},
    {kCmdSre, "*SRE", "SQ", "1: N", nullptr},
    {kCmdStb, "*STB", "Q", nullptr, nullptr},
    {kCmdTrg, "*TRG", "S", nullptr, nullptr},
    {kCmdTst, "*TST", "Q", nullptr, nullptr},
    {kCmdWai, "*WAI", "S", nullptr, nullptr},
    {kCmdAbor, "ABORt", "S", nullptr, nullptr},
    {kCmdCalConfMode, "CALibration:CONFigure:MODE", "S", "1: N|Ch57", nullptr},
    {kCmdCalVoltAvg, "CALibration:VOLTage:AVG", "S", "1: R", nullptr},
    {kCmdCalVolt, "CALibration:VOLTage", "S", "1: Ch10", nullptr},
    {kCmdCalCurrAvg, "CALibration:CURRent:AVG", "S", "1: R", nullptr},
    {kCmdCalCurr, "CALibration:CURRent", "S", "1: Ch10", nullptr},
    {kCmdDataArbFile, "DATA:ARBitrary:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdDataSeqCle, "DATA:SEQuence:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdDataSeqName, "DATA:SEQuence:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {kCmdDataSeqRec, "DATA:SEQuence:RECall", "S", "1: N|Ch1", nullptr},
    {kCmdDataSeqStor, "DATA:SEQuence:STORe", "S", "1: N|Ch1", nullptr},
    {kCmdDataSimCle, "DATA:SIMulation:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdDataSimName, "DATA:SIMulation:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {kCmdDataSimRec, "DATA:SIMulation:RECall", "S", "1: N|Ch1", nullptr},
    {kCmdDataSimStor, "DATA:SIMulation:STORe", "S", "1: N|Ch1", nullptr},
    {kCmdDataSeqData, "DATA:SEQuence[:DATA]", "SQ", "2: N|Ch7, B", "1: N|Ch7"},
    {kCmdDataSeqDataPres, "DATA:SEQuence[:DATA]:PRESent", "SQ", "1: B", nullptr},
    {kCmdDataSeqFile, "DATA:SEQuence:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdDataSimData, "DATA:SIMulation[:DATA]", "SQ", "2: N|Ch9, B", "1: N|Ch9"},
    {kCmdDataSimDataPres, "DATA:SIMulation[:DATA]:PRESent", "SQ", "1: B", nullptr},
    {kCmdDataSimFile, "DATA:SIMulation:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdDataPresCle, "DATA:PRESet:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdDataPresData, "DATA:PRESet[:DATA]", "SQ", "2: N|Ch8, B", "1: N|Ch8"},
    {kCmdDataPresFile, "DATA:PRESet:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdDataWaveCle, "DATA:WAVE:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdDataWaveName, "DATA:WAVE:NAME", "SQ", "2: N, T", "1: N|Ch1"},
    {kCmdDataWaveData, "DATA:WAVE[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {kCmdDataWavCle, "DATA:WAV:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdDataWavData, "DATA:WAV[:DATA]", "S", "2: N|Ch5, B", nullptr},
};

}  // namespace scpi
