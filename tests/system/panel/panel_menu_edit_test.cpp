// The running controller's MENU editors whose effect leaves the process: the LAN's DHCP switch and address
// through the command sandbox, and, on a controller of its own, the USB class change that restarts the
// unit. (The editors' values and keys: tests/screens/menu.)
#include <chrono>
#include <thread>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class MenuEditScenes : public FrontPanelSuite {
  protected:
    static std::string CommandLog() { return ReadFile(c().root() + "/var/log/commands.log"); }
    static bool WaitCommand(const std::string& what, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 50) {
            if (CommandLog().find(what) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    // From the home view down the top list: n rows below System Information.
    static void MenuRow(int n) {
        ASSERT_TRUE(Panel("key L"));
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(Panel("knob -1"));
    }
};

// The new address restarts the network services.
TEST_F(MenuEditScenes, LanDhcpAndAddress) {
    MenuRow(2);
    Keys({"key U", "key U", "knob -1", "key U"});
    EXPECT_EQ(Query("SYST:COMM:LAN:DHCP?"), "+0");
    Keys({"knob -1", "key U", "key C", "key @", "key @", "key U"});
    EXPECT_TRUE(WaitCommand("ifconfig eth0 255.16.28.120 netmask")) << CommandLog();
    Keys({"knob 1", "knob 1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(CountOf(CommandLog(), "ifconfig eth0 255.18.28.120"), 0u) << "turning applies nothing";
    ASSERT_TRUE(Panel("key T"));
    EXPECT_TRUE(WaitCommand("ifconfig eth0 255.18.28.120 netmask")) << CommandLog();
    Keys({"key L", "key L"});
}

// The restart that ends the unit has a controller of its own.
class MenuEditUsbClass : public MenuEditScenes {};

TEST_F(MenuEditUsbClass, UsbClassChangeRestartsTheUnit) {
    MenuRow(3);
    Keys({"key U", "key U", "key U"});  // unchanged: back to the row, nothing else
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(c().Output().find("popup: Switch to USB"), std::string::npos);
    const auto start = std::chrono::steady_clock::now();
    Keys({"key U", "knob 1", "key U"});
    EXPECT_TRUE(c().WaitForOutput("popup: Switch to USB-CDC Mode\nSystem will reboot...")) << c().Output();
    EXPECT_TRUE(WaitFile(c().root() + "/var/run/panel-aux", "0x0\n")) << "the controller told of the stop";
    EXPECT_TRUE(WaitCommand("reboot")) << CommandLog();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_EQ(CountOf(CommandLog(), "reboot"), 1u) << CommandLog();
}

}  // namespace
