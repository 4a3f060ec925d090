// The rear USB device port and the USB-GPIB adapter of a running controller, through the client sides of
// their stand-ins (listed in <root>/var/run/ports) and the panel verbs that raise the hosts' and the bus's
// events; what the simulated drivers were asked shows in <root>/var/log/devices.log.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_root.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kScpiPort = 5025;

// A client on the client side of a stand-in.
class PtyClient {
  public:
    explicit PtyClient(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~PtyClient() {
        if (fd_ >= 0) close(fd_);
    }
    bool Open() const { return fd_ >= 0; }
    bool Send(const std::string& bytes) {
        return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // The next line without its line feed; "" when none is complete within timeoutMs.
    std::string ReadLine(int timeoutMs = 5000) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const size_t lf = pending_.find('\n');
            if (lf != std::string::npos) {
                std::string line = pending_.substr(0, lf);
                pending_.erase(0, lf + 1);
                return line;
            }
            if (Clock::now() > end) return "";
            Fill(10);
        }
    }
    // Everything that arrives within ms milliseconds, with what was pending.
    std::string ReadFor(int ms) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end)
            Fill(10);
        std::string all;
        all.swap(pending_);
        return all;
    }
    std::string Ask(const std::string& message, int timeoutMs = 5000) {
        Send(message + "\n");
        return ReadLine(timeoutMs);
    }

  private:
    void Fill(int ms) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return;
        char buf[512];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n > 0) pending_.append(buf, static_cast<size_t>(n));
    }
    int fd_;
    std::string pending_;
};

// One controller per suite; `gpibModule` puts the adapter's driver module on its disk first.
class PortSuite : public ::testing::Test {
  protected:
    static void StartController(bool gpibModule) {
        std::vector<std::string> args;
        if (gpibModule) {
            folder_ = testsupport::MakeTempFolder("vrn-gpib-");
            const std::filesystem::path disk = folder_ + "/root/mnt/disk";
            std::filesystem::create_directories(disk);
            std::ofstream(disk / "qx_gpib.ko") << "stand-in module\n";
            args = {"--root", folder_ + "/root"};
        }
        controller_ = std::make_unique<testsupport::ControllerProcess>(args);
        root_ = gpibModule ? folder_ + "/root" : controller_->root();
        ASSERT_TRUE(controller_->WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs))
            << controller_->Output();
        lan_ = std::make_unique<testsupport::TcpClient>(kScpiPort + controller_->portOffset());
        lan_->Send("*IDN?\n");
        identity_ = lan_->ReadLine(15000);
        if (!identity_.empty()) identity_.pop_back();
    }
    static void TearDownTestSuite() {
        lan_.reset();
        EXPECT_EQ(controller_->Stop(SIGTERM), 0) << controller_->Output();
        controller_.reset();
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
        folder_.clear();
    }
    void SetUp() override {
        ASSERT_TRUE(controller_->Running()) << controller_->Output();
        ASSERT_FALSE(identity_.empty());
    }
    static std::string Root() { return root_; }
    static std::string Read(const std::string& path) { return testsupport::FileText(Root() + path); }
    static size_t Count(const std::string& path, const std::string& text) {
        return testsupport::CountOf(Read(path), text);
    }
    // Waits at most ms for the file to hold text `count` times.
    static bool WaitForCount(const std::string& path, const std::string& text, size_t count, int ms = 5000) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Count(path, text) < count) {
            if (Clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    // The client side of a node from the ports list, once the node is there (at most ms).
    static std::string ClientPath(const std::string& node, int ms = 10000) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            std::istringstream ports(Read("/var/run/ports"));
            for (std::string name, path; ports >> name >> path;)
                if (name == node) return path;
            if (Clock::now() > end) return "";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    static bool Panel(const std::string& line) { return testsupport::PanelLine(Root(), line); }

    static inline std::unique_ptr<testsupport::ControllerProcess> controller_;
    static inline std::unique_ptr<testsupport::TcpClient> lan_;
    static inline std::string folder_;  // the root with the driver module
    static inline std::string root_;
    static inline std::string identity_;
};

class UsbDevice : public PortSuite {
  protected:
    static void SetUpTestSuite() { StartController(false); }
};

TEST_F(UsbDevice, ATmcClientIsServedWithinSixSecondsAndAStatusByteRequestIsAnswered) {
    PtyClient tmc(ClientPath("usbtmc0"));
    ASSERT_TRUE(tmc.Open());
    std::string reply;
    const auto start = Clock::now();
    while (reply.empty() && Clock::now() < start + std::chrono::seconds(6))
        reply = tmc.Ask("*IDN?", 300);
    EXPECT_EQ(reply, identity_);
    std::printf("USB-TMC served %lld ms after the system was ready\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count()));
    tmc.ReadFor(200);  // the answers to the asks the closed port kept
    EXPECT_EQ(tmc.Ask("*IDN?"), identity_);
    ASSERT_TRUE(Panel("usbdev rsb"));
    EXPECT_TRUE(WaitForCount("/var/log/devices.log", "usbtmc0 0x40045503 0x", 1))
        << Read("/var/log/devices.log");
    // Without the GPIB driver module on the disk there is no adapter: no module load, no node.
    EXPECT_EQ(Count("/var/log/commands.log", "qx_gpib"), 0u);
    EXPECT_EQ(Read("/var/run/ports").find("qx_gpib"), std::string::npos);
}

class UsbGpib : public PortSuite {
  protected:
    static void SetUpTestSuite() { StartController(true); }
    static void SetUpClient() {
        if (gpib_) return;
        gpib_ = std::make_unique<PtyClient>(ClientPath("qx_gpib"));
    }
    void SetUp() override {
        PortSuite::SetUp();
        SetUpClient();
        ASSERT_TRUE(gpib_->Open());
    }
    static void TearDownTestSuite() {
        gpib_.reset();
        PortSuite::TearDownTestSuite();
    }
    static inline std::unique_ptr<PtyClient> gpib_;
};

TEST_F(UsbGpib, TheModuleIsLoadedOnceAndTheAddressGivenOnce) {
    EXPECT_TRUE(WaitForCount("/var/log/devices.log", "qx_gpib 0x40040D09 10\n", 1))
        << Read("/var/log/devices.log");
    EXPECT_EQ(Count("/var/log/commands.log", "insmod /mnt/disk/qx_gpib.ko"), 1u)
        << Read("/var/log/commands.log");
    EXPECT_EQ(Count("/var/log/devices.log", "qx_gpib 0x40040D09"), 1u) << Read("/var/log/devices.log");
}

TEST_F(UsbGpib, AQueryIsAnsweredAndItsLengthAnnounced) {
    std::string reply;
    for (const auto end = Clock::now() + std::chrono::seconds(6); reply.empty() && Clock::now() < end;)
        reply = gpib_->Ask("*IDN?", 300);
    EXPECT_EQ(reply, identity_);
    gpib_->ReadFor(200);
    EXPECT_EQ(
        Count("/var/log/devices.log", "qx_gpib 0x40040D0F " + std::to_string(identity_.size() + 1) + "\n"),
        Count("/var/log/devices.log", "qx_gpib 0x40040D0F "))
        << Read("/var/log/devices.log");
    EXPECT_GE(Count("/var/log/devices.log", "qx_gpib 0x40040D0F "), 1u);
}

TEST_F(UsbGpib, AGroupTriggerIsIgnoredUnlessTheOutputWaitsForIt) {
    ASSERT_EQ(gpib_->Ask("*CLS;*OPC?"), "1");
    const size_t before = Count("/var/log/devices.log", "qx_gpib 0x80040D0B 0x0080");
    ASSERT_TRUE(Panel("gpib get"));
    ASSERT_TRUE(WaitForCount("/var/log/devices.log", "qx_gpib 0x80040D0B 0x0080", before + 1));
    EXPECT_EQ(gpib_->Ask("SYST:ERR?"), "-211,\"Trigger ignored\"");
    ASSERT_EQ(gpib_->Ask("OUTP:TRIG ON;:INIT:NAME OUTP;*OPC?"), "1");
    EXPECT_EQ(gpib_->Ask("OUTP?"), "+0");
    ASSERT_TRUE(Panel("gpib get"));
    ASSERT_TRUE(WaitForCount("/var/log/devices.log", "qx_gpib 0x80040D0B 0x0080", before + 2));
    std::string state;
    for (const auto end = Clock::now() + std::chrono::seconds(5); state != "+1" && Clock::now() < end;)
        state = gpib_->Ask("OUTP?");
    EXPECT_EQ(state, "+1");
    EXPECT_EQ(gpib_->Ask("SYST:ERR?"), "+0,\"No error\"");
    lan_->Send("OUTP OFF;*OPC?\n");
    EXPECT_EQ(lan_->ReadLine(15000), "1\n");
}

TEST_F(UsbGpib, AServiceRequestEnableIsPushedOnceWhenItChanges) {
    const std::string push = "qx_gpib 0x40040D08 ";
    const size_t before = Count("/var/log/devices.log", push);
    gpib_->Send("*SRE 16\n");
    ASSERT_TRUE(WaitForCount("/var/log/devices.log", push, before + 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Count("/var/log/devices.log", push), before + 1) << Read("/var/log/devices.log");
    const std::string log = Read("/var/log/devices.log");
    EXPECT_EQ(log.substr(log.rfind(push) + push.size() + 7), "0x0010\n") << log;  // {status byte, enable}
    gpib_->Send("*SRE 16\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Count("/var/log/devices.log", push), before + 1) << Read("/var/log/devices.log");
}

TEST_F(UsbGpib, ADeviceClearStopsTheReplyAndTheHalfReadCommand) {
    const size_t announced = Count("/var/log/devices.log", "qx_gpib 0x40040D0F ");
    const size_t clears = Count("/var/log/devices.log", "qx_gpib 0x80040D0B 0x0008");
    // The reply is with the driver, the controller has not read it, and a command is half sent.
    ASSERT_TRUE(gpib_->Send("*IDN?\n*ES"));
    ASSERT_TRUE(WaitForCount("/var/log/devices.log", "qx_gpib 0x40040D0F ", announced + 1));
    ASSERT_TRUE(Panel("gpib dcl"));
    ASSERT_TRUE(WaitForCount("/var/log/devices.log", "qx_gpib 0x80040D0B 0x0008", clears + 1));
    EXPECT_EQ(gpib_->ReadFor(200), "");
    EXPECT_EQ(gpib_->Ask("*IDN?"), identity_);
    EXPECT_EQ(gpib_->Ask("SYST:ERR?"), "+0,\"No error\"");
    EXPECT_EQ(gpib_->ReadFor(200), "");
}

}  // namespace
