#pragma once
// One fuzz input through the register map's entry: the bytes are a request frame as libmodbus hands
// it over (a 7-byte TCP header, then the function code), at most a TCP frame's 260 bytes. The input
// fails (abort) when the decision is not one the map names, when a register past the map is written,
// or when the key-lock bit changes on a request that was not an accepted write. Shared by the libFuzzer
// target and the seed replay test.
#include <cstddef>
#include <cstdint>

namespace modbusfuzz {

int One(const uint8_t* data, size_t size);

}  // namespace modbusfuzz
