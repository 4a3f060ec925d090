#pragma once
// Main command set, ids 213-248: TRACe, TRIGger and ZCALib.
#include "scpi/scpi_tree_build.h"

namespace scpi {

inline constexpr ScpiCmdRow kMainRowsTrace[] = {
    {213, "TRACe:ARBitrary:FILE", "SQ", "2: N, B", "1: N"},
    {214, "TRACe[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {215, "TRACe:SEQuence:CLEar", "S", "1: N|Ch1", nullptr},
    {216, "TRACe:SEQuence[:DATA]", "SQ", "2: N|Ch7, B", "1: N|Ch7"},
    {217, "TRACe:SEQuence:FILE", "SQ", "2: N, B", "1: N"},
    {218, "TRACe:SEQuence:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {219, "TRACe:SEQuence:RECall", "S", "1: N|Ch1", nullptr},
    {220, "TRACe:SEQuence:STORe", "S", "1: N|Ch1", nullptr},
    {221, "TRACe:SIMulation:CLEar", "S", "1: N|Ch1", nullptr},
    {222, "TRACe:SIMulation[:DATA]", "SQ", "2: N|Ch9, B", "1: N|Ch9"},
    {223, "TRACe:SIMulation:FILE", "SQ", "2: N, B", "1: N"},
    {224, "TRACe:SIMulation:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {225, "TRACe:SIMulation:RECall", "S", "1: N|Ch1", nullptr},
    {226, "TRACe:SIMulation:STORe", "S", "1: N|Ch1", nullptr},
    {227, "TRACe:PRESet:CLEar", "S", "1: N|Ch1", nullptr},
    {228, "TRACe:PRESet[:DATA]", "SQ", "2: N|Ch8, B", "1: N|Ch8"},
    {229, "TRACe:PRESet:FILE", "SQ", "2: N, B", "1: N"},
    {230, "TRACe:WAVE:CLEar", "S", "1: N|Ch1", nullptr},
    {231, "TRACe:WAVE:NAME", "SQ", "2: N, T", "1: N|Ch1"},
    {232, "TRACe:WAVE[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {233, "TRACe:WAV:CLEar", "S", "1: N|Ch1", nullptr},
    {234, "TRACe:WAV[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {235, "TRIGger:OUTPut:SOURce", "SQ", "1: Ch6", nullptr},
    {236, "TRIGger:OUTPut[:IMMediate]", "S", nullptr, nullptr},
    {237, "TRIGger:MEMory:SOURce", "SQ", "1: Ch6", nullptr},
    {238, "TRIGger:MEMory[:IMMediate]", "S", nullptr, nullptr},
    {239, "TRIGger:SEQuence:SELected:EXECute", "S", "1: N|Ch34", nullptr},
    {240, "TRIGger:SIMulation:SELected:EXECute", "S", "1: N|Ch33", nullptr},
    {241, "TRIGger[:TRANsient]:SOURce", "SQ", "1: Ch6", nullptr},
    {242, "TRIGger[:TRANsient][:IMMediate]", "S", nullptr, nullptr},
    {243, "ZCALib:APASs", "S", "1: T", nullptr},
    {244, "ZCALib:MAC", "S", "1: T", nullptr},
    {245, "ZCALib:MFRS", "S", "1: T", nullptr},
    {246, "ZCALib:MFRS:QX", "S", nullptr, nullptr},
    {247, "ZCALib:MTYPe", "S", "1: T", nullptr},
    {248, "ZCALib:PROG", "S", "1: T", nullptr},
};

}  // namespace scpi
