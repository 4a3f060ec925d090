#pragma once
// What the fuzz targets of the stored-data readers share: the stop on a broken promise, with the reader's
// name, the check of a result against the codes its reader documents, and the replay of a seed folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

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

// Calls seed(file name, bytes) for every file of a seed folder; the number of files.
template <typename F>
int ForEachSeed(const std::filesystem::path& folder, F seed) {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        seed(entry.path().filename().string(), bytes);
        ++n;
    }
    return n;
}

}  // namespace testsupport
