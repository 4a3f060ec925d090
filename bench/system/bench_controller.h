#pragma once
// What the benchmarks that drive a running controller share: this build's controller started and waited
// for, and a client of its SCPI socket. Each says on stderr why it failed.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace benchsupport {

// The controller of this build, unless VRN_BUILD_DIR names another one; before the controller starts.
inline void UseThisBuildsController() {
    if (std::getenv("VRN_BUILD_DIR") == nullptr) setenv("VRN_BUILD_DIR", VRN_BINARY_DIR, 1);
}

// True once the controller listens on its SCPI socket and, when asked, serves its web port 80.
inline bool ControllerReady(testsupport::ControllerProcess& controller, bool web) {
    const int offset = controller.portOffset();
    if (controller.WaitForOutput("SCPI socket listening on port " + std::to_string(5025 + offset),
                                 testsupport::kStartupTimeoutMs) &&
        (!web || controller.WaitForOutput("Web: serving port " + std::to_string(80 + offset),
                                          testsupport::kStartupTimeoutMs)))
        return true;
    std::fprintf(stderr, "the controller did not start:\n%s\n", controller.Output().c_str());
    return false;
}

// A client of the controller's SCPI socket; null when it cannot connect.
inline std::unique_ptr<testsupport::TcpClient> ScpiClient(const testsupport::ControllerProcess& controller) {
    const int port = 5025 + controller.portOffset();
    auto client = std::make_unique<testsupport::TcpClient>(port);
    if (client->Connected()) return client;
    std::fprintf(stderr, "cannot connect to port %d\n", port);
    return nullptr;
}

}  // namespace benchsupport
