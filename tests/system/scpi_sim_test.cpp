// The [SOURce:]SIMulation commands over the LAN socket of a controller on a fresh root (model type 1,
// ACDC-INT, 100 V range, output off): each line sends one program message and names its reply line and
// then the error queue's first entry. The test leaves the SEQ/SIM function off again.
#include <gtest/gtest.h>

#include "tests/system/scpi_socket_suite.h"

namespace {

using namespace testsupport;

class ScpiSim : public ScpiSocketSuite {};

TEST_F(ScpiSim, StateFieldsAndStatusByMode) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SIM:COND?", nullptr, kSystemError}, {"SIM:CTIM?", "+0,+0,+0,+0", kNoError},
        {"SIM:INIT:VOLT 10", nullptr, kSystemError}, {"SIM:INST:SEL?", nullptr, kSystemError},
        {"SYST:CONF:MODE SEQ;:SIM:INIT:VOLT 10", nullptr, kSystemError},
        {"SIM:CST?", nullptr, kSystemError}, {"SYST:CONF:MODE SIM", nullptr, kNoError},
        {"SIM:NORM2:VOLT 100", nullptr, kUndefined}, {"SOUR:SIM:NORM2:FREQ?", nullptr, kUndefined},
        {"SIM:NORM1:VOLT 100;VOLT?", "+100.00", kNoError}, {"SIM:ABN:FREQ 55;FREQ?", "+55.00", kNoError},
        {"SOUR:SIM:ABN:VOLT 50.5;:SIM:ABN:VOLT?", "+50.50", kNoError},
        {"SIM:NORM1:TIME 1.5;TIME?", "+1.5000", kNoError}, {"SIM:TRAN1:TIME MIN;TIME?", "+0.0000", kNoError},
        {"SIM:INIT:FREQ 600;:SIM:INIT:PHAS:STAR 359.95", nullptr, kRange},
        {"SIM:INIT:PHAS:STOP MAX;STOP?", "+359.0", kNoError}, {"SIM:INIT:VOLT? MAX", "+175.00", kNoError},
        {"SIM:INIT:FREQ? MAX", "+2000.00", kNoError}, {"SIM:INIT:CODE 4", nullptr, kRange},
        {"SIM:INIT:CODE?", "+3", kNoError}, {"SIM:NORM1:TIME -1", nullptr, kRange},
        {"SIM:NORM1:TIME?", "+1.5000", kNoError}, {"SIM:ABN:PHAS:STAR:ENAB FIX;ENAB?", "+1", kNoError},
        {"SIM:REP:COUN MAX;COUN?", "+9999", kNoError}, {"SIM:INST:SEL?", "L1", kNoError},
        {"SIM:INST:SEL L2", nullptr, kUndefined}, {"SIM:COND?", "+0", kNoError}, {"SIM:CST?", "+5", kNoError},
        {"SIM:CREP:COUN?", "+5,-1", kNoError}, {"SIM:CTIM?", "+5,+0,+0,+0", kNoError},
        {"SYST:CONF:MODE CONT;:SYST:CONF?", "CONT", kNoError},
    };
    // clang-format on
    Run(steps);
}

// The command tree refuses these forms before a handler runs; a status command in set form reaches its
// handler, which refuses it.
TEST_F(ScpiSim, FormsRefusedFirstByTheTree) {
    // clang-format off
    const ScpiStep steps[] = {
        {"SYST:CONF:MODE SIM", nullptr, kNoError}, {"SIM:COND", nullptr, kUndefined},
        {"SIM:COND 1", nullptr, "-108,\"Parameter not allowed\""},
        {"SIM:REP:ENAB? MAX", nullptr, "-108,\"Parameter not allowed\""},
        {"SIM:NORM3:CODE?", nullptr, "-114,\"Header suffix out of range\""},
        {"SIM:INIT:VOLT ON", nullptr, "-224,\"Illegal parameter value\""},
        {"SYST:CONF:MODE CONT", nullptr, kNoError},
    };
    // clang-format on
    Run(steps);
}

}  // namespace
