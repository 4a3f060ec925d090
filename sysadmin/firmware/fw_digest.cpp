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

bool FwUpd_SameFile(const char* source, const char* copy) {
    const int32_t size = FileSize(source);
    const std::string digest = FwUpd_Md5(source);
    return size > 0 && size == FileSize(copy) && !digest.empty() && digest == FwUpd_Md5(copy);
}
