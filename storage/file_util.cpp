#include "storage/file_util.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/host/root.h"

int32_t FileSize(const char* path) {
    if (path == nullptr) return -1;
    struct stat st;
    if (stat(plat::MapPath(path).c_str(), &st) != 0) return -1;
    return st.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(st.st_size);
}

int32_t IsDirectory(const char* path) {
    if (path == nullptr) return -1;
    struct stat st;
    if (stat(plat::MapPath(path).c_str(), &st) != 0) return -1;
    return S_ISDIR(st.st_mode) ? 1 : 0;
}

void* AlignedAlloc(size_t n) {
    // The C library wants an alignment of at least a pointer's size; that is also 4-byte aligned.
    constexpr size_t kAlign = sizeof(void*) > 4 ? sizeof(void*) : 4;
    void* block = nullptr;
    if (posix_memalign(&block, kAlign, n) != 0) return nullptr;
    return block;
}
