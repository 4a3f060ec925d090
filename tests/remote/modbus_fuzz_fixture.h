#pragma once
// One fuzz input through the request parser: the bytes are the start of a client's stream (a 7-byte TCP
// header, then the function code), at most a TCP frame's 260 bytes; the request the header frames goes
// to the register map. The input fails (abort) when the framed length leaves 8..260, when the decision
// is not one the map names, when a register past the map is written, or when the key-lock bit changes on
// a request that was not an accepted write. Shared by the libFuzzer
// target and the seed replay test.
#include <cstddef>
#include <cstdint>

namespace modbusfuzz {

int One(const uint8_t* data, size_t size);

}  // namespace modbusfuzz
