// The running controller's MENU item editors from the home view: the RS232 baud rate, the output impedance
// and its L1 inductance, the parallel position, a preset saved from the Save/Recall list and the LAN's
// DHCP switch and address, then the default setting; on a controller of its own, the USB class change that
// restarts the unit. Every SCPI message ends by returning the panel to local.
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

// The top list of a fresh unit (RS232, no option card): 94, 95 MISC, 138 LAN, 165 USB Device, 170 RS232C,
// 192 Output Impedance, 207 Parallel, 214, 221 Default Setting, 223, 284 Save/Recall Files.
TEST_F(MenuEditScenes, Rs232BaudRate) {
    MenuRow(4);
    Keys({"key U", "key U", "knob -7", "knob 4", "key U"});
    EXPECT_EQ(Query("SYST:COMM:SER:TRAN:BAUD?"), "19200");
    Keys({"key L", "key L"});
}

TEST_F(MenuEditScenes, ImpedanceInductanceAndPosition) {
    MenuRow(5);
    Keys({"key U", "key U", "knob 1", "key U"});
    EXPECT_EQ(Query("OUTP:IMP?"), "+1");
    Keys({"knob -1", "key U", "key A", "key B", "key J", "key E", "key U"});
    EXPECT_EQ(Query("OUTP:IMP:IND? L1"), "+12.5");
    Keys({"key L", "knob -1", "key U", "key U", "knob -1", "key U"});
    EXPECT_EQ(Query("PAR:POS?"), "Slave");
    SendLocal("PAR:POS MAST;:OUTP:IMP 0");
    Keys({"key L", "key L"});
}

TEST_F(MenuEditScenes, PresetSavedWithTheThreeSelections) {
    MenuRow(12);                                               // the last row holds
    Keys({"key U", "key U", "knob -5", "key U"});              // type PRESET
    Keys({"knob -1", "key U", "knob -5", "knob 3", "key U"});  // action 3: save to M<memory>
    Keys({"knob -1", "key U", "knob -9", "knob 2", "key U"});  // memory 2
    Keys({"knob 1", "knob 1"});
    Mark();
    ASSERT_TRUE(Panel("key Y"));
    // A numbered message: no console line, its text where the popup draws its first line.
    EXPECT_TRUE(WaitLogged(365, 190, "Saved To M2")) << TextLog();
    Keys({"key L", "key L"});
}

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

// The factory default changes the whole unit: it comes last.
TEST_F(MenuEditScenes, DefaultSettingStartsOnce) {
    MenuRow(8);
    Keys({"key U", "key U", "key U"});
    EXPECT_TRUE(c().WaitForOutput("popup: Resetting...")) << c().Output();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_EQ(CountOf(c().Output(), "popup: Resetting..."), 1u) << c().Output();
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
