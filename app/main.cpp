#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "core/regbus/regbus.h"
#include "platform/options.h"
#include "platform/root.h"
#include "platform/stop_signal.h"

int main(int argc, char** argv) {
    int rc = plat::ParseOptions(argc, argv);
    if (rc != 0) return rc > 0 ? 0 : 2;

    plat::SetRoot(plat::GetOptions().root);
    if (plat::PrepareRoot() != 0) {
        std::fprintf(stderr, "vrn-controller: cannot make the instrument root %s: %s\n", plat::Root().c_str(),
                     std::strerror(errno));
        return 1;
    }
    // Before any thread exists, so that every thread inherits the block and only the wait below
    // takes the signals.
    plat::BlockStopSignals();

    BusMapInit();  // ends the process when the register windows cannot be mapped

    std::printf("vrn-controller: instrument root %s\n", plat::Root().c_str());
    std::fflush(stdout);

    int signal = plat::WaitStopSignal();
    std::printf("vrn-controller: stopped by %s\n", signal == SIGINT ? "SIGINT" : "SIGTERM");
    return 0;
}
