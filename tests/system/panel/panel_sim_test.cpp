// The SIMULATE power-on action of the running controller after a restart.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

bool Ready(testsupport::ControllerProcess& p) {
    return p.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs) &&
           p.WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(5025 + p.portOffset()),
                           testsupport::kStartupTimeoutMs);
}

// The SIMULATE power-on action: after the restart the panel enters SIMULATE, prepares, and only then the
// output goes on (lamps: output and SEQ/SIM).
TEST(PanelSimPowerOn, EntersAndSwitchesTheOutputOnAfterThePreparation) {
    testsupport::ControllerProcess first({"--text-log"});
    ASSERT_TRUE(Ready(first)) << first.Output();
    {
        testsupport::TcpClient client(5025 + first.portOffset());
        // The reboot may close the connection before any reply: its new start shows it was taken.
        client.Send("OUTP:PON 3;:SYST:REB\n");
        ASSERT_TRUE(testsupport::StartedAgain(first)) << first.Output();
    }
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();

    testsupport::ControllerProcess second({"--root", first.root(), "--text-log"});
    ASSERT_TRUE(Ready(second)) << second.Output();
    EXPECT_TRUE(second.WaitForOutput("popup: Simulation is ready.", 30000)) << second.Output();
    const std::string lamps = first.root() + "/var/run/panel-lamps";  // the root the second start runs on
    std::string word;
    for (int waited = 0; waited <= 10000 && word != "0x9"; waited += 20) {
        std::ifstream f(lamps);
        if (!(f >> word) || word != "0x9") std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(word, "0x9") << "output and SEQ/SIM lamps\n" << second.Output();
}

}  // namespace
