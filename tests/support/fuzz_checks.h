#pragma once
// What the fuzz targets of the stored-data readers share: the stop on a broken promise, with the reader's
// name, and the check of a result against the codes its reader documents.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace testsupport {

[[noreturn]] inline void Fail(const char* reader, const char* what) {
    std::fprintf(stderr, "%s fuzz: %s\n", reader, what);
    std::abort();
}

inline bool OneOf(int32_t r, std::initializer_list<int32_t> allowed) {
    for (int32_t a : allowed)
        if (r == a) return true;
    return false;
}

}  // namespace testsupport
