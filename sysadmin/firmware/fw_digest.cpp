#include "sysadmin/firmware/fw_digest.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"

std::string FwUpd_Md5(const char* path) {
    char command[128];
    std::snprintf(command, sizeof command, "md5sum %s", path);
    FILE* pipe = plat::Popen(command, "r");
    if (pipe == nullptr) return "";
    char line[160] = {};
    if (std::fgets(line, sizeof line, pipe) == nullptr) line[0] = '\0';
    const int status = plat::Pclose(pipe);
    std::string digest(line, strnlen(line, 32));
    for (char c : digest)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return "";
    return status == 0 && digest.size() == 32 ? digest : "";
}

sysadmin::FileDigest sysadmin::FwFileDigest(const char* path) {
    const std::string md5 = FwUpd_Md5(path);
    return {FileSize(path), md5};
}

bool sysadmin::FwFileMatches(const FileDigest& digest, const char* path) {
    return digest.size > 0 && digest.size == FileSize(path) && !digest.md5.empty() &&
           digest.md5 == FwUpd_Md5(path);
}
