// The RS232 channel on the serial stand-in: the terminal settings built from the five RS232 bytes (a
// damaged code takes its field's default), the restart that applies new settings, the read that tells
// "nothing now" from "the line is gone", and a transmit the line refuses for now.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "core/system/config/iface_cfg.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/device_node.h"
#include "scpi/channels/ports/uart_channel.h"
#include "scpi/channels/scpi_channels.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/temp_root.h"

namespace {

void SetCodes(uint8_t baud, uint8_t bits, uint8_t parity, uint8_t stop) {
    g_IfaceCfg.rs232Baud = baud;
    g_IfaceCfg.rs232DataBits = bits;
    g_IfaceCfg.rs232Parity = parity;
    g_IfaceCfg.rs232StopBits = stop;
}

TEST(UartTermios, CodesBuildTheLineAndDamagedOnesTakeTheirDefault) {
    constexpr tcflag_t kShape = CSIZE | PARENB | PARODD | CSTOPB;
    struct Case {
        uint8_t baud, bits, parity, stop;
        speed_t speed;
        tcflag_t cflag;  // the size, parity and stop bits
        bool ignoreParity;
    };
    const Case cases[] = {
        {3, 1, 0, 0, B9600, CS8, true},
        {4, 1, 0, 1, B19200, CS8 | CSTOPB, true},
        {0, 0, 1, 1, B1200, CS7 | PARENB | PARODD | CSTOPB, false},
        {7, 1, 2, 0, B115200, CS8 | PARENB, false},
        {6, 0, 2, 1, B57600, CS7 | PARENB | CSTOPB, false},
        // Out of range: each field alone, then all four.
        {8, 0, 1, 1, B9600, CS7 | PARENB | PARODD | CSTOPB, false},
        {0, 2, 1, 1, B1200, CS8 | PARENB | PARODD | CSTOPB, false},
        {0, 0, 3, 1, B1200, CS7 | CSTOPB, true},
        {0, 0, 1, 2, B1200, CS7 | PARENB | PARODD, false},
        {255, 255, 255, 255, B9600, CS8, true},
    };
    testing::internal::CaptureStderr();
    for (const Case& c : cases) {
        SetCodes(c.baud, c.bits, c.parity, c.stop);
        termios t{};
        scpi::UartBuildTermios(&t);
        const std::string name = std::to_string(c.baud) + "/" + std::to_string(c.bits) + "/" +
                                 std::to_string(c.parity) + "/" + std::to_string(c.stop);
        EXPECT_EQ(cfgetospeed(&t), c.speed) << name;
        EXPECT_EQ(cfgetispeed(&t), c.speed) << name;
        EXPECT_EQ(t.c_cflag & kShape, c.cflag) << name;
        EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL)) << name;
        EXPECT_EQ((t.c_iflag & IGNPAR) != 0, c.ignoreParity) << name;
        EXPECT_EQ(t.c_oflag | t.c_lflag, 0u) << name;
        EXPECT_EQ(t.c_cc[VMIN], 1) << name;
    }
    const std::string told = testing::internal::GetCapturedStderr();
    // Each damaged field is said once, however often it is met.
    for (const char* field : {"baud code 8", "data bits code 2", "parity code 3", "stop bits code 2"})
        EXPECT_NE(told.find(field), std::string::npos) << field;
    EXPECT_EQ(told.find("code 255"), std::string::npos) << told;
}

// The channel started on a fresh root with the stand-ins, stepped as the supervisor steps it.
class UartChannel : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(plat::DeviceNodesStart(), 0);
        SysStatusSet(kSysMenuThreadRunning);  // the stored settings are loaded
        g_IfaceCfg.rs232Enable = 1;
        SetCodes(3, 1, 0, 0);
        ASSERT_EQ(UartInterfaceInit(), 0);
        ASSERT_TRUE(StepUntil([] { return scpi::UartPort()->isOpen != 0; }, 100));
        client_ = open(plat::DeviceClientPath("ttyS1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(client_, 0);
    }
    void TearDown() override {
        close(client_);
        g_ScpiIfUart.io.close();
        plat::DeviceNodesStop();
        SysStatusClear(kSysMenuThreadRunning);
    }
    // Steps about once a millisecond until done() or `ms` pass on the platform clock.
    template <typename Done>
    static bool StepUntil(Done done, uint64_t ms) {
        const uint64_t until = plat::NowMs() + ms;
        while (!done()) {
            if (plat::NowMs() > until) return false;
            UartPollStep();
            plat::SleepMs(1);
        }
        return true;
    }
    static void FillLine() { scpitest::FillLine(scpi::UartPort()->fd); }
    // What the client reads until `lines` line feeds came or about `steps` steps passed, stepping the
    // channel between reads.
    std::string ReadStepping(size_t lines, int steps) {
        std::string got;
        const auto received = [&got] {
            return static_cast<size_t>(std::count(got.begin(), got.end(), '\n'));
        };
        for (int i = 0; i < steps && received() < lines; ++i) {
            pollfd p{client_, POLLIN, 0};
            if (poll(&p, 1, 1) > 0) {
                char buf[4096];
                const ssize_t n = read(client_, buf, sizeof buf);
                if (n > 0) got.append(buf, static_cast<size_t>(n));
            }
            UartPollStep();
        }
        return got;
    }
    static termios DeviceSide() {
        termios t{};
        tcgetattr(scpi::UartPort()->fd, &t);
        return t;
    }
    testsupport::TempRoot root_;
    int client_ = -1;
};

TEST_F(UartChannel, RestartAppliesNewSettingsWithinASecond) {
    EXPECT_EQ(cfgetospeed(&scpi::UartPort()->inUse), static_cast<speed_t>(B9600));
    SetCodes(4, 1, 0, 1);
    UartChannelRestart();
    EXPECT_EQ(scpi::UartPollState(), 2);
    EXPECT_TRUE(StepUntil(
        [] {
            const termios t = DeviceSide();
            return scpi::UartPort()->isOpen && cfgetospeed(&t) == B19200 && (t.c_cflag & CSTOPB) != 0;
        },
        1000));
    EXPECT_EQ(scpi::UartPollState(), 3);
    // A restart of a closed port starts the channel over instead of waiting for an open.
    g_ScpiIfUart.io.close();
    g_IfaceCfg.rs232Enable = 0;
    UartChannelRestart();
    EXPECT_EQ(UartPollStep(), 0);
    g_IfaceCfg.rs232Enable = 1;
    EXPECT_TRUE(StepUntil([] { return scpi::UartPort()->isOpen != 0; }, 1000));
}

TEST_F(UartChannel, AnIdleLineStaysOpenAndAFullOneKeepsTheReply) {
    char b[8];
    // Nothing to read is no data, whatever errno held before.
    for (int stale : {ENOENT, EBADF, ENODEV, ENOMSG}) {
        errno = stale;
        EXPECT_EQ(g_ScpiIfUart.io.read(b, sizeof b, 1), 0);
        EXPECT_EQ(g_ScpiIfUart.io.control(1, 0), 1) << stale;
    }
    FillLine();
    ASSERT_GT(g_ScpiIfUart.io.write("reply\n", 6, 2), 0);
    ASSERT_GT(g_ScpiIfUart.io.write(nullptr, 0, 4), 0);
    for (int i = 0; i < 5; ++i)
        UartPollStep();
    EXPECT_EQ(g_ScpiIfUart.io.control(3, 0), 1);
    EXPECT_EQ(g_ScpiIfUart.io.control(1, 0), 1);
    // The client reads: the reply follows the filler.
    const std::string got = ReadStepping(1, 2000);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.substr(got.size() - 7), "freply\n");
    EXPECT_EQ(g_ScpiIfUart.io.control(3, 0), 0);
}

// A client that sends more queries than the transmit queue holds replies for and reads only later: the
// channel takes the next message only once the replies before it are gone, and every reply arrives.
TEST_F(UartChannel, AClientThatReadsLateGetsEveryReply) {
    FillLine();
    constexpr int kQueries = 100;  // their replies need more entries than the queue has
    std::string queries;
    for (int i = 0; i < kQueries; ++i)
        queries += "*ESE?\n";
    ASSERT_EQ(write(client_, queries.data(), queries.size()), static_cast<ssize_t>(queries.size()));
    for (int i = 0; i < 300; ++i) {
        UartPollStep();
        plat::SleepMs(1);
    }
    EXPECT_EQ(g_ScpiIfUart.io.control(kPortCtlCommitted, 0), 1);
    EXPECT_EQ(scpiErrorQueueCount(&g_ScpiIfUart.errq), 0);
    std::string got = ReadStepping(kQueries, 10000);
    got.erase(0, got.find_first_not_of('f'));
    std::string want;
    for (int i = 0; i < kQueries; ++i)
        want += "+0\n";
    EXPECT_EQ(got, want);
    EXPECT_EQ(scpiErrorQueueCount(&g_ScpiIfUart.errq), 0);
}

// A client that sends many queries and closes the line without reading their replies: the next client
// of the port gets none of them, and none of the queries the closed one left unread is run for it: its
// first reply is the one to its own message.
TEST_F(UartChannel, TheNextClientGetsNoneOfTheLastOnesReplies) {
    std::string queries;
    for (int i = 0; i < 3000; ++i)
        queries += "*ESE?\n";
    // As many as the line takes before the channel reads any, then the port closed at once.
    ssize_t sent = 0;
    for (ssize_t n = 0; sent < static_cast<ssize_t>(queries.size()) && n >= 0; sent += n > 0 ? n : 0)
        n = write(client_, queries.data() + sent, queries.size() - static_cast<size_t>(sent));
    ASSERT_GT(sent, 8192);
    close(client_);
    // The next host opens the port once the carrier drop was taken.
    ASSERT_TRUE(StepUntil(
        [this] { return root_.Read("/var/log/devices.log").find("ttyS1 carrier lost") != std::string::npos; },
        20000));
    client_ = open(plat::DeviceClientPath("ttyS1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(client_, 0);
    const std::string ask = "SYST:ERR?\n";
    ASSERT_EQ(write(client_, ask.data(), ask.size()), static_cast<ssize_t>(ask.size()));
    EXPECT_EQ(ReadStepping(2, 2000), "+0,\"No error\"\n");
}

}  // namespace
