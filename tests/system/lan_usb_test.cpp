// The running controller applies its LAN settings and watches the USB socket, driven by the simulated
// hardware's panel verbs; everything it asks of the system shows in the command log.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "scpi/channels/lan_channel.h"
#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace {

class LanUsb : public testsupport::SharedController {
  protected:
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs))
            << c().Output();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(c().root() + path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool Panel(const std::string& line) {
        int fd = open((c().root() + "/var/run/panel").c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) return false;
        const std::string text = line + "\n";
        const bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        close(fd);
        return ok;
    }
    // Waits at most 10 s for the file to hold text.
    static bool WaitForText(const std::string& path, const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (Read(path).find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
};

TEST_F(LanUsb, StartConfiguresTheLanAndItsRestartTakesTheOfferedLease) {
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

TEST_F(LanUsb, StickIsMountedAndReleased) {
    ASSERT_TRUE(Panel("usb insert sda1"));
    EXPECT_TRUE(WaitForText("/var/log/commands.log", "simulated 0 mount -t vfat /dev/sda1 /mnt/sd1"));
    EXPECT_TRUE(c().WaitForOutput("popup: USB Memory Connected")) << c().Output();
    ASSERT_TRUE(Panel("usb remove"));
    EXPECT_TRUE(WaitForText("/var/log/commands.log", "simulated 0 umount /mnt/sd1"));
}

}  // namespace
