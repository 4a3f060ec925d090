#include "sysadmin/command_output.h"

#include <cstdio>

#include "platform/sandbox/sandbox.h"

bool CommandFirstLine(const char* command, std::string* line, size_t max) {
    std::FILE* pipe = plat::Popen(command, "r");
    if (pipe == nullptr) return false;
    std::string buf(max + 1, '\0');
    const bool got = std::fgets(buf.data(), static_cast<int>(max + 1), pipe) != nullptr;
    plat::Pclose(pipe);
    if (got) line->assign(buf.c_str());
    return got;
}
