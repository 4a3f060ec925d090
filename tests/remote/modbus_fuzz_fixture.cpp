#include "tests/remote/modbus_fuzz_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/params/param_store.h"
#include "core/system/state/thread_ctl.h"
#include "remote/modbus/modbus_request.h"

namespace modbusfuzz {

int One(const uint8_t* data, size_t size) {
    constexpr size_t kMaxAdu = 260;
    constexpr int kHeader = 7;
    uint8_t adu[kMaxAdu];
    const size_t n = std::min(size, kMaxAdu);
    if (n > 0) std::memcpy(adu, data, n);
    // The first byte past the header decides whether Modbus is enabled, so both ways are fuzzed.
    g_ThreadCtl.running[kRunModbus].store(n > 0 && (adu[0] & 1) == 0 ? 1 : 0);
    uint16_t registers[remote::kModbusHoldingCount + 1];
    const uint16_t guard = 0x5A5A;
    registers[remote::kModbusHoldingCount] = guard;
    const uint32_t before = g_ParamFlags.load();
    const int verdict = remote::ModbusRequestDecide(adu, static_cast<int>(n), kHeader, registers);
    const uint32_t after = g_ParamFlags.load();
    const uint8_t function = n > kHeader ? adu[kHeader] : 0;
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
