// /tmp/netconf is read by the network script one KEY=value a line: no text of the unit, however it got
// into the unit, adds a line of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/system/config/identity.h"
#include "core/system/config/lan_cfg.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/settings_backup.h"
#include "sysadmin/net/net_files.h"
#include "sysadmin/net/net_monitor.h"
#include "sysadmin/net/net_state.h"
#include "tests/support/controller_process.h"
#include "tests/support/erased_nv.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

const std::vector<std::string> kKeys = {"IPADDR=", "NETMASK=",      "DNS=",           "GATEWAY=",
                                        "MACADDR=", "INSTNAME=",     "PASSWORD=",      "DOMAIN=",
                                        "PORT=",    "Manufacturer=", "Serial_Number=", "Description=",
                                        "Firmware=", "Hostname="};

class NetconfTexts : public SandboxLogTest {
  protected:
    void SetUp() override {
        SandboxLogTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenErasedNv());
        g_LanCfg = sysadmin::LanCfg{};
        const uint8_t ip[4] = {192, 168, 10, 20};
        std::memcpy(g_LanCfg.IP, ip, 4);
        std::strcpy(g_LanCfg.HOSTNAME, "V-12345678");
        NetStateInit();
    }
    void TearDown() override {
        testsupport::CloseNv();
        SandboxLogTest::TearDown();
    }
    // The file's lines; each must start with its key, in the order the script expects.
    std::vector<std::string> Written() {
        NetconfBuild();
        EXPECT_EQ(NetconfWrite(), 0);
        const std::vector<std::string> lines = testsupport::Lines(root.Read("/tmp/netconf"));
        EXPECT_EQ(lines.size(), kKeys.size());
        for (size_t i = 0; i < std::min(lines.size(), kKeys.size()); ++i) {
            EXPECT_EQ(lines[i].rfind(kKeys[i], 0), 0u) << lines[i];
            for (char c : lines[i])
                EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << lines[i];
        }
        return lines;
    }
};

TEST_F(NetconfTexts, StoredIdentityWithALineFeedAddsNoLine) {
    IdentityBlock b;
    b.modelId = 1;
    std::memcpy(b.serial, "QX1\nIPADDR=6.6.6", 16);
    std::memcpy(b.mac, "00:11:22:33:44:55\rX", 19);
    ASSERT_EQ(IdentityBlockSave(b), kNvSaved);
    NvBlocksReset();
    ASSERT_EQ(IdentityBlockLoad(), 0);
    const auto lines = Written();
    ASSERT_EQ(lines.size(), kKeys.size());
    EXPECT_EQ(lines[0], "IPADDR=192.168.10.20");
    EXPECT_EQ(lines[10], "Serial_Number=QX12345678");  // the text the unit had before the load
}

// Texts that reach the slots by any other way (a settings field written directly, a read-back) are
// left out of the file, their keys kept.
TEST_F(NetconfTexts, TextsWithControlCharactersAreLeftOutOfTheFile) {
    std::memcpy(g_SerialNo, "QX1\nPORT=23", 11);
    std::memcpy(g_LanCfg.HOSTNAME, "V-1\r\x1b[2J", 9);
    const auto lines = Written();
    ASSERT_EQ(lines.size(), kKeys.size());
    EXPECT_EQ(lines[8], "PORT=80");
    EXPECT_EQ(lines[10], "Serial_Number=");
    EXPECT_EQ(lines[13], "Hostname=");
    EXPECT_EQ(lines[5], "INSTNAME=VRN-4145");
}

}  // namespace
