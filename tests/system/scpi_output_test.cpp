// The OUTPut, PARallel, DISPlay, INPut, INSTrument and ETHernet:DHCP commands over the LAN socket of a
// controller on a fresh root (model type 1, 3P4W, ACDC-INT, 100 V, a stand-alone master): each line sends
// one program message and names its reply line and then the error queue's first entry. Each test puts
// back what it changed.
#include <gtest/gtest.h>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiOutput : public ScpiSocketSuite {};

TEST_F(ScpiOutput, OutputSwitch) {
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

TEST_F(ScpiOutput, OutputSettingsAndParallelRole) {
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

TEST_F(ScpiOutput, DisplayInputAndInstrument) {
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
TEST_F(ScpiOutput, TreeRefusesFirst) {
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

}  // namespace
