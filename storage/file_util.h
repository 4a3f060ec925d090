#pragma once
// File services that every file routine uses. Paths are instrument paths (mapped under the root).
#include <cstddef>
#include <cstdint>

// Size in bytes, -1 when the path does not exist (a directory has its own size).
int32_t FileSize(const char* path);
// 1 directory, 0 other, -1 missing.
int32_t IsDirectory(const char* path);
// A block aligned to at least 4 bytes, released with free; null on failure.
void* AlignedAlloc(size_t n);
