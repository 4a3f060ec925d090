#pragma once
// The first line a shell command prints (through the command sandbox).
#include <cstddef>
#include <string>

// True when the command printed a line; *line gets at most max characters of it, line end included.
bool CommandFirstLine(const char* command, std::string* line, size_t max);
