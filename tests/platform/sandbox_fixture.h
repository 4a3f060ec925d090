#pragma once
#include <string>

namespace sandboxtest {

struct Result {
    int status = -1;
    std::string out;
};

// Runs a command line through plat::Popen and collects its output and exit status.
Result Capture(const std::string& command);

}  // namespace sandboxtest
