#include "scpi/handlers/data/data_block.h"

#include <cstdio>

#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/parser/scpi_errors.h"

namespace {

// The digit count goes in one digit: a count of ten digits has no header.
constexpr uint32_t kLargestCount = 999999999;

}  // namespace

int BlockHeaderLength(uint32_t length) {
    if (length > kLargestCount) return -1;
    char digits[12];
    return std::snprintf(digits, sizeof digits, "%d", static_cast<int>(length)) + 2;
}

int BlockHeaderWrite(uint8_t* buffer, uint32_t length) {
    const int total = BlockHeaderLength(length);
    if (total < 0 || buffer == nullptr) return -1;
    char text[16];
    std::snprintf(text, sizeof text, "#%d%d", total - 2, static_cast<int>(length));
    for (int k = 0; k < total; ++k)
        buffer[k] = static_cast<uint8_t>(text[k]);
    return total;
}

namespace scpi {

uint32_t DataBlockParam(const ScpiInterface* ifc, uint32_t i, const uint8_t** data, uint32_t* length) {
    const uint8_t* bytes = nullptr;
    const int size = scpiGetBlock(ifc, i, &bytes);
    if (size < 0) return kScpiErrSystem;
    ScpiBlockHeader header{};
    const uint32_t got = static_cast<uint32_t>(size);
    if (scpiParseBlockHeader(bytes, got, &header) != 0 || 2 + header.digits + header.length != got)
        return kScpiErrBlockData;
    *data = header.data;
    *length = header.length;
    return 0;
}

}  // namespace scpi
