#pragma once
// One fuzz input through the update package check: the bytes as the brand's package on USB memory,
// unpacked by PkgUnpack, and as a plain and a gzip-compressed archive through the checks the web pages
// use, each of those unpacked by the sandbox's tar (the real GNU tar) into /tmp when its check passes.
// The input fails (abort) when anything of the instrument root outside /tmp/qx changed, or PkgUnpack
// gives a result it does not name. Shared by the libFuzzer target and the seed replay test.
#include <cstddef>
#include <cstdint>

namespace pkgfuzz {

// For the fuzz target: an instrument root of its own, prepared like a first start.
void StartRoot();
// USB memory usable and the root's files noted as they stand; run once the root is set.
void Ready();
// PkgUnpack's result for the input (aborts on a broken invariant).
int32_t One(const uint8_t* data, size_t size);

}  // namespace pkgfuzz
