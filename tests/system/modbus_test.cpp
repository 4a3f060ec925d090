// Modbus TCP on a running controller, through mbpoll: holding register 0 reads and sets the panel's key
// lock, which the status bar and the key filter follow; refused values and addresses answer their
// exceptions. No SCPI is sent, so the panel stays local. And the fieldbus thread with a CAN card but no
// CAN interface.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "tests/support/temp_root.h"
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class ModbusPanel : public FrontPanelSuite {
  protected:
    static void SetUpTestSuite() {
        FrontPanelSuite::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("ModbusThread: listening on port " + std::to_string(ModbusPort())))
            << c().Output();
    }
    static int ModbusPort() { return 502 + c().portOffset(); }
    // mbpoll's output for one request to the controller (PDU addresses, one poll).
    static std::string Mbpoll(const std::string& args) {
        const std::string cmd =
            "mbpoll -m tcp -p " + std::to_string(ModbusPort()) + " -a 1 -0 -1 -o 2 " + args + " 2>&1";
        std::string out;
        if (FILE* p = popen(cmd.c_str(), "r")) {
            char buf[256];
            while (fgets(buf, sizeof buf, p) != nullptr)
                out += buf;
            pclose(p);
        }
        return out;
    }
    // The key-lock register as mbpoll reads it ("0", "1"), or its whole output when it read nothing.
    static std::string ReadLock() {
        const std::string out = Mbpoll("-r 0 -c 1 -t 4 127.0.0.1");
        std::smatch m;
        return std::regex_search(out, m, std::regex(R"(\[0\]:\s+(-?\d+))")) ? m[1].str() : out;
    }
    static std::string WriteLock(int value) { return Mbpoll("-r 0 -t 4 127.0.0.1 " + std::to_string(value)); }
    static bool LockIconShown() {
        for (int waited = 0; waited <= 5000; waited += 20) {
            for (int x = 700; x <= 719; ++x)
                for (int y = 0; y < 24; ++y)
                    if (Pixel(x, y) != 0x0000) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
};

TEST_F(ModbusPanel, RegisterZeroIsThePanelsKeyLock) {
    EXPECT_EQ(ReadLock(), "0");
    EXPECT_NE(WriteLock(1).find("Written 1 references"), std::string::npos);
    EXPECT_TRUE(LockIconShown()) << "lock icon at x 700-719";
    Mark();
    ASSERT_TRUE(Panel("key O"));
    EXPECT_TRUE(WaitLogged(365, 190, "Keys Locked")) << TextLog();
    EXPECT_FALSE(WaitLogged(0, 12, "Quick ACV (", true, 300)) << "a locked key opens nothing";
    EXPECT_EQ(ReadLock(), "1");
    Mark();
    ASSERT_TRUE(Panel("hold K"));
    EXPECT_TRUE(WaitLogged(365, 190, "Keys Unlocked")) << TextLog();
    EXPECT_EQ(ReadLock(), "0");
}

TEST_F(ModbusPanel, RefusedValuesAndAddressesAnswerExceptions) {
    EXPECT_NE(WriteLock(2).find("Illegal data value"), std::string::npos) << WriteLock(2);
    EXPECT_EQ(ReadLock(), "0");
    const std::string reg1 = Mbpoll("-r 1 -c 1 -t 4 127.0.0.1");
    EXPECT_NE(reg1.find("Illegal data address"), std::string::npos) << reg1;
    const std::string coil = Mbpoll("-r 0 -c 1 -t 0 127.0.0.1");
    EXPECT_NE(coil.find("Illegal data address"), std::string::npos) << coil;
}

// A CAN card found at start (detect line 106 reads 1) but no CAN interface on this machine: the thread
// names the card and ends.
TEST(ModbusFieldbusCard, CardWithoutCanInterfaceEnds) {
    const std::string folder = MakeTempFolder("vrn-can-");
    ASSERT_FALSE(folder.empty());
    const std::string root = folder + "/root";
    std::filesystem::create_directories(root + "/sys/class/gpio/gpio106");
    std::ofstream(root + "/sys/class/gpio/gpio106/value") << "1\n";
    {
        ControllerProcess c({"--root", root});
        EXPECT_TRUE(c.WaitForOutput("FieldbusThread: CAN card 3\n", kStartupTimeoutMs)) << c.Output();
        EXPECT_TRUE(c.WaitForOutput("FieldbusThread: no CAN interface, ending\n")) << c.Output();
        EXPECT_EQ(c.Output().find("no CAN card"), std::string::npos) << c.Output();
        EXPECT_EQ(c.Stop(SIGTERM), 0) << c.Output();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
