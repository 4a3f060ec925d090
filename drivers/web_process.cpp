#include "drivers/web_process.h"

#include <cstdio>
#include <cstdlib>

#include "platform/sandbox/sandbox.h"

int32_t BoaPid() {
    std::FILE* pipe = plat::Popen("pgrep boa", "r");
    if (pipe == nullptr) return -1;
    char line[8] = {};
    if (std::fgets(line, sizeof line, pipe) == nullptr) line[0] = '\0';
    plat::Pclose(pipe);
    const int32_t pid = std::atoi(line);
    return pid >= 1 ? pid : -1;
}
