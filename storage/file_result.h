#pragma once
// Result codes shared by every data-file routine; a positive result is success (1, or a byte count).
#include <cstdint>

enum FileResult : int32_t {
    kFileBadArgument = -1,
    kFileMissing = -100,     // missing or empty
    kFileOpenFailed = -101,  // file or directory could not be opened
    kFileShortRead = -102,   // short read, or a file larger than the buffer it is read into
    kFileBadFrame = -200,    // wrong size, checksum, kind or version
    kFileBadModel = -201,
    kFileBadRecord = -202,
    kFileNoDirectory = -300,  // missing and could not be created
    kFileShortWrite = -301,
};
