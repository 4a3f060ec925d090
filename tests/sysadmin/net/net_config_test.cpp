// The LAN settings applied through the command sandbox: the static and DHCP chains of the network
// sequencer, the host name, the MAC address, /tmp/netconf and the LXI service file.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "core/system/config/identity.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/state/sys_status.h"
#include "platform/sandbox/sandbox_events.h"
#include "sysadmin/net/lxi_service.h"
#include "sysadmin/net/net_commands.h"
#include "sysadmin/net/net_dhcp.h"
#include "sysadmin/net/net_files.h"
#include "sysadmin/net/net_monitor.h"
#include "sysadmin/net/net_state.h"
#include "tests/sysadmin/sandbox_log_fixture.h"

namespace {

using Entries = std::vector<std::string>;

class NetConfig : public SandboxLogTest {
  protected:
    void SetUp() override {
        SandboxLogTest::SetUp();
        core::SysStatusReset();
        SysStatusSet(kSysMenuThreadRunning);
        g_LanCfg = sysadmin::LanCfg{};
        g_LanCfg.LAN_EN = 1;
        const uint8_t ip[4] = {192, 168, 10, 20}, mask[4] = {255, 255, 255, 0};
        std::memcpy(g_LanCfg.IP, ip, 4);
        std::memcpy(g_LanCfg.MASK, mask, 4);
        std::memcpy(g_LanCfg.GW, ip, 3), g_LanCfg.GW[3] = 1;
        std::memcpy(g_LanCfg.DNS, ip, 3), g_LanCfg.DNS[3] = 2;
        NetStateInit();
    }
    // Runs the sequencer until it is idle again; false when it does not come back within the passes.
    static bool RunToIdle(int passes = 2000) {
        for (int i = 0; i < passes; ++i) {
            NetMonitor();
            if (g_NetSeq.step.load() == 0) return true;
        }
        return false;
    }
};

TEST_F(NetConfig, StaticAddressesReachEth0InOrderAndTheFilesFollow) {
    ASSERT_EQ(ReadMacAddress(), 0);
    ASSERT_EQ(NetConfigStart(), 0);
    EXPECT_EQ(NetConfigStart(), -1);  // busy
    ASSERT_TRUE(RunToIdle());
    const Entries applied = Matching("eth0");
    const Entries expected = {"simulated 0 ifconfig eth0 192.168.10.20 netmask 255.255.255.0 up",
                              "simulated 0 ifconfig eth0 192.168.10.20 netmask 255.255.255.0",
                              "simulated 0 route add default gw 192.168.10.1 eth0"};
    EXPECT_EQ(Entries(applied.begin(), applied.begin() + std::min<size_t>(3, applied.size())), expected);
    const std::string resolv = root.Read("/etc/resolv.conf");
    EXPECT_EQ(resolv.substr(resolv.find("nameserver")), "nameserver 192.168.10.2\r\n");
    const std::string netconf = "\n" + root.Read("/tmp/netconf");  // its key order: netconf_texts_test
    for (const char* line : {"\nIPADDR=192.168.10.20\n", "\nMACADDR=02:56:52:4E:10:60\n", "\nPASSWORD=0000\n",
                             "\nSerial_Number=QX12345678\n", "\nFirmware=1.06\n"})
        EXPECT_NE(netconf.find(line), std::string::npos) << line;
    EXPECT_NE(root.Read("/etc/avahi/services/lxi.service").find("Model=VRN-4145"), std::string::npos);
}

TEST_F(NetConfig, LeaseIsTakenAndReadBack) {
    std::string error;
    ASSERT_EQ(plat::SandboxNetEvent("dhcp 10.0.0.57 255.255.255.0 10.0.0.1 10.0.0.2", &error), 0);
    g_LanCfg.DHCP = 1;
    ASSERT_EQ(NetConfigStart(), 0);
    ASSERT_TRUE(RunToIdle());
    EXPECT_EQ(Matching("udhcpc -bR").at(0),
              "simulated 0 udhcpc -bR -p /var/run/udhcpc.eth0.pid -i eth0 > /tmp/udhcpc.info");
    const char* expected[] = {"10.0.0.57", "10.0.0.255", "255.255.255.0", "10.0.0.1", "10.0.0.2"};
    for (int i = 0; i < sysadmin::kLanAddrs; ++i)
        EXPECT_STREQ(g_LanActualText[i], expected[i]);
    EXPECT_EQ(g_LanActual[sysadmin::kAddrIp][3], 57);
    EXPECT_EQ(g_NetSeq.avahiWatch.load(), 1u);
    // A restart ends the running client first.
    DhcpStart();
    EXPECT_EQ(Matching("kill"), Entries{"simulated 0 kill 700"});
}

TEST_F(NetConfig, UnderDhcpTheLinkLocalAddressAndTheLinkAreWatched) {
    std::string error;
    g_LanCfg.DHCP = 1;
    ASSERT_EQ(NetConfigStart(), 0);
    ASSERT_TRUE(RunToIdle());  // no lease offered: eth0 keeps its static address
    ASSERT_EQ(plat::SandboxNetEvent("avahi 169.254.3.4", &error), 0);
    g_NetSeq.addrChanged.store(0);
    for (int i = 0; i < 2000 && g_NetSeq.addrChanged.load() == 0; ++i)
        NetMonitor();
    EXPECT_EQ(g_NetSeq.addrChanged.load(), 1u);
    EXPECT_STREQ(g_LanActualText[sysadmin::kAddrIp], "169.254.3.4");
    ASSERT_TRUE(RunToIdle());  // step 12 rewrote netconf with it
    EXPECT_NE(root.Read("/tmp/netconf").find("IPADDR=169.254.3.4\n"), std::string::npos);

    EXPECT_EQ(g_NetMonState.load(), 1u);  // the panel sees the link up

    ASSERT_EQ(plat::SandboxNetEvent("link down", &error), 0);
    const size_t scripts = Matching("net.sh").size();
    for (int i = 0; i < 200; ++i)
        NetMonitor();
    EXPECT_EQ(Matching("net.sh").size(), scripts + 1);  // the script hears of the change once
    EXPECT_EQ(Matching("net.sh").back(), "simulated 0 /mnt/disk/net.sh");
    EXPECT_EQ(g_NetMonState.load(), 0u);
}

TEST_F(NetConfig, NameServerIsReadOnlyFromANameserverLine) {
    const std::tuple<const char*, int, uint8_t> cases[] = {
        {"search x\r\nnameserver 10.1.2.3\r\n", 0, 3},
        {"nameserver 10.1.2.300\n", 0, 44},  // its own text: loose, low 8 bits
        {"", -1, 0},
        {"search x\n", -1, 0},
        {"nameserver\n", -1, 0},
        {"nameserver none at all\n", -1, 0},
    };
    for (const auto& [text, result, last] : cases) {
        g_LanCfg.DNS[3] = 0;
        root.Write("/etc/resolv.conf", text);
        EXPECT_EQ(ResolvConfReadDns(), result) << text;
        EXPECT_EQ(g_LanCfg.DNS[3], last) << text;
    }
}

TEST_F(NetConfig, HostNameAndMacTextLetNothingUnsafeReachTheShell) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"QX12345678", 0, "V-12345678"},
        {"7", 0, "V-7"},
        {"", 0, "V-"},
        {"QX0123456789ABCDEF", 0, "V-0123456789ABC"},  // 16 characters kept: cut to 15
        {"AB1;reboot", -1, nullptr},
        {"QX$(reboot)", -1, nullptr},
    };
    for (const auto& [serial, result, name] : cases) {
        SetIdentity("VRN-4145", serial);
        std::strcpy(g_LanCfg.HOSTNAME, "before");
        EXPECT_EQ(HostnameApply(), result) << serial;
        EXPECT_STREQ(g_LanCfg.HOSTNAME, name != nullptr ? name : "before") << serial;
        if (name != nullptr) {
            EXPECT_EQ(Log().back(), std::string("simulated 0 hostname ") + name);
        }
    }
    EXPECT_TRUE(Matching("reboot").empty());
    EXPECT_EQ(Matching("hostname").size(), 4u);
    const std::tuple<const char*, int> macs[] = {
        {"02-56-52-4e-10-61", 0}, {"02:56:52:4e:10;reboot", -1}, {"02:56 x", -1}, {"02:5", -1}};
    for (const auto& [mac, result] : macs) {
        IdentityTextWrite(g_MacText, sizeof g_MacText, mac, std::strlen(mac));
        EXPECT_EQ(SetMacAddress(), result) << mac;
    }
    EXPECT_EQ(Matching("hw ether"), Entries{"simulated 0 ifconfig eth0 hw ether 02:56:52:4e:10:61"});
    EXPECT_EQ(root.Read("/sys/class/net/eth0/address"), "02:56:52:4e:10:61\n");
}

TEST_F(NetConfig, NetconfPasswordReadBackAndTheServiceFile) {
    const std::tuple<uint8_t, uint32_t, const char*> cases[] = {
        {1, 42, "0042"}, {0, 42, "0000"}, {1, 9876, "9876"}};
    for (const auto& [enabled, pw, text] : cases) {
        g_LanCfg.PW_EN = enabled;
        g_LanCfg.PW = pw;
        NetconfBuild();
        EXPECT_STREQ(g_NetInfoText[6], text);
    }
    root.Write("/tmp/netconf", "junk IPADDR=10.1.2.3,rest\nGATEWAY=10.1.2.254\nno key here\nDNS=\n");
    ASSERT_EQ(NetconfRead(), 0);
    EXPECT_STREQ(g_NetInfoText[0], "10.1.2.3");
    EXPECT_EQ(g_LanCfg.IP[3], 3);
    EXPECT_EQ(g_LanCfg.GW[3], 254);
    root.Write("/etc/resolv.conf", "");
    g_LanCfg.DHCP = 0;
    SetIdentity("A&B<C>", "Q\"1'2");
    ASSERT_EQ(LxiServiceWrite(), 0);
    const std::string text = root.Read("/etc/avahi/services/lxi.service");
    EXPECT_NE(text.find("Model=A&amp;B&lt;C&gt;</txt-record>"), std::string::npos) << text;
    EXPECT_NE(text.find("SerialNumber=Q&quot;1&apos;2</txt-record>"), std::string::npos) << text;
    EXPECT_NE(text.find("<name replace-wildcards=\"yes\">QXORVANE-%h</name>"), std::string::npos);
}

// The restart requests start their chains with five tries, only while the LAN is on; the static one
// forgets the addresses in effect but the broadcast. A refresh waits for an idle sequencer. The re-apply
// request picks the restart by the DHCP setting.
TEST_F(NetConfig, RestartAndRefreshRequestsStartTheirChains) {
    const auto fill = [] {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        for (auto& addr : g_LanActual)
            std::memset(addr, 9, 4);
    };
    const auto actual = [](int i) {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        return std::vector<uint8_t>(g_LanActual[i], g_LanActual[i] + 4);
    };
    const auto started = [](uint32_t step) {
        EXPECT_EQ(g_NetSeq.step.load(), step);
        EXPECT_EQ(g_NetSeq.wait.load(), 0u) << step;
        EXPECT_EQ(g_NetSeq.retries.load(), 5u) << step;
    };
    const std::vector<uint8_t> zero(4, 0), nine(4, 9);
    fill();
    g_LanCfg.LAN_EN = 0;
    NetRequestStaticRestart();
    NetRequestDhcpRestart();
    NetRefreshRequest();
    EXPECT_EQ(g_NetSeq.step.load(), 0u);
    EXPECT_EQ(actual(sysadmin::kAddrIp), nine);

    g_LanCfg.LAN_EN = 1;
    g_NetSeq.wait.store(7);
    NetRequestStaticRestart();
    started(9u);
    for (int i : {sysadmin::kAddrIp, sysadmin::kAddrMask, sysadmin::kAddrGw, sysadmin::kAddrDns})
        EXPECT_EQ(actual(i), zero) << i;
    EXPECT_EQ(actual(sysadmin::kAddrBcast), nine);

    NetRefreshRequest();  // busy: the restart goes on
    EXPECT_EQ(g_NetSeq.step.load(), 9u);
    fill();
    g_NetSeq.wait.store(7);
    g_NetSeq.retries.store(1);
    NetRequestDhcpRestart();
    started(3u);
    EXPECT_EQ(actual(sysadmin::kAddrIp), nine);
    NetStateInit();
    g_NetSeq.retries.store(1);
    NetRefreshRequest();
    started(18u);
    ASSERT_TRUE(RunToIdle());

    // Re-apply: static settings leave DHCP and set the address again; DHCP settings start the client.
    for (const uint8_t dhcp : {0, 1}) {
        g_LanCfg.DHCP = dhcp;
        const size_t clients = Matching("udhcpc -bR").size();
        const size_t statics = Matching("ifconfig eth0 192.168.10.20 netmask 255.255.255.0").size();
        g_NetSeq.reapplyReq.store(1);
        ASSERT_TRUE(RunToIdle()) << int(dhcp);
        EXPECT_EQ(g_NetSeq.reapplyReq.load(), 0u);
        EXPECT_EQ(Matching("udhcpc -bR").size(), clients + dhcp) << int(dhcp);
        EXPECT_EQ(Matching("ifconfig eth0 192.168.10.20 netmask 255.255.255.0").size(), statics + (1 - dhcp))
            << int(dhcp);
    }
}

}  // namespace
