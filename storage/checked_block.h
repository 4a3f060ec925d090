#pragma once
// The checksummed block in which an image travels on USB memory: '#', one digit d (1-9), the decimal
// length L in d digits, then a u32 little-endian checksum (the sum of the L-4 payload bytes, each
// taken as a signed byte) and the payload.
#include <cstddef>
#include <cstdint>

// Where the payload lies: true with its offset (d + 6) and length (L - 4) when the file is exactly
// d + 2 + L bytes long and its checksum matches; false for any other file.
bool CheckedBlockPayload(const uint8_t* data, size_t size, size_t* offset, size_t* length);
