// Opening device ports under the instrument root: plain ports keep the device's own terminal
// settings, terminal ports get theirs applied.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/root.h"
#include "scpi/remote_port.h"
#include "tests/support/temp_root.h"

namespace {

struct Pty {
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        slaveName = ptsname(master);
    }
    ~Pty() { close(master); }
    int master = -1;
    std::string slaveName;
};

void LinkDevice(const std::string& instrumentPath, const std::string& target) {
    std::string host = plat::MapPath(instrumentPath);
    mkdir(plat::MapPath("/dev").c_str(), 0755);
    unlink(host.c_str());
    ASSERT_EQ(symlink(target.c_str(), host.c_str()), 0) << host;
}

TEST(PortOpen, TerminalPortGetsItsSettingsApplied) {
    testsupport::TempRoot root;
    Pty pty;
    LinkDevice("/dev/ttyGS0", pty.slaveName);
    RemotePort port{};
    ASSERT_EQ(scpi::PortInitTerminal(&port, "/dev/ttyGS0"), 0);
    ASSERT_EQ(scpi::PortOpen(&port), 1);
    termios t{};
    ASSERT_EQ(tcgetattr(port.fd, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    int fd = port.fd;
    EXPECT_EQ(scpi::PortOpen(&port), 1);  // opening again keeps the one descriptor
    EXPECT_EQ(port.fd, fd);
    // Replies reach the other end of the line.
    PortWrite(&port, "+1\n", 3, kPortCopy);
    PortWrite(&port, nullptr, 0, kPortCommit);
    EXPECT_EQ(PortWrite(&port, nullptr, 0, kPortTransmit), 3);
    char buf[8] = {};
    EXPECT_EQ(read(pty.master, buf, sizeof(buf)), 3);
    EXPECT_STREQ(buf, "+1\n");
    EXPECT_EQ(scpi::PortClose(&port), 0);
    EXPECT_EQ(port.isOpen, 0u);
    EXPECT_EQ(scpi::PortClose(&port), -1);
    // Settings given while closed are applied at the next open.
    cfsetospeed(&t, B115200);
    EXPECT_EQ(SerialApply(&port, &t), 0);
    ASSERT_EQ(scpi::PortOpen(&port), 1);
    ASSERT_EQ(tcgetattr(port.fd, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));
    scpi::PortDeinit(&port);
}

TEST(PortOpen, PlainPortKeepsTheDevicesSettings) {
    testsupport::TempRoot root;
    Pty pty;
    LinkDevice("/dev/ttyS1", pty.slaveName);
    int probe = open(pty.slaveName.c_str(), O_RDWR | O_NOCTTY);
    termios before{};
    tcgetattr(probe, &before);
    RemotePort port{};
    ASSERT_EQ(scpi::PortInit(&port, "/dev/ttyS1"), 0);
    ASSERT_EQ(scpi::PortOpen(&port), 1);
    termios after{};
    tcgetattr(port.fd, &after);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
    // Serial settings given later are applied to the open line.
    termios t = before;
    cfsetospeed(&t, B115200);
    cfsetispeed(&t, B115200);
    EXPECT_EQ(SerialApply(&port, &t), 0);
    tcgetattr(port.fd, &after);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B115200));
    close(probe);
    scpi::PortDeinit(&port);
}

TEST(PortOpen, MissingDeviceLeavesThePortClosed) {
    testsupport::TempRoot root;
    RemotePort port{};
    ASSERT_EQ(scpi::PortInit(&port, "/dev/qx_gpib"), 0);
    EXPECT_EQ(scpi::PortOpen(&port), 0);
    EXPECT_EQ(port.isOpen, 0u);
    scpi::PortDeinit(&port);
}

}  // namespace
