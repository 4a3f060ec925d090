// libFuzzer target of the definite-length block header reader that every memory transfer passes its
// received bytes through: whatever the bytes, an accepted header lies inside them, its data lies inside
// them, and a header written for its count is no longer than the one read. The input sits in a buffer of
// exactly its size, so AddressSanitizer stops a read one byte beyond it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "scpi/handlers/data/data_block.h"
#include "scpi/handlers/scpi_refusals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size == 0 ? 1 : size]);
    std::memcpy(bytes.get(), data, size);
    ScpiBlockHeader h{};
    if (scpiParseBlockHeader(bytes.get(), static_cast<uint32_t>(size), &h) != 0) return 0;
    if (h.digits < 1 || h.digits > 9) std::abort();
    if (h.data != bytes.get() + 2 + h.digits || h.length > size - 2 - h.digits) std::abort();
    uint32_t sum = 0;
    for (uint32_t i = 0; i < h.length; ++i)
        sum += h.data[i];
    uint8_t header[16];
    const int written = BlockHeaderWrite(header, h.length);
    if (written < 3 || written != BlockHeaderLength(h.length) ||
        static_cast<uint32_t>(written) > 2 + h.digits || header[0] != '#' || header[1] != '0' + (written - 2))
        std::abort();
    // Kept so that the reads above are not optimised away.
    return sum == UINT32_MAX ? 1 : 0;
}
