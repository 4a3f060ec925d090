// The stand-ins of the instrument's device nodes: the bridge between the program's side and a client's,
// the ports list, the simulated drivers' log lines and the panel events they hand out once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/device_node.h"
#include "platform/panel_channel/panel_channel.h"
#include "platform/sandbox/sandbox.h"
#include "tests/support/controller_process.h"
#include "tests/support/temp_root.h"

namespace {

class DeviceNodes : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(plat::DeviceNodesStart(), 0); }
    void TearDown() override {
        for (int fd : fds_)
            close(fd);
        plat::DeviceNodesStop();
    }
    int Device(const char* path) {
        int fd = plat::OpenDevice(path, O_RDWR | O_NONBLOCK);
        if (fd >= 0) fds_.push_back(fd);
        return fd;
    }
    int Client(const std::string& node) {
        int fd = open(plat::DeviceClientPath(node).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) fds_.push_back(fd);
        return fd;
    }
    // What arrives at fd within a second, up to `want` bytes.
    static std::string Receive(int fd, size_t want) {
        std::string got;
        char buf[256];
        for (int tries = 0; got.size() < want && tries < 100; ++tries) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0) continue;
            ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }
    std::vector<std::string> Log() const { return testsupport::Lines(root_.Read("/var/log/devices.log")); }
    int Event(const std::string& line) {
        std::string error;
        return plat::PanelChannelCommand(line, &error);
    }
    testsupport::TempRoot root_;
    std::vector<int> fds_;
};

TEST_F(DeviceNodes, BridgeCarriesBothWaysWhileClientsComeAndGo) {
    const std::string ports = root_.Read("/var/run/ports");
    for (const char* node : {"ttyS1", "ttyGS0", "usbtmc0"}) {
        const std::string client = plat::DeviceClientPath(node);
        EXPECT_TRUE(client.starts_with("/dev/pts/")) << node;
        EXPECT_NE(ports.find(std::string(node) + " " + client + "\n"), std::string::npos) << ports;
    }
    EXPECT_EQ(ports.find("qx_gpib"), std::string::npos);
    const int dev = Device("/dev/ttyS1");
    ASSERT_GE(dev, 0);
    int client = Client("ttyS1");
    ASSERT_GE(client, 0);
    ASSERT_EQ(write(client, "*IDN?\n", 6), 6);
    EXPECT_EQ(Receive(dev, 6), "*IDN?\n");
    ASSERT_EQ(write(dev, "reply\n", 6), 6);
    EXPECT_EQ(Receive(client, 6), "reply\n");
    // The client sends and leaves: its bytes still arrive, then the carrier drops, once; what the device
    // says meanwhile reaches nobody, and the next client's bytes wait until the device took the drop.
    const auto carrier = [dev] {
        int bits = 0;
        EXPECT_EQ(plat::DeviceRequest(dev, TIOCMGET, &bits), 0);
        return (bits & TIOCM_CD) != 0;
    };
    ASSERT_EQ(write(client, "VOLT 2\n", 7), 7);
    close(client);
    fds_.pop_back();
    EXPECT_TRUE(carrier());  // not before the device has read that client's bytes
    ASSERT_EQ(write(dev, "lost\n", 5), 5);
    EXPECT_EQ(Receive(dev, 7), "VOLT 2\n");
    client = Client("ttyS1");
    ASSERT_GE(client, 0);
    ASSERT_EQ(write(client, "VOLT 1\n", 7), 7);
    bool dropped = false;
    for (int i = 0; i < 100 && !dropped; ++i) {
        dropped = !carrier();
        if (!dropped) usleep(10000);
    }
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(carrier());
    EXPECT_EQ(Receive(dev, 7), "VOLT 1\n");
    ASSERT_EQ(write(dev, "x\n", 2), 2);
    EXPECT_EQ(Receive(client, 2), "x\n");
    // The nodes are each their own line.
    const int other = Client("ttyGS0");
    ASSERT_EQ(write(dev, "y", 1), 1);
    EXPECT_EQ(Receive(other, 1), "");
    EXPECT_EQ(Receive(client, 1), "y");
    // Only the table's nodes open.
    errno = 0;
    EXPECT_EQ(plat::OpenDevice("/dev/ttyS2", O_RDWR), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(DeviceNodes, DriversLogSetRequestsAndReadOtherWordsAsZero) {
    ASSERT_EQ(plat::System("insmod /mnt/disk/qx_gpib.ko"), 0);
    const int gpib = Device("/dev/qx_gpib");
    const int tmc = Device("/dev/usbtmc0");
    const int cdc = Device("/dev/ttyGS0");
    const int serial = Device("/dev/ttyS1");
    ASSERT_GE(gpib, 0);
    ASSERT_GE(tmc, 0);
    ASSERT_GE(cdc, 0);
    struct Case {
        int fd;
        unsigned long request;
        uint32_t arg;
        const char* line;  // nullptr: a read of a word, which gives 0
    };
    const Case cases[] = {
        {gpib, 0x40040D09, 10, "qx_gpib 0x40040D09 10"},
        {gpib, 0x40040D08, 0x00100010, "qx_gpib 0x40040D08 0x0010 0x0010"},
        {gpib, 0x40040D0F, 30, "qx_gpib 0x40040D0F 30"},
        {tmc, 0x40045503, 0x50, "usbtmc0 0x40045503 0x50"},
        {cdc, 0x40046701, 0, "ttyGS0 0x40046701"},
        {gpib, 0x80040D07, 7, nullptr},
        {gpib, 0x80040D0B, 7, nullptr},
        {gpib, 0x80040D0A, 7, nullptr},
        {tmc, 0x80045501, 7, nullptr},
        {cdc, 0x80046701, 7, nullptr},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        uint32_t word = c.arg;
        EXPECT_EQ(plat::DeviceRequest(c.fd, c.request, &word), 0) << std::hex << c.request;
        if (c.line != nullptr)
            expected.push_back(c.line);
        else
            EXPECT_EQ(word, 0u) << std::hex << c.request;
    }
    EXPECT_EQ(Log(), expected);
    // Another driver's request, the serial line (no driver of its own) and a descriptor of no node.
    uint32_t word = 0;
    for (const auto& [fd, request] : {std::pair{tmc, 0x40040D09ul}, {serial, 0x40045503ul}, {0, 0x80045501ul}}) {
        errno = 0;
        EXPECT_EQ(plat::DeviceRequest(fd, request, &word), -1) << std::hex << request;
        EXPECT_EQ(errno, ENOTTY);
    }
}

// A closed descriptor's number, given next to a file that is no node, answers as no node.
TEST_F(DeviceNodes, ClosedDescriptorNumberNoLongerAnswersForItsNode) {
    const int tmc = plat::OpenDevice("/dev/usbtmc0", O_RDWR | O_NONBLOCK);
    ASSERT_GE(tmc, 0);
    uint32_t word = 0;
    ASSERT_EQ(plat::DeviceRequest(tmc, 0x80045501ul, &word), 0);
    ASSERT_EQ(plat::CloseDevice(tmc), 0);
    const int other = open("/dev/null", O_RDWR | O_CLOEXEC);
    ASSERT_EQ(other, tmc) << "the number was not given again";
    fds_.push_back(other);
    errno = 0;
    EXPECT_EQ(plat::DeviceRequest(other, 0x80045501ul, &word), -1);
    EXPECT_EQ(errno, ENOTTY);
}

TEST_F(DeviceNodes, PanelEventsAreTakenOnceByTheirNode) {
    const int tmc = Device("/dev/usbtmc0");
    ASSERT_GE(tmc, 0);
    EXPECT_NE(Event("gpib dcl"), 0);  // no adapter yet
    EXPECT_NE(Event("usbdev reset"), 0);
    // {panel line, node read, request, word}
    struct Case {
        const char* event;
        const char* node;
        unsigned long request;
        uint32_t word;
        const char* line;
    };
    const Case cases[] = {
        {"usbdev rsb", "/dev/usbtmc0", 0x80045501, 0x0100, "usbtmc0 0x80045501 0x0100"},
        {"usbdev gtl", "/dev/usbtmc0", 0x80045501, 0x0800, "usbtmc0 0x80045501 0x0800"},
        {"usbdev ren", "/dev/usbtmc0", 0x80045501, 0x1000, "usbtmc0 0x80045501 0x1000"},
        {"usbdev clear", "/dev/usbtmc0", 0x80045501, 0x0008, "usbtmc0 0x80045501 0x0008"},
        // Once the CDC node is opened, a clear is its clear condition.
        {"usbdev clear", "/dev/ttyGS0", 0x80046701, 0x0004, "ttyGS0 0x80046701 0x0004"},
        {"gpib dcl", "/dev/qx_gpib", 0x80040D0B, 0x08, "qx_gpib 0x80040D0B 0x0008"},
        {"gpib get", "/dev/qx_gpib", 0x80040D0B, 0x80, "qx_gpib 0x80040D0B 0x0080"},
    };
    ASSERT_EQ(plat::System("insmod /mnt/disk/qx_gpib.ko"), 0);
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        const int fd = Device(c.node);
        ASSERT_GE(fd, 0) << c.node;
        ASSERT_EQ(Event(c.event), 0) << c.event;
        uint32_t word = 0;
        EXPECT_EQ(plat::DeviceRequest(fd, c.request, &word), 0);
        EXPECT_EQ(word, c.word) << c.event;
        word = 1;
        plat::DeviceRequest(fd, c.request, &word);
        EXPECT_EQ(word, 0u) << c.event << ": taken twice";
        expected.push_back(c.line);
    }
    EXPECT_EQ(Log(), expected);
}

TEST_F(DeviceNodes, GpibNodeLivesFromInsmodToRmmod) {
    errno = 0;
    EXPECT_EQ(plat::OpenDevice("/dev/qx_gpib", O_RDWR), -1);
    EXPECT_EQ(errno, ENOENT);
    ASSERT_EQ(plat::System("insmod /mnt/disk/qx_gpib.ko"), 0);
    const std::string client = plat::DeviceClientPath("qx_gpib");
    EXPECT_NE(root_.Read("/var/run/ports").find("qx_gpib " + client + "\n"), std::string::npos);
    const int dev = Device("/dev/qx_gpib");
    ASSERT_GE(dev, 0);
    const int c = Client("qx_gpib");
    ASSERT_EQ(write(c, "*IDN?\n", 6), 6);
    EXPECT_EQ(Receive(dev, 6), "*IDN?\n");
    ASSERT_EQ(plat::System("rmmod qx_gpib"), 0);
    EXPECT_EQ(plat::OpenDevice("/dev/qx_gpib", O_RDWR), -1);
    EXPECT_EQ(root_.Read("/var/run/ports").find("qx_gpib"), std::string::npos);
    EXPECT_NE(Event("gpib get"), 0);
    // The open descriptor of the removed node sees the hang-up.
    pollfd p{dev, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 1000), 1);
    char b;
    EXPECT_LE(read(dev, &b, 1), 0);
}

}  // namespace
