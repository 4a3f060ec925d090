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
    // The request's length as the server frames the stream: what the map is handed.
    const int frame = remote::ModbusFrameLength(adu, static_cast<int>(n));
    if (frame != -1 && frame != 0 && (frame <= remote::kMbapSize || frame > remote::kMaxAdu)) std::abort();
    if (frame <= 0 || frame > static_cast<int>(n)) return -1;  // the server waits for more, or closes
    // The first byte decides whether Modbus is enabled, so both ways are fuzzed.
    g_ThreadCtl.running[kRunModbus].store((adu[0] & 1) == 0 ? 1 : 0);
    uint8_t answer[remote::kMaxAdu];
    const uint32_t before = g_ParamFlags.load();
    const int length = remote::ModbusAnswer(adu, frame, answer);
    const uint32_t after = g_ParamFlags.load();
    if (length == -1) {
        if (before != after) std::abort();
        return -1;
    }
    const uint8_t function = adu[remote::kMbapSize];
    // The request's header comes back with the answer's own length, then the function code (bit 7
    // set on an exception, which is one code byte of the protocol's).
    constexpr int kException = remote::kMbapSize + 2;
    if (length < kException || length > remote::kMaxAdu) std::abort();
    if (std::memcmp(answer, adu, 4) != 0 || answer[6] != adu[6]) std::abort();
    if ((answer[4] << 8 | answer[5]) != length - 6) std::abort();
    const uint8_t answered = answer[remote::kMbapSize];
    const bool exception = answered == (function | 0x80) && length == kException;
    if (!exception && answered != function) std::abort();
    if (function >= 0x80 && !(exception && answer[kException - 1] == 1)) std::abort();
    const int code = exception ? answer[kException - 1] : 0;
    if (exception && code != 1 && code != 2 && code != 3 && code != 4 && code != 6) std::abort();
    const bool write = function == 0x06 || function == 0x10;
    if (before != after && !(write && !exception)) std::abort();
    if ((before ^ after) & ~static_cast<uint32_t>(core::kFlagKeysLocked)) std::abort();
    return code;
}

}  // namespace modbusfuzz
