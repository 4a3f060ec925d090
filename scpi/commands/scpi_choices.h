#pragma once
// The choice lists of both command sets (Ch1 .. Ch59): keyword = value, ending with a null entry.
#include "platform/stage/wave_numbers.h"
#include "scpi/parser/scpi_keyword_const.h"

namespace scpi {

inline constexpr auto kArbNames = MakeNameRun<253>("ARB", 1, 0);
inline constexpr auto kSeqNames = MakeNameRun<10>("SEQ", 0, 0);
inline constexpr auto kSetNames = MakeNameRun<10>("SET", 0, 0);
inline constexpr auto kSimNames = MakeNameRun<10>("SIM", 0, 0);
inline constexpr auto kRmNames = MakeNameRun<10>("RM", 0, 0);
inline constexpr auto kDstNames = MakeNameRun<22>("DST", 1, 2);

inline constexpr auto kCh1 = ChoiceList(Choices({{Kw("MINimum"), 0}, {Kw("MAXimum"), 1}}));
inline constexpr auto kCh2 = ChoiceList(Choices({{Kw("OFF"), 0}, {Kw("ON"), 1}}));
inline constexpr auto kCh3 =
    ChoiceList(Choices({{Kw("OFF"), 0}, {Kw("ON"), 1}, {Kw("FREE"), 2}, {Kw("FIXed"), 3}}));
inline constexpr auto kCh4 = ChoiceList(Choices({{Kw("CONSt"), 0}, {Kw("KEEP"), 1}, {Kw("SWEep"), 2}}));
inline constexpr auto kCh5 = ChoiceList(ChoiceRun<253>(kArbNames, 0, 0));
inline constexpr auto kCh6 =
    ChoiceList(Choices({{Kw("BUS"), 0}, {Kw("IMMediate"), 1}, {Kw("TRI1"), 2}, {Kw("TRI2"), 3}}));
inline constexpr auto kCh7 = ChoiceList(ChoiceRun<10>(kSeqNames, 0, 0));
inline constexpr auto kCh8 = ChoiceList(ChoiceRun<10>(kSetNames, 0, 0));
inline constexpr auto kCh9 = ChoiceList(ChoiceRun<10>(kSimNames, 0, 0));
inline constexpr auto kCh10 = ChoiceList(Choices({{Kw("EXIT"), 0}}));
inline constexpr auto kCh11 = ChoiceList(Choices({{Kw("FREE"), 0}, {Kw("FIXed"), 1}}));
inline constexpr auto kCh12 = ChoiceList(
    Choices({{Kw("GPIB"), 0}, {Kw("USB"), 1}, {Kw("SOCKets"), 2}, {Kw("WEB"), 3}, {Kw("SERial"), 4}}));
inline constexpr auto kCh13 = ChoiceList(Choices({{Kw("L1"), 0}, {Kw("L2"), 1}, {Kw("L3"), 2}}));
inline constexpr auto kCh14 =
    ChoiceList(Choices({{Kw("L1"), 0}, {Kw("L2"), 1}, {Kw("L3"), 2}, {Kw("ALL"), 3}}));
inline constexpr auto kCh15 =
    ChoiceList(ChoiceRun<16>(kArbNames, 0, 0),
               Choices({{Kw("SIN"), kWaveSin}, {Kw("SQU"), kWaveSqu}, {Kw("TRI"), kWaveTri}}),
               ChoiceRun<237>(kArbNames, 16, 19));
inline constexpr auto kCh16 = ChoiceList(Choices({{Kw("ACDC-INt"), 0},
                                                  {Kw("AC-INt"), 1},
                                                  {Kw("DC-INt"), 2},
                                                  {Kw("ACDC-EXt"), 3},
                                                  {Kw("AC-EXt"), 4},
                                                  {Kw("ACDC-ADd"), 5},
                                                  {Kw("AC-ADd"), 6},
                                                  {Kw("ACDC-SYNc"), 7},
                                                  {Kw("AC-SYNc"), 8},
                                                  {Kw("AC-VCa"), 9}}));
inline constexpr auto kCh17 = ChoiceList(ChoiceRun<16>(kArbNames, 0, 0));
inline constexpr auto kCh18 =
    ChoiceList(ChoiceRun<16>(kArbNames, 0, 0),
               Choices({{Kw("SIN"), kWaveSin}, {Kw("SQU"), kWaveSqu}, {Kw("TRI"), kWaveTri}}));
inline constexpr auto kCh19 = ChoiceList(Choices({{Kw("AUTO"), 0}, {Kw("FULL"), 1}}));
inline constexpr auto kCh20 = ChoiceList(Choices({{Kw("CLEar"), 0}}));
inline constexpr auto kCh21 = ChoiceList(Choices({{Kw("CONTinue"), 0}, {Kw("END"), 1}, {Kw("HOLD"), 2}}));
inline constexpr auto kCh22 =
    ChoiceList(Choices({{Kw("CONTinuous"), 0}, {Kw("SEQuence"), 1}, {Kw("SIMulation"), 2}}));
inline constexpr auto kCh23 = ChoiceList(Choices({{Kw("IEC"), 0}, {Kw("CSA"), 1}}));
inline constexpr auto kCh24 = ChoiceList(Choices({{Kw("L12"), 0}, {Kw("L13"), 1}}));
inline constexpr auto kCh25 =
    ChoiceList(Choices({{Kw("LOCal"), 0}, {Kw("REMote"), 1}, {Kw("RWLock"), 2}, {Kw("LREMote"), 3}}));
inline constexpr auto kCh26 = ChoiceList(Choices({{Kw("NONE"), 0}, {Kw("ODD"), 1}, {Kw("EVEN"), 2}}));
inline constexpr auto kCh27 =
    ChoiceList(Choices({{Kw("OFF"), 0}, {Kw("ON"), 1}, {Kw("SEQ"), 2}, {Kw("SIM"), 3}}));
inline constexpr auto kCh28 = ChoiceList(Choices({{Kw("R100"), 0}, {Kw("R200"), 1}, {Kw("AUTO"), 2}}));
inline constexpr auto kCh29 =
    ChoiceList(ChoiceRun<10>(kRmNames, 0, 0), Choices({{Kw("ON"), 10}, {Kw("OFF"), 11}}));
inline constexpr auto kCh30 = ChoiceList(Choices({{Kw("RMS"), 0}, {Kw("P-p"), 1}}));
inline constexpr auto kCh31 = ChoiceList(
    Choices({{Kw("RS232"), 0}, {Kw("USB"), 1}, {Kw("GPIB"), 2}, {Kw("LAN"), 3}, {Kw("ERRor"), 4}}));
inline constexpr auto kCh32 = ChoiceList(Choices({{Kw("SQUare"), 0}, {Kw("SINE"), 1}, {Kw("SIN"), 2}}));
inline constexpr auto kCh33 = ChoiceList(Choices({{Kw("STOP"), 0}, {Kw("STARt"), 1}, {Kw("HOLD"), 2}}));
inline constexpr auto kCh34 = ChoiceList(
    Choices({{Kw("STOP"), 0}, {Kw("STARt"), 1}, {Kw("HOLD"), 2}, {Kw("BRAN1"), 3}, {Kw("BRAN2"), 4}}));
inline constexpr auto kCh35 =
    ChoiceList(Choices({{Kw("TRANsient"), 0}, {Kw("OUTPut"), 1}, {Kw("MEMory"), 2}}));
inline constexpr auto kCh36 = ChoiceList(Choices({{Kw("VRMS"), 0}, {Kw("VPP"), 1}}));
inline constexpr auto kCh37 =
    ChoiceList(Choices({{Kw("ALL"), 0}, {Kw("L1"), 1}, {Kw("L2"), 2}, {Kw("L3"), 3}, {Kw("TOTal"), 4}}));
inline constexpr auto kCh38 = ChoiceList(Choices({{Kw("AUTO"), 0}}));
inline constexpr auto kCh39 = ChoiceList(Choices({{Kw("EACH"), 0}, {Kw("ALL"), 1}}));
inline constexpr auto kCh40 = ChoiceList(Choices({{Kw("FAST"), 0}}));
inline constexpr auto kCh41 = ChoiceList(Choices({{Kw("L1EXt"), 0}, {Kw("L2EXt"), 1}, {Kw("L3EXt"), 2}}));
inline constexpr auto kCh42 =
    ChoiceList(Choices({{Kw("L1Line"), 0}, {Kw("L2Line"), 1}, {Kw("L3Line"), 2}, {Kw("EXT"), 3}}));
inline constexpr auto kCh43 = ChoiceList(Choices({{Kw("L1Voltage"), 0},
                                                  {Kw("L2Voltage"), 1},
                                                  {Kw("L3Voltage"), 2},
                                                  {Kw("L1Current"), 3},
                                                  {Kw("L2Current"), 4},
                                                  {Kw("L3Current"), 5}}));
inline constexpr auto kCh44 = ChoiceList(Choices({{Kw("LINE"), 0}, {Kw("EXT"), 1}}));
inline constexpr auto kCh45 = ChoiceList(Choices({{Kw("LOW"), 0}, {Kw("HIGH"), 1}}));
// MAXimum keeps the value the handlers read as MAXimum everywhere (as in Ch1).
inline constexpr auto kCh46 = ChoiceList(Choices({{Kw("MAXimum"), 1}}));
inline constexpr auto kCh47 = ChoiceList(Choices({{Kw("NORMal"), 0}, {Kw("SIMPle"), 1}}));
inline constexpr auto kCh48 = ChoiceList(Choices({{Kw("NORMal"), 0}, {Kw("TOTal"), 1}, {Kw("SIMPle"), 2}}));
inline constexpr auto kCh49 = ChoiceList(Choices({{Kw("PHASe"), 0}, {Kw("LINE"), 1}}));
inline constexpr auto kCh50 = ChoiceList(Choices({{Kw("SLAVe"), 0}, {Kw("MASTer"), 1}}));
inline constexpr auto kCh51 = ChoiceList(Choices({{Kw("SLOW"), 0}, {Kw("MEDium"), 1}, {Kw("FAST"), 2}}));
inline constexpr auto kCh52 = ChoiceList(Choices({{Kw("TIME"), 0}, {Kw("SLOPe"), 1}}));
inline constexpr auto kCh53 = ChoiceList(Choices({{Kw("TRIangle"), 0},
                                                  {Kw("STAir"), 1},
                                                  {Kw("CLIP"), 2},
                                                  {Kw("CFACTor1"), 3},
                                                  {Kw("CFAC1"), 4},
                                                  {Kw("CFACTor2"), 5},
                                                  {Kw("CFAC2"), 6},
                                                  {Kw("SURGe"), 7}}),
                                         ChoiceRun<22>(kDstNames, 0, 8), Choices({{Kw("RIPPle"), 30}}));
inline constexpr auto kCh54 = ChoiceList(Choices({{Kw("TRIangle"), 0},
                                                  {Kw("STAir"), 1},
                                                  {Kw("CLIP"), 2},
                                                  {Kw("CFACTor1"), 3},
                                                  {Kw("CFAC1"), 4},
                                                  {Kw("CFACTor2"), 5},
                                                  {Kw("CFAC2"), 6},
                                                  {Kw("SURGe"), 7}}),
                                         ChoiceRun<22>(kDstNames, 0, 8),
                                         Choices({{Kw("RIPPle"), 30}, {Kw("DIP"), 31}, {Kw("LFRing"), 32}}));
inline constexpr auto kCh55 = ChoiceList(Choices({{Kw("UNBalance"), 0}, {Kw("BALance"), 1}}));
inline constexpr auto kCh56 = ChoiceList(Choices({{Kw("VOLTage"), 0},
                                                  {Kw("CURRent"), 1},
                                                  {Kw("SAVE"), 2},
                                                  {Kw("RECall"), 3},
                                                  {Kw("DEFault"), 4},
                                                  {Kw("EXIT"), 5},
                                                  {Kw("EXT"), 6}}));
inline constexpr auto kCh57 = ChoiceList(Choices({{Kw("VOLTage"), 0},
                                                  {Kw("CURRent"), 1},
                                                  {Kw("SAVE"), 2},
                                                  {Kw("RECall"), 3},
                                                  {Kw("DEFault"), 4},
                                                  {Kw("EXIT"), 5},
                                                  {Kw("EXT"), 6},
                                                  {Kw("CAPacitance"), 7},
                                                  {Kw("ZERO"), 8}}));
inline constexpr auto kCh58 = ChoiceList(Choices({{Kw("VRMS"), 0},
                                                  {Kw("VAVG"), 1},
                                                  {Kw("VMAX"), 2},
                                                  {Kw("VMIN"), 3},
                                                  {Kw("IRMS"), 4},
                                                  {Kw("IAVG"), 5},
                                                  {Kw("IMAX"), 6},
                                                  {Kw("IMIN"), 7},
                                                  {Kw("IPKH"), 8},
                                                  {Kw("RPOWer"), 9},
                                                  {Kw("SPOWer"), 10},
                                                  {Kw("QPOWer"), 11},
                                                  {Kw("FREQuency"), 12},
                                                  {Kw("PFACtor"), 13},
                                                  {Kw("CFACtor"), 14},
                                                  {Kw("THDV"), 15},
                                                  {Kw("THDI"), 16}}));
inline constexpr auto kCh59 = ChoiceList(Choices(
    {{Kw("VRMS"), 0},     {Kw("VAVG"), 1},    {Kw("VMAX"), 2},    {Kw("VMIN"), 3},       {Kw("VPKH"), 4},
     {Kw("IRMS"), 5},     {Kw("IAVG"), 6},    {Kw("IMAX"), 7},    {Kw("IMIN"), 8},       {Kw("IPKH"), 9},
     {Kw("RPOWer"), 10},  {Kw("SPOWer"), 11}, {Kw("QPOWer"), 12}, {Kw("FREQuency"), 13}, {Kw("PFACtor"), 14},
     {Kw("CFACtor"), 15}, {Kw("THDV"), 16},   {Kw("THDI"), 17},   {Kw("LRMS"), 18},      {Kw("LAVG"), 19},
     {Kw("LMAX"), 20},    {Kw("LMIN"), 21}}));

constexpr uint32_t kChoiceListCount = 59;

// Choice list n (1-59); entry 0 unused.
inline constexpr const ScpiChoice* kChoiceLists[kChoiceListCount + 1] = {
    nullptr,      kCh1.data(),  kCh2.data(),  kCh3.data(),  kCh4.data(),  kCh5.data(),  kCh6.data(),
    kCh7.data(),  kCh8.data(),  kCh9.data(),  kCh10.data(), kCh11.data(), kCh12.data(), kCh13.data(),
    kCh14.data(), kCh15.data(), kCh16.data(), kCh17.data(), kCh18.data(), kCh19.data(), kCh20.data(),
    kCh21.data(), kCh22.data(), kCh23.data(), kCh24.data(), kCh25.data(), kCh26.data(), kCh27.data(),
    kCh28.data(), kCh29.data(), kCh30.data(), kCh31.data(), kCh32.data(), kCh33.data(), kCh34.data(),
    kCh35.data(), kCh36.data(), kCh37.data(), kCh38.data(), kCh39.data(), kCh40.data(), kCh41.data(),
    kCh42.data(), kCh43.data(), kCh44.data(), kCh45.data(), kCh46.data(), kCh47.data(), kCh48.data(),
    kCh49.data(), kCh50.data(), kCh51.data(), kCh52.data(), kCh53.data(), kCh54.data(), kCh55.data(),
    kCh56.data(), kCh57.data(), kCh58.data(), kCh59.data(),
};

}  // namespace scpi
