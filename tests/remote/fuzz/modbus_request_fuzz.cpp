// libFuzzer target for the Modbus register map's entry (see modbusfuzz::One).
#include <cstddef>
#include <cstdint>

#include "tests/remote/modbus_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    modbusfuzz::One(data, size);
    return 0;
}
