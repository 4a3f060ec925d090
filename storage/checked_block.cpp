#include "storage/checked_block.h"

bool CheckedBlockPayload(const uint8_t* data, size_t size, size_t* offset, size_t* length) {
    if (size < 2 || data[0] != '#' || data[1] < '1' || data[1] > '9') return false;
    const size_t digits = static_cast<size_t>(data[1] - '0');
    if (size < 2 + digits) return false;
    size_t blockLength = 0;
    for (size_t i = 2; i < 2 + digits; ++i) {
        if (data[i] < '0' || data[i] > '9') return false;
        blockLength = blockLength * 10 + static_cast<size_t>(data[i] - '0');
    }
    // The length counts the checksum: below 4 there is no room for it.
    if (blockLength < 4 || size != 2 + digits + blockLength) return false;
    const uint8_t* sum = data + 2 + digits;
    const uint32_t stored = sum[0] | sum[1] << 8 | sum[2] << 16 | static_cast<uint32_t>(sum[3]) << 24;
    uint32_t actual = 0;
    for (size_t i = 6 + digits; i < size; ++i)
        actual += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(data[i])));
    if (actual != stored) return false;
    *offset = 6 + digits;
    *length = blockLength - 4;
    return true;
}
