#pragma once
// Checks of a copied firmware file against its source, by md5sum through the command sandbox.
#include <cstdint>
#include <string>

// The 32 hexadecimal digits md5sum gives for the file; "" when it fails or prints anything else.
std::string FwUpd_Md5(const char* path);

namespace sysadmin {
// A source's size and digest, taken before it is copied: a copy is checked against what was there when
// the copy began, not against what the source holds afterwards.
struct FileDigest {
    int32_t size;
    std::string md5;
};
FileDigest FwFileDigest(const char* path);
// True when the file has the digest's size above 0 and its md5 digest.
bool FwFileMatches(const FileDigest& digest, const char* path);
}  // namespace sysadmin
