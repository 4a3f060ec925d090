// SCPI over the LAN socket of a running controller: replies, the error queue, the set-command hand-over,
// one client at a time, the restart port, and clients that leave at the worst moment.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace {

using testsupport::TcpClient;

constexpr int kScpiPort = 5025;
constexpr int kRestartPort = 5030;

// The tests share one controller; each starts with an empty error queue and no client.
class LanScpi : public testsupport::SharedController {
  protected:
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        ASSERT_TRUE(c().WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(Port(kScpiPort)),
                                      testsupport::kStartupTimeoutMs))
            << c().Output();
    }
    void SetUp() override {
        SharedController::SetUp();
        auto t = Served();
        t->Send("*CLS;*OPC?\n");
        ASSERT_EQ(t->ReadLine(), "1\n");
    }
    void TearDown() override { EXPECT_TRUE(c().Running()) << c().Output(); }
    // A client that the instrument serves: while the previous client's session is still ending a new
    // connection is closed at once, so connect until one stays open.
    static std::unique_ptr<TcpClient> Served() {
        for (int attempt = 0; attempt < 30; ++attempt) {
            auto client = std::make_unique<TcpClient>(Port(kScpiPort), 2000);
            if (!client->Connected()) break;  // nobody listens
            if (!client->WaitClosed(100)) return client;
        }
        ADD_FAILURE() << "no connection was served";
        return std::make_unique<TcpClient>(Port(kScpiPort));
    }
    const std::string idn = "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06\n";
};

// {bytes sent, the line they answer (none: nothing to wait for)}.
TEST_F(LanScpi, RepliesErrorsAndSetCommands) {
    auto t = Served();
    const std::pair<const char*, const char*> steps[] = {
        {"*IDN?;*STB?\n",
         "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06;+0\n"},  // the queries of a message answer on one line
        {"*ID", nullptr},                               // one command over two segments
        {"N?\n", "QX-ORVANE,VRN-4145,VRN-SIM-0001,1.06\n"},
        {"\n\n*OPC?\n", "1\n"},  // empty lines answer nothing
        {"VOLTA 100\nSYST:ERR?\n", "-113,\"Undefined header\"\n"},
        {"SYST:ERR?\n", "+0,\"No error\"\n"},
        {"*ESE 300\n*OPC\n*CLS;*ESR?\n", "+0\n"},  // set commands go through the menu/control thread
        {"*ESE 36;*ESE?;*OPC?\n", "+36;1\n"},
        {"VOLTA\n", nullptr},
    };
    for (const auto& [send, reply] : steps) {
        t->Send(send);
        if (reply != nullptr) {
            EXPECT_EQ(t->ReadLine(), reply) << send;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_EQ(t->ReadFor(100), "");
    // The queue and the status belong to the channel, not to the connection.
    t->Close();
    auto next = Served();
    next->Send("*ESE?;SYST:ERR?\n");
    EXPECT_EQ(next->ReadLine(), "+36;-113,\"Undefined header\"\n");
}

TEST_F(LanScpi, SecondClientIsClosedWhileOneIsServed) {
    auto first = Served();
    TcpClient second(Port(kScpiPort));
    ASSERT_TRUE(second.Connected());  // accepted by the system, then closed by the instrument
    second.Send("*IDN?\n");
    EXPECT_TRUE(second.WaitClosed());
    first->Send("*IDN?\n");
    EXPECT_EQ(first->ReadLine(), idn);
    first->Close();
    // Accepted once the first has left (its leaving is noticed within a few milliseconds).
    auto third = Served();
    third->Send("*IDN?\n");
    EXPECT_EQ(third->ReadLine(), idn);
}

// Clients one after the other, each connecting the moment the last has closed: every one is served,
// and the set command each sends just before it leaves is there for the next.
TEST_F(LanScpi, BackToBackClientsAreAllServedAndNoSetCommandIsLost) {
    {
        auto first = Served();  // the suite's controller keeps what earlier tests set
        first->Send("*ESE 0;*OPC?\n");
        ASSERT_EQ(first->ReadLine(), "1\n");
    }
    int previous = 0, unserved = 0, lost = 0;
    for (int i = 1; i <= 200; ++i) {
        TcpClient t(Port(kScpiPort));
        ASSERT_TRUE(t.Connected());
        t.Send("*ESE?\n");
        const std::string reply = t.ReadLine();
        if (reply.empty()) {
            ++unserved;
        } else if (reply != "+" + std::to_string(previous) + "\n") {
            ++lost;
            ADD_FAILURE() << "client " << i << " found " << reply << " instead of +" << previous;
        }
        previous = (i * 7) % 256;
        t.Send("*ESE " + std::to_string(previous) + "\n");
        t.Close();
    }
    EXPECT_EQ(unserved, 0);
    EXPECT_EQ(lost, 0);
}

// A thousand set commands in one burst, each followed by a query of what it set in the same message:
// every query sees its own set command, none lost, none run out of the order they were sent in.
TEST_F(LanScpi, BurstOfSetCommandsRunsEveryOneInOrder) {
    auto t = Served();
    std::string burst, expected;
    for (int i = 0; i < 1000; ++i) {
        const std::string value = std::to_string((i * 37) % 256);
        burst += "*ESE " + value + ";*ESE?\n";
        expected += "+" + value + "\n";
    }
    ASSERT_TRUE(t->Send(burst));
    std::string replies;
    for (int i = 0; i < 1000; ++i) {
        const std::string line = t->ReadLine();
        if (line.empty()) break;
        replies += line;
    }
    EXPECT_EQ(replies, expected);
}

TEST_F(LanScpi, RestartPortRestartsTheServiceAndListensAgain) {
    ASSERT_TRUE(c().WaitForOutput("LAN: restart port " + std::to_string(Port(kRestartPort)) + " listening"));
    const size_t restarts = testsupport::CountOf(c().Output(), "LAN: restart port"),
                 conns = testsupport::CountOf(c().Output(), "thread LanConnThread:");
    auto client = Served();
    for (size_t restart = 1; restart <= 2; ++restart) {
        {
            TcpClient knock(Port(kRestartPort));
            ASSERT_TRUE(knock.Connected());
            EXPECT_TRUE(knock.WaitClosed());
        }
        // The service's threads are made again, the old client is let go, and 5030 listens again. The
        // first restart also stops the web-server process, which takes its 3 s wait.
        auto relistened = [&] { return testsupport::CountOf(c().Output(), "LAN: restart port") == restarts + restart; };
        for (int i = 0; i < 1000 && !relistened(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(relistened()) << c().Output();
        EXPECT_EQ(testsupport::CountOf(c().Output(), "thread LanConnThread:"), conns + restart);
        EXPECT_TRUE(client->WaitClosed());
        client = Served();
        client->Send("*IDN?\n");
        EXPECT_EQ(client->ReadLine(), idn);
    }
}

TEST_F(LanScpi, ClientGoneInTheMiddleOfALargeReplyLeavesTheNextOneClean) {
    std::string line;
    for (int i = 0; i < 20; ++i)
        line += "*IDN?;";
    line.back() = '\n';
    std::string lines;
    for (int i = 0; i < 400; ++i)
        lines += line;
    // A client that hangs up (its later replies meet a closed socket) and one that is killed with a
    // reset; each leaves a half command behind.
    for (bool reset : {false, true}) {
        auto greedy = Served();
        greedy->Send(lines + "*ES");
        if (reset) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            greedy->Abort();
        } else {
            greedy->Close();
        }
        auto next = Served();
        next->Send("E?\n*IDN?\n");
        // Nothing of the previous client: no old replies, no half command ("*ES" + "E?"): "E?" alone is an
        // undefined header, answered with an empty line.
        EXPECT_EQ(next->ReadLine(), "\n") << (reset ? "reset" : "hang-up");
        EXPECT_EQ(next->ReadLine(), idn) << (reset ? "reset" : "hang-up");
        EXPECT_EQ(next->ReadFor(200), "");
        next->Send("SYST:ERR?\n");
        EXPECT_EQ(next->ReadLine(), "-113,\"Undefined header\"\n");
        ASSERT_TRUE(c().Running()) << "the departed client killed the controller:\n" << c().Output();
    }
}

}  // namespace
