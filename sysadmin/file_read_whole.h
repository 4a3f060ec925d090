#pragma once
// Reads a file of known size (an instrument path) whole into a buffer of at least that size.
#include <cstddef>
#include <cstdint>

// 0, -101 the file cannot be opened, -102 it holds fewer bytes than size.
int32_t FileReadWhole(const char* path, uint8_t* buffer, size_t size);
