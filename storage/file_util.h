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
// kept: the file names' upper-case copy.
// Copies src with a-z turned into A-Z, including its NUL; the text length, or -1 (nothing copied) when a
// pointer is null or src has no NUL within n characters.
int32_t UpperCaseCopy(char* dst, const char* src, size_t n);
