#pragma once
// The brand's update package on USB memory ("/mnt/sd1/<dir>/<dir>.sb6"): a 32-byte header, then a
// tar archive with the two 4-bit halves of every byte swapped, unpacked into /tmp.
#include <cstddef>
#include <cstdint>

constexpr size_t kPkgHeaderSize = 32;

// 0 with *headerLength = 32 when the header is sound: '#', "28" in bytes 2-3 and byte 4 the low 8 bits
// of the sum of bytes 5 to 31; else -600. `size` is the bytes the buffer holds.
int32_t PkgHeaderCheck(const uint8_t* buffer, size_t size, uint32_t* headerLength);

// Unpacks the package of the brand directory `name` (a row of g_BrandDirTable) into /tmp/<name>, after
// removing what an earlier package left there. 0, or -100 no file, empty, another name or USB memory
// not usable; -106 no memory; -101 open failure; -102 short read; -600 a bad header or a file too short
// for one; -103 the archive cannot be created (or the old unpacked folder removed); -104 a short write of
// the archive (nothing left of it); -105 an unsafe or truncated archive (nothing extracted) or tar
// failing (its partial output removed).
int32_t PkgUnpack(const char* name);
