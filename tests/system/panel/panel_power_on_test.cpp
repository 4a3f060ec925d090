// The power-on actions SEQUENCE and SIMULATE, kept by the restart save, on one controller that each reboot
// starts again.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"

namespace {

using namespace testsupport;

// Waits until the output holds text n times in all: a reboot's new start writes into the same output.
bool OutputHolds(ControllerProcess& p, const std::string& text, size_t n, int boundMs = kStartupTimeoutMs) {
    for (int waited = 0; waited <= boundMs; waited += 100) {
        if (CountOf(p.Output(), text) >= n) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// After each reboot the panel enters the chosen mode, prepares, and only then the output goes on (lamps:
// output and SEQ/SIM).
TEST(PanelPowerOn, EachRebootEntersItsModeAndSwitchesTheOutputOnAfterThePreparation) {
    ControllerProcess unit({"--text-log"});
    const std::string listening = "LAN: SCPI socket listening on port " + std::to_string(5025 + unit.portOffset());
    ASSERT_TRUE(OutputHolds(unit, "GuiThread: system ready", 1)) << unit.Output();
    ASSERT_TRUE(OutputHolds(unit, listening, 1)) << unit.Output();
    const struct {
        const char* action;
        const char* ready;
        const char* mode;
    } kActions[] = {{"2", "Sequence is ready.", "SEQ"}, {"3", "Simulation is ready.", "SIM"}};
    size_t starts = 1;
    for (const auto& [action, ready, mode] : kActions) {
        {
            TcpClient client(5025 + unit.portOffset());
            // The reboot may close the connection before any reply: its new start shows it was taken.
            client.Send(std::string("OUTP:PON ") + action + ";:SYST:REB\n");
        }
        ++starts;
        ASSERT_TRUE(OutputHolds(unit, "GuiThread: system ready", starts)) << unit.Output();
        ASSERT_TRUE(OutputHolds(unit, listening, starts)) << unit.Output();
        EXPECT_TRUE(OutputHolds(unit, std::string("popup: ") + ready, 1, 30000)) << unit.Output();
        const std::string lamps = unit.root() + "/var/run/panel-lamps";
        std::string word;
        for (int waited = 0; waited <= 10000 && word != "0x9"; waited += 20) {
            std::ifstream f(lamps);
            if (!(f >> word) || word != "0x9") std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(word, "0x9") << "output and SEQ/SIM lamps\n" << unit.Output();
        TcpClient client(5025 + unit.portOffset());
        client.Send("SYST:CONF?;:OUTP?\n");
        EXPECT_EQ(client.ReadLine(15000), std::string(mode) + ";+1\n") << action;
    }
    EXPECT_EQ(unit.Stop(SIGTERM), 0) << unit.Output();
}

}  // namespace
