#include "platform/sandbox/tools/tar_check.h"

#include <zlib.h>

#include <cstring>
#include <string_view>

namespace {

constexpr size_t kBlock = 512;

// An octal field (spaces or NULs around the digits); false when it holds anything else.
bool Octal(const uint8_t* field, size_t width, uint64_t* value) {
    *value = 0;
    size_t i = 0;
    while (i < width && field[i] == ' ')
        ++i;
    bool digits = false;
    for (; i < width && field[i] >= '0' && field[i] <= '7'; ++i, digits = true)
        *value = *value * 8 + (field[i] - '0');
    for (; i < width; ++i)
        if (field[i] != ' ' && field[i] != 0) return false;
    return digits;
}

bool ChecksumRight(const uint8_t* header) {
    uint64_t stored = 0;
    if (!Octal(header + 148, 8, &stored)) return false;
    uint64_t sum = 0;
    for (size_t i = 0; i < kBlock; ++i)
        sum += i >= 148 && i < 156 ? ' ' : header[i];
    return sum == stored;
}

std::string_view Field(const uint8_t* header, size_t offset, size_t width) {
    const char* text = reinterpret_cast<const char*>(header + offset);
    return std::string_view(text, strnlen(text, width));
}

bool NameSafe(std::string_view name, std::string_view top) {
    if (name.empty() || name[0] == '/') return false;
    if (!top.empty() && name.substr(0, name.find('/')) != top) return false;
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

// The member's name as the unpacking tar (GNU tar) reads it: the prefix field counts only behind the
// POSIX magic "ustar\0", whatever the two version bytes after it hold. An old GNU header ("ustar  \0")
// or one without a magic gives the name field alone, so a prefix there must not make a name look
// inside the top folder.
std::string MemberName(const uint8_t* header) {
    std::string name(Field(header, 0, 100));
    if (std::memcmp(header + 257, "ustar\0", 6) == 0 && header[345] != 0)
        name = std::string(Field(header, 345, 155)) + "/" + name;
    return name;
}

bool AllZero(const uint8_t* block) {
    for (size_t i = 0; i < kBlock; ++i)
        if (block[i] != 0) return false;
    return true;
}

}  // namespace

bool TarMembersSafe(const uint8_t* data, size_t size, const char* top) {
    for (size_t at = 0; at + kBlock <= size;) {
        const uint8_t* header = data + at;
        if (AllZero(header)) return true;
        if (!ChecksumRight(header)) return false;
        // '0' or NUL a plain file, '5' a folder; links, devices, FIFOs and extended headers (which
        // could rename the next member) are refused.
        const uint8_t type = header[156];
        if (type != '0' && type != 0 && type != '5') return false;
        const std::string name = MemberName(header);
        uint64_t length = 0;
        if (!NameSafe(name, top) || !Octal(header + 124, 12, &length)) return false;
        // tar takes a name ending in '/' for a folder too, and reads the block after a folder's header
        // as the next header whatever its size says: data there would be a member never checked.
        if ((type == '5' || name.back() == '/') && length != 0) return false;
        const uint64_t blocks = (length + kBlock - 1) / kBlock;
        if (length > size || blocks * kBlock > size - at - kBlock) return false;
        at += kBlock + static_cast<size_t>(blocks) * kBlock;
    }
    return false;  // no end block: a truncated archive
}

bool TarGzMembersSafe(const std::string& compressed, size_t maxSize, const char* top) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return false;
    std::string archive;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    char chunk[64 * 1024];
    while (status == Z_OK && archive.size() <= maxSize) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        archive.append(chunk, sizeof chunk - stream.avail_out);
    }
    // Bytes after the first gzip member would be unpacked by tar unchecked.
    const bool whole = status == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return whole && archive.size() <= maxSize &&
           TarMembersSafe(reinterpret_cast<const uint8_t*>(archive.data()), archive.size(), top);
}
