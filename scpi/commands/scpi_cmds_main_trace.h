#pragma once
// Main command set, ids 213-248: TRACe, TRIGger and ZCALib.
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/parser/scpi_tree_build.h"

namespace scpi {

inline constexpr ScpiCmdRow kMainRowsTrace[] = {
    {kCmdTracArbFile, "TRACe:ARBitrary:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdTracData, "TRACe[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {kCmdTracSeqCle, "TRACe:SEQuence:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdTracSeqData, "TRACe:SEQuence[:DATA]", "SQ", "2: N|Ch7, B", "1: N|Ch7"},
    {kCmdTracSeqFile, "TRACe:SEQuence:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdTracSeqName, "TRACe:SEQuence:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {kCmdTracSeqRec, "TRACe:SEQuence:RECall", "S", "1: N|Ch1", nullptr},
    {kCmdTracSeqStor, "TRACe:SEQuence:STORe", "S", "1: N|Ch1", nullptr},
    {kCmdTracSimCle, "TRACe:SIMulation:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdTracSimData, "TRACe:SIMulation[:DATA]", "SQ", "2: N|Ch9, B", "1: N|Ch9"},
    {kCmdTracSimFile, "TRACe:SIMulation:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdTracSimName, "TRACe:SIMulation:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {kCmdTracSimRec, "TRACe:SIMulation:RECall", "S", "1: N|Ch1", nullptr},
    {kCmdTracSimStor, "TRACe:SIMulation:STORe", "S", "1: N|Ch1", nullptr},
    {kCmdTracPresCle, "TRACe:PRESet:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdTracPresData, "TRACe:PRESet[:DATA]", "SQ", "2: N|Ch8, B", "1: N|Ch8"},
    {kCmdTracPresFile, "TRACe:PRESet:FILE", "SQ", "2: N, B", "1: N"},
    {kCmdTracWaveCle, "TRACe:WAVE:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdTracWaveName, "TRACe:WAVE:NAME", "SQ", "2: N, T", "1: N|Ch1"},
    {kCmdTracWaveData, "TRACe:WAVE[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {kCmdTracWavCle, "TRACe:WAV:CLEar", "S", "1: N|Ch1", nullptr},
    {kCmdTracWavData, "TRACe:WAV[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {kCmdTrigOutpSour, "TRIGger:OUTPut:SOURce", "SQ", "1: Ch6", nullptr},
    {kCmdTrigOutpImm, "TRIGger:OUTPut[:IMMediate]", "S", nullptr, nullptr},
    {kCmdTrigMemSour, "TRIGger:MEMory:SOURce", "SQ", "1: Ch6", nullptr},
    {kCmdTrigMemImm, "TRIGger:MEMory[:IMMediate]", "S", nullptr, nullptr},
    {kCmdTrigSeqSelExec, "TRIGger:SEQuence:SELected:EXECute", "S", "1: N|Ch34", nullptr},
    {kCmdTrigSimSelExec, "TRIGger:SIMulation:SELected:EXECute", "S", "1: N|Ch33", nullptr},
    {kCmdTrigTranSour, "TRIGger[:TRANsient]:SOURce", "SQ", "1: Ch6", nullptr},
    {kCmdTrigTranImm, "TRIGger[:TRANsient][:IMMediate]", "S", nullptr, nullptr},
    {kCmdZcalApas, "ZCALib:APASs", "S", "1: T", nullptr},
    {kCmdZcalMac, "ZCALib:MAC", "S", "1: T", nullptr},
    {kCmdZcalMfrs, "ZCALib:MFRS", "S", "1: T", nullptr},
    {kCmdZcalMfrsQx, "ZCALib:MFRS:QX", "S", nullptr, nullptr},
    {kCmdZcalMtyp, "ZCALib:MTYPe", "S", "1: T", nullptr},
    {kCmdZcalProg, "ZCALib:PROG", "S", "1: T", nullptr},
};

}  // namespace scpi
