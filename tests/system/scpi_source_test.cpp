// The [SOURce:] setting commands and the OUTPut, PARallel, DISPlay, INPut, INSTrument and ETHernet:DHCP
// commands over the LAN socket of a controller on a fresh root (model type 1, 3P4W, ACDC-INT, 100 V range,
// Unbalance, a stand-alone master): each line sends one program message and names its reply line and then
// the error queue's first entry. Each test puts back what it changed.
#include <gtest/gtest.h>

#include <string>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiSource : public ScpiSocketSuite {};

TEST_F(ScpiSource, OutputSwitch) {
    // clang-format off
    const ScpiStep steps[] = {
        {"OUTP?", "+0", kNoError}, {"OUTP 1.5", nullptr, kParamError}, {"OUTP 2", nullptr, kRange},
        {"OUTP -1", nullptr, kRange}, {"OUTP ON;*OPC?", "1", kNoError}, {"OUTP?", "+1", kNoError},
        {"OUTP ON;*OPC?", "1", kNoError}, {"OUTP?", "+1", kNoError},
        {"OUTP OFF;*OPC?", "1", kNoError}, {"OUTP?", "+0", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, OutputSettingsAndParallelRole) {
    // clang-format off
    const ScpiStep steps[] = {
        {"OUTP:IMP?", "+0", kNoError}, {"OUTP:IMP -1", nullptr, kRange},
        {"OUTP:IMP:IND? L1", "+0.1", kNoError}, {"OUTP:IMP:IND? L1,MAX", "+2000.0", kNoError},
        {"OUTP:IMP:RES L1,1.1", nullptr, kRange}, {"OUTP:IMP:IND L2,1e12", nullptr, kRange},
        {"OUTP:IMP:IND ALL,12.34;IND? ALL", "+12.3,+12.3,+12.3", kNoError},
        {"OUTP:IMP:IND? L1,MIN", "+0.0", kNoError}, {"OUTP:IMP:IND ALL,0.1;IND? L3", "+0.1", kNoError},
        {"OUTP:MON:AMPL?", "LOW", kNoError}, {"OUTP:MON:AMPL HIGH;AMPL?", "HIGH", kNoError},
        {"OUTP:MON:AMPL 2", nullptr, kRange}, {"OUTP:MON:AMPL -1", nullptr, kRange},
        {"OUTP:MON:AMPL LOW", nullptr, kNoError},
        {"OUTP:MON:SOUR1?", "L1Voltage", kNoError}, {"OUTP:MON:SOUR2 L3Current;SOUR2?", "L3Current", kNoError},
        {"OUTP:MON:SOUR2 L1Current", nullptr, kNoError},
        {"OUTP:PON?", "+0", kNoError}, {"OUTP:PON 4", nullptr, kRange}, {"OUTP:PON -1", nullptr, kRange},
        {"OUTP:PON SEQ;PON?", "+2", kNoError}, {"OUTP:PON OFF", nullptr, kNoError},
        {"OUTP:REL?", "+1", kNoError}, {"OUTP:REL -1", nullptr, kRange}, {"OUTP:PROT:CLE", nullptr, kNoError},
        {"PAR:POS?;NUMB?;ENAB?", "Master;2;OFF", kNoError}, {"PAR:NUMB 7", nullptr, kRange},
        {"PAR:NUMB 1", nullptr, kRange}, {"PAR:NUMB 2.5", nullptr, kParamError}, {"PAR:POS -1", nullptr, kRange},
        {"PAR:ENAB 2", nullptr, kRange}, {"PAR:POS SLAV;POS?", "Slave", kNoError},
        {"OUTP:REL?", nullptr, kSystemError}, {"PAR:POS MAST;POS?", "Master", kNoError},
        {"OUTP:REL?", "+1", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, DisplayInputAndInstrument) {
    // clang-format off
    const ScpiStep steps[] = {
        {"DISP:DES:MODE?", nullptr, kUndefined}, {"DISP:MEAS:SOUR3 FREQ", nullptr, kParamError},
        {"DISP:MEAS:SOUR2 VAVG;SOUR2?", "VAVG", kNoError}, {"DISP:MEAS:SOUR1 THDV", nullptr, kParamError},
        {"DISP:MEAS:SOUR2 IRMS;SOUR2?", "IRMS", kNoError},
        {"DISP:DES:MODE SIMP", nullptr, kNoError}, {"DISP:DES:MODE NORM", nullptr, kNoError},
        {"INP:GAIN?", nullptr, kExecution}, {"INP:SOUR?", nullptr, kExecution},
        {"INP:SYNC:SOUR?", nullptr, kExecution},
        {"INST:EDIT?", "Each", kNoError}, {"INST:EDIT ALL;EDIT?", "All", kNoError},
        {"INST:EDIT 2", nullptr, kRange}, {"INST:EDIT EACH", nullptr, kNoError},
        {"INST:SEL L3;SEL?", "L3", kNoError}, {"INST:SEL -1", nullptr, kRange}, {"INST:SEL L1", nullptr, kNoError},
        {"ETH:DHCP?", "ON", kNoError}, {"ETH:DHCP 1", nullptr, kSystemError},
    };
    // clang-format on
    Run(steps);
}

// Forms the command tree refuses before a handler runs: its error stands.
TEST_F(ScpiSource, OutputTreeRefusesFirst) {
    // clang-format off
    const ScpiStep steps[] = {
        {"DISP:DES:MODE 1", nullptr, "-128,\"Numeric data not allowed\""},
        {"DISP:MEAS:SOUR5 VRMS", nullptr, "-114,\"Header suffix out of range\""},
        {"OUTP:MON:SOUR3?", nullptr, "-114,\"Header suffix out of range\""},
        {"OUTP:MON:SOUR1 1", nullptr, "-128,\"Numeric data not allowed\""},
        {"OUTP:PROT:CLE?", nullptr, kUndefined},
        {"PAR:NUMB MAST", nullptr, "-148,\"Character data not allowed\""},
        {"OUTP:IMP:IND? L1,DEF", nullptr, "-224,\"Illegal parameter value\""},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, GenericSettingsDutyAndRange) {
    // clang-format off
    const ScpiStep steps[] = {
        {"VOLT:OFFS -12.345;OFFS?", "-12.3500", kNoError}, {"VOLT:OFFS 0;OFFS?", "+0.0000", kNoError},
        {"VOLT:LIM:HIGH?;LOW?", "+250.0000;-250.0000", kNoError}, {"CURR:LIM:RMS?", "+15.7500", kNoError},
        {"CURR:LIM:RMS 16", nullptr, kRange}, {"LINE:VOLT?", nullptr, kExecution},
        {"SQU:DCYC?", "+50.0000", kNoError}, {"SQU:DCYC 25;DCYC?", "+25.0000", kNoError},
        {"SQU:DCYC MAX;DCYC?", "+99.9000", kNoError}, {"SQU:DCYC", nullptr, kParamError},
        {"FREQ 500;:SQU:DCYC 25.4;DCYC?", "+25.0000", kNoError}, {"FREQ 2000;FREQ?", "+2000.0000", kNoError},
        {"SQU:DCYC 5", nullptr, kRange}, {"SQU:DCYC? MIN", "+10.0000", kNoError},
        {"FREQ 50;:SQU:DCYC 50;DCYC?", "+50.0000", kNoError}, {"VOLT:RANG?", "100", kNoError},
        {"VOLT:RANG 2;RANG?", "AUTO", kNoError}, {"VOLT:RANG 150", nullptr, kRange},
        {"VOLT:RANG -1", nullptr, kRange}, {"VOLT:RANG R100;RANG?", "100", kNoError},
        {"MODE AC-EXT;:VOLT:RANG AUTO", nullptr, kExecution}, {"MODE ACDC-INT;:VOLT:RANG?", "100", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, PhaseAnglesSyncAndStates) {
    // clang-format off
    const ScpiStep steps[] = {
        {"PHAS:STAR 90;STAR?", "+90.0000", kNoError}, {"PHAS:STAR:STAT FIX;STAT?", "FIXED", kNoError},
        {"PHAS:STAR:STAT -1", nullptr, kRange}, {"PHAS:STAR:STAT FREE;:PHAS:STAR 0", nullptr, kNoError},
        {"PHAS:PHAS? L12;PHAS? L13", "+120.0;+240.0", kNoError}, {"PHAS:PHAS L12,100.25;PHAS? L12", "+100.3", kNoError},
        {"PHAS:PHAS 5,100", nullptr, kRange}, {"PHAS:PHAS L13,1e12", nullptr, kRange},
        {"PHAS:PHAS? L12;PHAS? L13", "+100.3;+240.0", kNoError}, {"PHAS:SYNC?", "0.0", kNoError},
        {"PHAS:SYNC 90.5;SYNC?", "90.5", kNoError}, {"PHAS:SYNC 1e12", nullptr, kRange},
        {"PHAS:SYNC 0;:PHAS:MODE BAL;MODE?", "Balance", kNoError}, {"PHAS:PHAS? L13,MAX", "+240.0", kNoError},
        {"PHAS:PHAS L12,100", nullptr, kExecution},
        {"PHAS:MODE UNB;:PHAS:PHAS L12,120;PHAS? L12", "+120.0", kNoError},
    };
    // clang-format on
    Run(steps);
}

TEST_F(ScpiSource, OutputModesWaveformAndLimits) {
    // clang-format off
    const ScpiStep steps[] = {
        {"MODE?", "ACDC-INT", kNoError}, {"MODE 7;MODE?", "ACDC-Sync", kNoError}, {"MODE 10", nullptr, kSystemError},
        {"MODE -1", nullptr, kSystemError}, {"SOUR:MODE DC-INT;:FUNC?", "DC", kNoError},
        {"FUNC SIN", nullptr, kExecution}, {"FREQ?", nullptr, kExecution},
        {"MODE AC-INT;:VOLT:LIM:RMS?", "+175.0000", kNoError}, {"VOLT:LIM:PEAK?", nullptr, kExecution},
        {"VOLT:LIM:RMS 150;:VOLT? MAX", "+150.0000", kNoError}, {"VOLT:LIM:RMS 1e12", nullptr, kRange},
        {"VOLT:LIM:RMS MAX;RMS?", "+175.0000", kNoError}, {"FUNC SQU;FUNC?", "SQU", kNoError},
        {"FUNC -1", nullptr, kRange}, {"FUNC:THD:FORM CSA;FORM?", "CSA", kNoError},
        {"FUNC:THD:FORM -1", nullptr, kRange}, {"VOLT:RESP?", "+1", kNoError}, {"VOLT:RESP 3", nullptr, kRange},
        {"FUNC SIN;:FUNC:THD:FORM IEC;:MODE ACDC-INT;MODE?", "ACDC-INT", kNoError},
    };
    // clang-format on
    Run(steps);
}

// In Balance the line value's ceiling follows the phases (175 V x sqrt(3)) and a line value is written back
// to them (173.2 V / sqrt(3) = 100 V on each).
TEST_F(ScpiSource, LineVoltageSetsThePhasesInBalance) {
    // clang-format off
    const ScpiStep steps[] = {
        {"PHAS:MODE BAL;MODE?", "Balance", kNoError}, {"LINE:VOLT? MAX", "+303.1100", kNoError},
        {"LINE:VOLT 173.2;:VOLT?", "+100.0000", kNoError}, {"LINE:VOLT 303.2", nullptr, kRange},
        {"VOLT?", "+100.0000", kNoError}, {"LINE:VOLT:OFFS 1000", nullptr, kRange},
        {"LINE:VOLT 0;:VOLT?", "+0.0000", kNoError}, {"PHAS:MODE UNB;MODE?", "Unbalance", kNoError},
    };
    // clang-format on
    Run(steps);
}

}  // namespace
