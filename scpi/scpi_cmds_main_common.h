#pragma once
// Main command set, ids 1-43: common commands, ABORt, CALibration and DATA.
#include "scpi/scpi_tree_build.h"

namespace scpi {

inline constexpr ScpiCmdRow kMainRowsCommon[] = {
    {1, "*CAL", "S", nullptr, nullptr},
    {2, "*CLS", "S", nullptr, nullptr},
    {3, "*ESE", "SQ", "1: N", nullptr},
    {4, "*ESR", "Q", nullptr, nullptr},
    {5, "*IDN", "Q", nullptr, nullptr},
    {6, "*OPC", "SQ", nullptr, nullptr},
    {7, "*RCL", "S", "1: N|Ch1", nullptr},
    {8, "*RST", "S", nullptr, nullptr},
    {9, "*SAV", "S", "1: N|Ch1", nullptr},
    {10, "*SRE", "SQ", "1: N", nullptr},
    {11, "*STB", "Q", nullptr, nullptr},
    {12, "*TRG", "S", nullptr, nullptr},
    {13, "*TST", "Q", nullptr, nullptr},
    {14, "*WAI", "S", nullptr, nullptr},
    {15, "ABORt", "S", nullptr, nullptr},
    {16, "CALibration:CONFigure:MODE", "S", "1: N|Ch57", nullptr},
    {17, "CALibration:VOLTage:AVG", "S", "1: R", nullptr},
    {18, "CALibration:VOLTage", "S", "1: Ch10", nullptr},
    {19, "CALibration:CURRent:AVG", "S", "1: R", nullptr},
    {20, "CALibration:CURRent", "S", "1: Ch10", nullptr},
    {21, "DATA:ARBitrary:FILE", "SQ", "2: N, B", "1: N"},
    {22, "DATA:SEQuence:CLEar", "S", "1: N|Ch1", nullptr},
    {23, "DATA:SEQuence:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {24, "DATA:SEQuence:RECall", "S", "1: N|Ch1", nullptr},
    {25, "DATA:SEQuence:STORe", "S", "1: N|Ch1", nullptr},
    {26, "DATA:SIMulation:CLEar", "S", "1: N|Ch1", nullptr},
    {27, "DATA:SIMulation:NAME", "SQ", "2: N|Ch1, T", "1: N|Ch1"},
    {28, "DATA:SIMulation:RECall", "S", "1: N|Ch1", nullptr},
    {29, "DATA:SIMulation:STORe", "S", "1: N|Ch1", nullptr},
    {30, "DATA:SEQuence[:DATA]", "SQ", "2: N|Ch7, B", "1: N|Ch7"},
    {31, "DATA:SEQuence[:DATA]:PRESent", "SQ", "1: B", nullptr},
    {32, "DATA:SEQuence:FILE", "SQ", "2: N, B", "1: N"},
    {33, "DATA:SIMulation[:DATA]", "SQ", "2: N|Ch9, B", "1: N|Ch9"},
    {34, "DATA:SIMulation[:DATA]:PRESent", "SQ", "1: B", nullptr},
    {35, "DATA:SIMulation:FILE", "SQ", "2: N, B", "1: N"},
    {36, "DATA:PRESet:CLEar", "S", "1: N|Ch1", nullptr},
    {37, "DATA:PRESet[:DATA]", "SQ", "2: N|Ch8, B", "1: N|Ch8"},
    {38, "DATA:PRESet:FILE", "SQ", "2: N, B", "1: N"},
    {39, "DATA:WAVE:CLEar", "S", "1: N|Ch1", nullptr},
    {40, "DATA:WAVE:NAME", "SQ", "2: N, T", "1: N|Ch1"},
    {41, "DATA:WAVE[:DATA]", "S", "2: N|Ch5, B", nullptr},
    {42, "DATA:WAV:CLEar", "S", "1: N|Ch1", nullptr},
    {43, "DATA:WAV[:DATA]", "S", "2: N|Ch5, B", nullptr},
};

}  // namespace scpi
