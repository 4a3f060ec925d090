#include "tests/remote/modbus_fuzz_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/params/param_store.h"
#include "core/system/links/thread_ctl.h"
#include "remote/modbus/modbus_request.h"

namespace modbusfuzz {

int One(const uint8_t* data, size_t size) {
    uint8_t adu[remote::kMaxAdu];
    const size_t n = std::min(size, static_cast<size_t>(remote::kMaxAdu));
    if (n > 0) std::memcpy(adu, data, n);
    // The request's length as the server frames the stream: what Decide is handed.
    const int frame = remote::ModbusFrameLength(adu, static_cast<int>(n));
    if (frame != -1 && frame != 0 && (frame <= remote::kMbapSize || frame > remote::kMaxAdu)) std::abort();
    if (frame <= 0 || frame > static_cast<int>(n)) return -1;  // the server waits for more, or closes
    // The first byte decides whether Modbus is enabled, so both ways are fuzzed.
    g_ThreadCtl.running[kRunModbus].store((adu[0] & 1) == 0 ? 1 : 0);
    uint16_t registers[remote::kModbusHoldingCount + 1];
    const uint16_t guard = 0x5A5A;
    registers[remote::kModbusHoldingCount] = guard;
    const uint32_t before = g_ParamFlags.load();
    const int verdict = remote::ModbusRequestDecide(adu, frame, remote::kMbapSize, registers);
    const uint32_t after = g_ParamFlags.load();
    const uint8_t function = adu[remote::kMbapSize];
    const bool write = function == 0x06 || function == 0x10;
    if (verdict != -1 && verdict != 0 && verdict != 1 && verdict != 2 && verdict != 3 && verdict != 4 &&
        verdict != 6)
        std::abort();
    if (registers[remote::kModbusHoldingCount] != guard) std::abort();
    if (before != after && !(write && verdict == 0)) std::abort();
    if ((before ^ after) & ~static_cast<uint32_t>(core::kFlagKeysLocked)) std::abort();
    return verdict;
}

}  // namespace modbusfuzz
