#pragma once
// The check of an archive from outside (an update package, the web pages) before anything of it is
// extracted: a member could otherwise write outside the folder it is unpacked into (an absolute
// name, a ".." part, a link followed by a member below it) or create a device.
#include <cstddef>
#include <cstdint>
#include <string>

// True when `data` is a whole tar archive (ustar or old format) that holds only plain files and
// folders with relative names free of ".." parts, all inside the folder `top` (its name as the first
// part; an empty `top` takes members at the top level too): every header's checksum right, every
// member's data inside the archive, no folder with data,
// and the archive ends with its zero block. Names are taken as the unpacking tar takes them: prefix and
// name of a POSIX header, the name alone of an old GNU or old-format one.
bool TarMembersSafe(const uint8_t* data, size_t size, const char* top);

// The same for a gzip-compressed archive, unpacked in memory first (at most maxSize bytes).
bool TarGzMembersSafe(const std::string& compressed, size_t maxSize, const char* top);
