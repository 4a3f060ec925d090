// The start-up of the running program, on one controller for the whole suite: thread start order
// after the reset pulse, the system ready soon after the menu/control thread starts, keys through the
// panel channel, the USB device port, an idle processor; then the LAN settings it applies, driven by the
// simulated hardware's panel verbs (what it asks of the system shows in the command log).
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "scpi/channels/ports/lan_channel.h"
#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"
#include "tests/system/pty_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

// The popup of a key pressed while the panel is in remote (the MENU key after the first SCPI answer).
constexpr char kRemoteRefusal[] = "Invalid with ";

class Startup : public testsupport::SharedController {
  protected:
    // The start is watched as it happens: the time from the menu/control thread's start to the system
    // ready report. A user takes the first SCPI answer as the sign that the unit is up: the MENU key is
    // pressed at once after it.
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("thread MenuThread", testsupport::kStartupTimeoutMs)) << c().Output();
        const auto started = Clock::now();
        {
            testsupport::TcpClient scpi(Port(scpi::kLanScpiPort), testsupport::kStartupTimeoutMs);
            scpi.Send("*IDN?\n");
            firstAnswer_ = scpi.ReadLine(testsupport::kStartupTimeoutMs);
            ASSERT_TRUE(Panel("key L"));
        }
        ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", 5000)) << c().Output();
        readyMs_ = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
    }
    static inline long readyMs_ = -1;
    static inline std::string firstAnswer_;
    static std::string Read(const std::string& path) { return testsupport::FileText(c().root() + path); }
    // Waits at most 10 s for the file to hold text.
    static bool WaitForText(const std::string& path, const std::string& text) {
        const auto end = Clock::now() + std::chrono::seconds(10);
        while (Read(path).find(text) == std::string::npos) {
            if (Clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
};

TEST_F(Startup, SystemReadyWithinOneAndAHalfSecondsOfTheControlThreadsStart) {
    EXPECT_LE(readyMs_, 1500) << c().Output();
    // Nothing had to be limited, and a new unit's memory holds sound blocks: nothing to report but the
    // remote refusal of the MENU key above.
    std::string popups;
    const std::string out = c().Output();
    for (size_t at = out.find("popup:"); at != std::string::npos; at = out.find("popup:", at + 1))
        if (out.compare(at + 7, std::strlen(kRemoteRefusal), kRemoteRefusal) != 0)
            popups += out.substr(at, out.find('\n', at) - at + 1);
    EXPECT_EQ(popups, "") << out;
}

TEST_F(Startup, FourteenThreadsStartInTableOrderAfterTheResetPulse) {
    ASSERT_TRUE(c().WaitForOutput("FieldbusThread: no CAN card, ending")) << c().Output();
    const std::string out = c().Output();
    size_t at = out.find("FW Startup: Pass");
    ASSERT_NE(at, std::string::npos) << out;
    for (const char* name :
         {"GuiThread", "TimerThread", "WebServerThread80", "WebServerThread81", "SeqSimThread",
          "UsbDevThread", "LanRestartThread", "LanConnThread", "LanAcceptThread", "UsbGpibThread",
          "KeyThread", "MenuThread", "FieldbusThread", "ModbusThread"}) {
        const std::regex line(std::string("thread ") + name +
                              ": policy (RR|FIFO) priority [0-9]+ \\(not requested, default policy\\)\n");
        std::smatch m;
        const std::string rest = out.substr(at);
        ASSERT_TRUE(std::regex_search(rest, m, line)) << name << "\n" << out;
        at += static_cast<size_t>(m.position(0)) + 1;
    }
    // The peripheral reset line was pulsed low, then left high (its waits: tests/drivers).
    const std::string log = testsupport::FileText(c().root() + "/var/log/commands.log");
    const size_t low = log.find("echo 0 > /sys/class/leds/gpib_rst/brightness");
    ASSERT_NE(low, std::string::npos) << log;
    EXPECT_NE(log.find("echo 1 > /sys/class/leds/gpib_rst/brightness", low), std::string::npos) << log;
    EXPECT_EQ(testsupport::FileText(c().root() + "/sys/class/leds/gpib_rst/brightness"), "1\n");
    // The card's detect lines are exported and set as inputs once, by the default setting.
    for (const char* cmd :
         {"echo 106 > /sys/class/gpio/export", "echo in > /sys/class/gpio/gpio106/direction"}) {
        const size_t first = log.find(cmd);
        ASSERT_NE(first, std::string::npos) << log;
        EXPECT_EQ(log.find(cmd, first + 1), std::string::npos) << cmd << "\n" << log;
    }
}

// Each thread carries its name (at most 15 characters: the longer table names drop "Thread"); the main
// thread (and a sanitizer's own) keeps the program's.
TEST_F(Startup, EveryThreadCarriesItsName) {
    ASSERT_TRUE(c().WaitForOutput("panel channel:")) << c().Output();
    const std::string task = "/proc/" + std::to_string(c().pid()) + "/task";
    std::multiset<std::string> names;
    DIR* tasks = opendir(task.c_str());
    ASSERT_NE(tasks, nullptr);
    while (dirent* e = readdir(tasks)) {
        if (e->d_name[0] == '.') continue;
        std::string name = testsupport::FileText(task + "/" + e->d_name + "/comm");
        if (!name.empty() && name.back() == '\n') name.pop_back();
        names.insert(name);
    }
    closedir(tasks);
    EXPECT_GE(names.count("vrn-controller"), 1u);
    for (const char* name :
         {"GuiThread", "TimerThread", "WebServer80", "WebServer81", "SeqSimThread", "UsbDevThread",
          "LanRestart", "LanConnThread", "LanAcceptThread", "KeyThread", "MenuThread",
          "ModbusThread", "StopSignal", "PanelChannel"})
        EXPECT_EQ(names.count(name), 1u) << name;
    EXPECT_EQ(names.count("UsbGpibThread"), 0u);  // a fresh root has no GPIB driver module: no adapter
}

TEST_F(Startup, KeyThroughThePanelChannelReachesTheMenuThread) {
    // The MENU key pressed right after the first SCPI answer was taken, and refused in remote with its
    // popup.
    EXPECT_NE(firstAnswer_.find(','), std::string::npos) << firstAnswer_;
    EXPECT_TRUE(c().WaitForOutput("MenuThread: key code 76 'L'")) << c().Output();
    EXPECT_TRUE(c().WaitForOutput(std::string("popup: ") + kRemoteRefusal)) << c().Output();
    // {panel command, what the program prints}
    const std::pair<const char*, const char*> cases[] = {
        {"key U\r", "MenuThread: key code 85 'U' class 1 knob 0"},  // a terminal's line end
        {"hold K", "MenuThread: key code 193"},                     // the long press of 'K'
    };
    for (const auto& [command, seen] : cases) {
        ASSERT_TRUE(Panel(command)) << command;
        EXPECT_TRUE(c().WaitForOutput(seen)) << command << "\n" << c().Output();
    }
}

// The rear USB device port serves a TMC client within six seconds of the system being ready and pushes
// its status byte when the host asks; a fresh root has no GPIB driver module, so no adapter either.
TEST_F(Startup, UsbTmcClientIsServedAndAStatusByteRequestIsAnswered) {
    testsupport::PtyClient tmc(testsupport::PtyClientPath(c().root(), "usbtmc0"));
    ASSERT_TRUE(tmc.Open());
    const std::string idn = "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06";
    EXPECT_EQ(tmc.AskUntilAnswered("*IDN?"), idn);
    EXPECT_EQ(tmc.Ask("*IDN?"), idn);
    ASSERT_TRUE(Panel("usbdev rsb"));
    EXPECT_TRUE(WaitForText("/var/log/devices.log", "usbtmc0 0x40045503 0x")) << Read("/var/log/devices.log");
    EXPECT_EQ(Read("/var/log/commands.log").find("qx_gpib"), std::string::npos);
    EXPECT_EQ(Read("/var/run/ports").find("qx_gpib"), std::string::npos);
}

// Processor time (user + system) of the program, in clock ticks.
long CpuTicks(pid_t pid) {
    std::string stat = testsupport::FileText("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream s(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && s >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stol(field);
    return ticks;
}

TEST_F(Startup, IdleInstrumentLeavesTheProcessorAlone) {
    const long before = CpuTicks(c().pid());
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long used = CpuTicks(c().pid()) - before;
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double share = static_cast<double>(used) / sysconf(_SC_CLK_TCK) / wall;
    // A busy supervisor loop alone would take a whole core.
    EXPECT_LT(share, 0.5) << "share of one core: " << share;
}

TEST_F(Startup, StartConfiguresTheLanAndItsRestartTakesTheOfferedLease) {
    const std::string log = Read("/var/log/commands.log");
    EXPECT_NE(log.find("simulated 0 hostname "), std::string::npos) << log;
    EXPECT_NE(log.find("simulated 0 insmod /mnt/disk/drivers/usb/libcomposite.ko"), std::string::npos) << log;
    EXPECT_TRUE(WaitForText("/tmp/netconf", "MACADDR=02:56:52:4E:10:60")) << Read("/var/log/commands.log");
    // The factory settings use DHCP: a LAN restart restarts the client, which now gets a lease.
    ASSERT_TRUE(Panel("net dhcp 10.0.0.57 255.255.255.0 10.0.0.1 10.0.0.2"));
    testsupport::TcpClient restart(Port(scpi::kLanRestartPort));
    ASSERT_TRUE(restart.Connected());
    EXPECT_TRUE(WaitForText("/tmp/udhcpc.info", "lease of 10.0.0.57")) << Read("/var/log/commands.log");
    EXPECT_TRUE(WaitForText("/var/log/commands.log", "simulated 0 /mnt/disk/net.sh eth0"));
}

}  // namespace
