#pragma once
// One fuzz input through the request parser: the bytes are the start of a client's stream (a 7-byte TCP
// header, then the function code), at most a TCP frame's 260 bytes; the request the header frames goes
// to the register map for its answer. The input fails (abort) when the framed length leaves 8..260, when
// the answer is not well-formed (the request's header with the answer's length, its function code, or
// the code with bit 7 set and one exception code the map names; a function code of 0x80 and above only
// exception 01), or when the key-lock bit changes on a request that was not an accepted write. Returns
// the exception code, 0 for a reply, -1 for no answer. Shared by the libFuzzer target and the seed
// replay test.
#include <cstddef>
#include <cstdint>

namespace modbusfuzz {

int One(const uint8_t* data, size_t size);

}  // namespace modbusfuzz
