// libFuzzer target for the SCPI lexer and parser: every input is a stream of program messages fed to
// a channel; the channel's invariants are checked after each (see FuzzOneInput).
#include <cstddef>
#include <cstdint>

#include "tests/scpi/scpi_channel_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    scpitest::FuzzOneInput(data, size);
    return 0;
}
