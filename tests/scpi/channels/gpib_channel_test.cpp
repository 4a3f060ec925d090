// The USB-GPIB channel on the adapter's stand-in: the address given to the driver, the reply length
// announced before a reply, the serial-poll status pair, the bus's device clear and trigger, the disable,
// the driver's control codes and its module commands. What the program asks of the driver is read back
// from the stand-in's log of requests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/system/links/remote_state.h"
#include "core/system/links/usb_state.h"
#include "panel/menu_thread.h"
#include "platform/host/clock.h"
#include "platform/host/device_node.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "scpi/channels/ports/gpib_channel.h"
#include "scpi/channels/scpi_channels.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/controller_process.h"
#include "tests/support/temp_root.h"

namespace {

constexpr uint32_t kAddress = 7;
constexpr uint8_t kAdapterPresent = 1u << 2;  // of USB status byte A

class GpibChannel : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(plat::DeviceNodesStart(), 0);
        ASSERT_EQ(plat::System("insmod /mnt/disk/qx_gpib.ko"), 0);
        g_UsbState.statusA.fetch_and(static_cast<uint8_t>(~kAdapterPresent));
        scpi::GpibChannelStart();
        ASSERT_NE(g_UsbState.statusA.load() & kAdapterPresent, 0) << "the adapter announced to the USB sequencer";
        g_ScpiIfGpib.status->reqValue = kAddress;
        scpiStatusSetBits(g_ScpiIfGpib.status, kChanEnabled);
        client_ = open(plat::DeviceClientPath("qx_gpib").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(client_, 0);
        ASSERT_TRUE(RunUntil([] { return g_ScpiIfGpib.io.control(kPortCtlConnected, 0) == 1; }));
    }
    void TearDown() override {
        scpi::GpibChannelStop();
        if (client_ >= 0) close(client_);
        plat::DeviceNodesStop();
    }
    // Passes about once a millisecond, collecting what reaches the client, until done() or 3 s.
    bool RunUntil(const std::function<bool()>& done) {
        for (const uint64_t until = plat::NowMs() + 3000; plat::NowMs() < until; plat::SleepMs(1)) {
            scpi::GpibPass(pass_++);
            char buf[256];
            const ssize_t n = read(client_, buf, sizeof buf);
            if (n > 0) got_.append(buf, static_cast<size_t>(n));
            if (done()) return true;
        }
        return false;
    }
    bool Reply(const std::string& message) {
        got_.clear();
        Send(message);
        return RunUntil([this] { return !got_.empty() && got_.back() == '\n'; });
    }
    // A mailbox request as the rear-USB sequencer posts it, taken by the passes.
    bool Post(uint32_t bits, uintptr_t value) {
        std::atomic<bool> taken{false};
        std::thread poster([&] {
            scpiPostInterfaceRequest(g_ScpiIfGpib.status, bits, value);
            taken = true;
        });
        const bool ok = RunUntil([&] { return taken.load(); });
        if (!ok) sem_post(&g_ScpiIfGpib.status->doneSem);  // frees the poster for the join
        poster.join();
        return ok;
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(write(client_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // The driver requests logged so far whose line starts with "qx_gpib <request>".
    std::vector<std::string> Requests(const std::string& request) const {
        std::vector<std::string> lines;
        for (const std::string& line : LogLines())
            if (line.rfind("qx_gpib " + request, 0) == 0) lines.push_back(line);
        return lines;
    }
    std::vector<std::string> LogLines() const {
        return testsupport::Lines(root_.Read("/var/log/devices.log"));
    }
    bool Logged(const std::string& line) const {
        const auto all = LogLines();
        return std::find(all.begin(), all.end(), line) != all.end();
    }
    static void BusEvent(const char* what) {
        std::string error;
        ASSERT_EQ(plat::DeviceEventCommand("gpib", what, &error), 0) << error;
    }
    testsupport::TempRoot root_;
    scpitest::MenuEnv env_;
    int client_ = -1;
    uint32_t pass_ = 1;
    std::string got_;
};

// The address reaches the driver at the open; a second time only when it changes; never beyond 0-30; and
// again after a close, which forgets it.
TEST_F(GpibChannel, TheAddressGoesToTheDriverOnlyWhenNewAndValid) {
    EXPECT_EQ(Requests("0x40040D09"), std::vector<std::string>{"qx_gpib 0x40040D09 7"});
    const ScpiIoOps& io = g_ScpiIfGpib.io;
    const struct {
        uintptr_t address;
        int rc;
        const char* line;  // nullptr: no request
    } rows[] = {
        {7, 0, nullptr},   {30, 0, "qx_gpib 0x40040D09 30"}, {31, -1, nullptr},
        {0, 0, "qx_gpib 0x40040D09 0"}, {static_cast<uintptr_t>(-1), -1, nullptr}, {0, 0, nullptr},
    };
    std::vector<std::string> want{"qx_gpib 0x40040D09 7"};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<intptr_t>(row.address));
        EXPECT_EQ(io.control(kPortCtlRearm, row.address), row.rc);
        if (row.line != nullptr) want.push_back(row.line);
        EXPECT_EQ(Requests("0x40040D09"), want);
    }
    EXPECT_EQ(io.close(), 0);
    EXPECT_EQ(io.control(kPortCtlConnected, 0), 0);
    ASSERT_EQ(io.open(), 1);
    EXPECT_EQ(io.control(kPortCtlRearm, 0), 0);
    want.push_back("qx_gpib 0x40040D09 0");
    EXPECT_EQ(Requests("0x40040D09"), want);
    // A new init forgets it too.
    ASSERT_EQ(io.init("USB-GPIB", kChanUsbGpib), 0);
    ASSERT_EQ(io.open(), 1);
    EXPECT_EQ(io.control(kPortCtlRearm, 0), 0);
    want.push_back("qx_gpib 0x40040D09 0");
    EXPECT_EQ(Requests("0x40040D09"), want);
}

// The serial-poll pair follows the status byte and the enable, without bit 6, and only when it changes.
TEST_F(GpibChannel, TheStatusPairFollowsTheStatusByteWithoutBit6) {
    EXPECT_TRUE(Requests("0x40040D08").empty());  // nothing changed since the start
    Send("*SRE 4\n");
    for (int guard = 0; guard < 2000 && Requests("0x40040D08").empty(); ++guard) {
        MenuThread_Pass();
        RunUntil([] { return true; });
    }
    EXPECT_EQ(Requests("0x40040D08"), std::vector<std::string>{"qx_gpib 0x40040D08 0x0000 0x0004"});
    Send("NOSUCH\n");  // an error in the queue: EAV, and with it the summary bit 6
    ASSERT_TRUE(RunUntil([this] { return Requests("0x40040D08").size() == 2; }));
    ASSERT_TRUE(Reply("SYST:ERR?\n"));
    EXPECT_EQ(got_.rfind("-113,", 0), 0u) << got_;
    // The reply passes through MAV on its way out; once sent, the byte is back to nothing.
    ASSERT_TRUE(RunUntil([this] { return Requests("0x40040D08").back() == "qx_gpib 0x40040D08 0x0000 0x0004"; }));
    int passes = 0;
    RunUntil([&passes] { return ++passes == 50; });  // nothing changes in these
    const auto pairs = Requests("0x40040D08");
    ASSERT_GE(pairs.size(), 3u);
    EXPECT_EQ(pairs[1], "qx_gpib 0x40040D08 0x0004 0x0004");
    EXPECT_EQ(pairs.back(), "qx_gpib 0x40040D08 0x0000 0x0004");
    for (size_t i = 1; i < pairs.size(); ++i)
        EXPECT_NE(pairs[i], pairs[i - 1]) << "pushed again unchanged";
}

// A reply larger than the node's whole line while the client reads nothing: the passes go on, so the bus's
// device clear is still taken; it drops the reply, and the next message is answered alone.
TEST_F(GpibChannel, ADeviceClearIsTakenWhileTheClientReadsNothing) {
    static const std::string big(512 * 1024, 'b');  // more than the stand-in's line holds both ways
    const ScpiIoOps& io = g_ScpiIfGpib.io;
    const uint32_t size = static_cast<uint32_t>(big.size());
    ASSERT_EQ(io.write(big.data(), size, kPortByRef), static_cast<int>(size));
    ASSERT_EQ(io.write(nullptr, 0, kPortCommit), 1);
    std::atomic<bool> stop{false}, stopped{false};
    std::thread passes([&] {
        for (uint32_t pass = pass_; !stop.load(); ++pass) {
            scpi::GpibPass(pass);
            plat::SleepMs(1);
        }
        stopped = true;
    });
    // The reply is under way: bytes have reached the client, who leaves them there.
    int pending = 0;
    for (const uint64_t until = plat::NowMs() + 3000; pending == 0 && plat::NowMs() < until; plat::SleepMs(1))
        ioctl(client_, FIONREAD, &pending);
    EXPECT_GT(pending, 0);
    BusEvent("dcl");
    bool taken = false;
    for (const uint64_t until = plat::NowMs() + 3000; !taken && plat::NowMs() < until; plat::SleepMs(5))
        taken = Logged("qx_gpib 0x80040D0B 0x0008");
    EXPECT_TRUE(taken) << "the device clear was not taken while the reply waited for the client";
    stop = true;
    // A pass held by the client is freed by reading what it writes.
    char sink[4096];
    for (const uint64_t until = plat::NowMs() + 30000; !stopped.load() && plat::NowMs() < until;)
        if (read(client_, sink, sizeof sink) <= 0) plat::SleepMs(1);
    passes.join();
    EXPECT_EQ(io.control(kPortCtlCommitted, 0), 0);
    ASSERT_TRUE(Reply("*ESE?\n"));
    EXPECT_EQ(got_, "+0\n");
}

// A group execute trigger with no bus trigger armed is ignored, with its error in the queue.
TEST_F(GpibChannel, ABusTriggerUnarmedPutsItsErrorInTheQueue) {
    BusEvent("get");
    ASSERT_TRUE(RunUntil([this] { return Logged("qx_gpib 0x80040D0B 0x0080"); }));
    ASSERT_TRUE(Reply("SYST:ERR?\n"));
    EXPECT_EQ(got_.rfind("-211,", 0), 0u) << got_;
}

// A disable forgets the session: the error queue, the driver's output, the port; the adapter's reset line
// is pulsed. Enabled again, the port opens with the address given anew.
TEST_F(GpibChannel, ADisableEndsTheSessionAndAnEnableStartsAFreshOne) {
    Send("NOSUCH\n");
    ASSERT_TRUE(RunUntil([] { return g_ScpiIfGpib.errq.count > 0; }));
    ASSERT_TRUE(Post(kReqDisable, 0));
    EXPECT_EQ(g_ScpiIfGpib.io.control(kPortCtlConnected, 0), 0);
    EXPECT_EQ(g_ScpiIfGpib.errq.count, 0);
    EXPECT_TRUE(Logged("qx_gpib 0x40040D0D"));
    const std::string commands = root_.Read("/var/log/commands.log");
    const size_t low = commands.find("echo 0 > /sys/class/leds/gpib_rst/brightness");
    EXPECT_NE(low, std::string::npos);
    EXPECT_NE(commands.find("echo 1 > /sys/class/leds/gpib_rst/brightness", low), std::string::npos);
    // Asked again while disabled, the adapter is reset again.
    ASSERT_TRUE(Post(kReqDisable, 0));
    const std::string again = root_.Read("/var/log/commands.log");
    EXPECT_NE(again.find("echo 0 > /sys/class/leds/gpib_rst/brightness", low + 1), std::string::npos);
    ASSERT_TRUE(Post(kReqEnable | kReqSetValue, kAddress));
    ASSERT_TRUE(RunUntil([] { return g_ScpiIfGpib.io.control(kPortCtlConnected, 0) == 1; }));
    EXPECT_EQ(Requests("0x40040D09"),
              (std::vector<std::string>{"qx_gpib 0x40040D09 7", "qx_gpib 0x40040D09 7"}));
    ASSERT_TRUE(Reply("SYST:ERR?\n"));
    EXPECT_EQ(got_.rfind("+0,", 0), 0u) << got_;
}

// The driver's control codes: the common ones, the driver words (the stand-in reads them as 0), and the
// codes it has not.
TEST_F(GpibChannel, ControlCodes) {
    const ScpiIoOps& io = g_ScpiIfGpib.io;
    const struct {
        int32_t code;
        int rc;
    } rows[] = {{0, 1}, {1, 1}, {3, 0}, {5, 0}, {9, 0},   {13, 0},  {15, 0}, {16, 0},
                {17, 0}, {19, 0}, {7, -1}, {8, -1}, {10, -1}, {20, -1}, {21, -1}};
    for (const auto& row : rows)
        EXPECT_EQ(io.control(row.code, 0), row.rc) << row.code;
    EXPECT_EQ(io.control(14, 0), -1) << "no status pair";
    const scpi::GpibStatusPair pair{0x55, 0xFF};
    EXPECT_EQ(io.control(14, reinterpret_cast<uintptr_t>(&pair)), 0);
    EXPECT_TRUE(Logged("qx_gpib 0x40040D08 0x0015 0x00BF"));
    // Copies that end a reply still merge into one entry; clearing the output drops it at the driver too.
    ASSERT_EQ(io.write("ab", 2, kPortCopyEnd), 2);
    ASSERT_EQ(io.write("c\n", 2, kPortCopyEnd), 2);
    ASSERT_EQ(io.write(nullptr, 0, kPortCommit), 1);
    EXPECT_EQ(io.control(kPortCtlCommitted, 0), 1);
    EXPECT_EQ(io.control(kPortCtlAnnounceLength, 0), 0);
    EXPECT_TRUE(Logged("qx_gpib 0x40040D0F 4"));
    EXPECT_EQ(io.control(kPortCtlClearOutput, 0), 0);
    EXPECT_TRUE(Logged("qx_gpib 0x40040D0D"));
    EXPECT_EQ(io.control(kPortCtlCommitted, 0), 0);
    // Only "how" 1 reads.
    Send("Q");
    char c = 0;
    EXPECT_EQ(io.read(&c, 1, 0), 0);
    int n = 0;
    for (const uint64_t until = plat::NowMs() + 2000; n == 0 && plat::NowMs() < until; plat::SleepMs(1))
        n = io.read(&c, 1, 1);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(c, 'Q');
    // Closed, the port reads nothing and the driver's words cannot be read.
    Send("R");
    EXPECT_EQ(io.close(), 0);
    EXPECT_LE(io.read(&c, 1, 1), 0);
    for (const int32_t code : {13, 15, 16, 17, 19})
        EXPECT_EQ(io.control(code, 0), -1) << code;
}

// The module is loaded once and unloaded once, and only when its file is on the disk.
TEST(GpibDriver, ModuleCommandsRunOnceEachWhenTheFileIsThere) {
    testsupport::TempRoot root;
    const auto count = [&root](const std::string& command) {
        return testsupport::CountOf(root.Read("/var/log/commands.log"), command);
    };
    std::remove(plat::MapPath("/mnt/disk/qx_gpib.ko").c_str());
    EXPECT_FALSE(scpi::GpibDriverPrepare());
    root.Write("/mnt/disk/qx_gpib.ko", "module");
    ASSERT_TRUE(scpi::GpibDriverPrepare());
    scpi::GpibDriverUnload();  // not loaded: nothing
    EXPECT_EQ(count("rmmod qx_gpib"), 0u);
    scpi::GpibDriverLoadOnce();
    scpi::GpibDriverLoadOnce();
    EXPECT_EQ(count("insmod /mnt/disk/qx_gpib.ko"), 1u);
    scpi::GpibDriverUnload();
    scpi::GpibDriverUnload();
    EXPECT_EQ(count("rmmod qx_gpib"), 1u);
    // Each is followed by a sync.
    const std::string log = root.Read("/var/log/commands.log");
    const size_t insmod = log.find("insmod /mnt/disk/qx_gpib.ko"), rmmod = log.find("rmmod qx_gpib");
    ASSERT_NE(insmod, std::string::npos);
    ASSERT_NE(rmmod, std::string::npos);
    const size_t firstSync = log.find(" sync", insmod);
    EXPECT_LT(firstSync, rmmod);
    EXPECT_NE(log.find(" sync", rmmod), std::string::npos);
}

}  // namespace
