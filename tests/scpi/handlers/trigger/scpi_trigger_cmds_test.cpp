// The trigger-action commands over the parser on a capturing fake channel: arming an action, aborting it,
// and the stored values of the OUTPut and MEMory actions.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/scpi/channel_test_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

class TriggerOverTheParser : public scpitest::ChannelTest {};

// *TRG fires only an armed action, once; ABORt disarms it. MEMory's value is a memory 0..9 (MAXimum is 9),
// OUTPut's is OFF/ON as 0/1; INITiate alone is no command and a stored value's query takes no parameter.
// {program message, reply|errors}.
TEST_F(TriggerOverTheParser, ArmAbortAndStoredValues) {
    using scpitest::kRange;
    const std::string ignored = "|-211,\"Trigger ignored\"";
    scpitest::ExpectRuns(ch, {
        {"*TRG", ignored},
        {"INIT:NAME OUTP;*TRG", "|"},
        {"*TRG", ignored},
        {"INIT:NAME OUTP;:ABOR;*TRG", ignored},
        {"INIT", "|-113,\"Undefined header\""},
        {"MEM:TRIG MAX;TRIG?", "+9|"},
        {"MEM:TRIG 10", "|" + kRange},
        {"MEM:TRIG -1", "|" + kRange},
        {"MEM:TRIG?", "+9|"},
        {"MEM:TRIG? MAX", "|-108,\"Parameter not allowed\""},
        {"OUTP:TRIG ON;TRIG?", "+1|"},
        {"OUTP:TRIG 2", "|" + kRange},
        {"OUTP:TRIG -1", "|" + kRange},
        {"OUTP:TRIG?", "+1|"},
        {"OUTP:TRIG OFF;TRIG?;:MEM:TRIG 0;TRIG?", "+0;+0|"},
    });
}

}  // namespace
