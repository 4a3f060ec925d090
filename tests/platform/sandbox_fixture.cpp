#include "tests/platform/sandbox_fixture.h"

#include "platform/sandbox.h"

namespace sandboxtest {

Result Capture(const std::string& command) {
    Result result;
    FILE* stream = plat::Popen(command.c_str(), "r");
    if (stream == nullptr) return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        result.out.append(buffer, n);
    result.status = plat::Pclose(stream);
    return result;
}

}  // namespace sandboxtest
