#pragma once
// IEEE 488.2 definite-length blocks of the memory transfers: the header in front of a reply, and the
// checked reading of a received block.
#include <cstdint>

struct ScpiInterface;

// Length of the header "#<n><length>" for length data bytes; -1 when it cannot be written.
int BlockHeaderLength(uint32_t length);
// Writes that header at buffer (no terminator) and returns its length, -1 as above.
int BlockHeaderWrite(uint8_t* buffer, uint32_t length);

namespace scpi {

// Parameter i as a definite block whose count is exactly the bytes that came with it: 0, the data and
// the count; -310 when it is no block, -160 for a header that does not hold.
uint32_t DataBlockParam(const ScpiInterface* ifc, uint32_t i, const uint8_t** data, uint32_t* length);

}  // namespace scpi
