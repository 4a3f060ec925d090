// The SYSTem:COMMunicate set forms against the pending interface record: which commands stage what, with
// which change bit, and what stages nothing (an equal flag, code or password; a refused value).
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <string>

#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/config/model_table.h"
#include "tests/scpi/channel_test_fixture.h"

namespace {

class CommStaging : public scpitest::ChannelTest {
  protected:
    void SetUp() override {
        // In force: DHCP on, web password 1234 not required, 10.1.2.3/255.255.0.0 via 10.1.0.1, DNS 10.1.0.2,
        // RS232 9600 8N1, rear USB at full speed.
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        g_LanCfg.DHCP = 1, g_LanCfg.PW_EN = 0, g_LanCfg.PW = 1234;
        const uint8_t ip[4] = {10, 1, 2, 3}, mask[4] = {255, 255, 0, 0}, gw[4] = {10, 1, 0, 1},
                      dns[4] = {10, 1, 0, 2};
        std::memcpy(g_LanCfg.IP, ip, 4), std::memcpy(g_LanCfg.MASK, mask, 4);
        std::memcpy(g_LanCfg.GW, gw, 4), std::memcpy(g_LanCfg.DNS, dns, 4);
        g_IfaceCfg.rs232Baud = 3, g_IfaceCfg.rs232DataBits = 1, g_IfaceCfg.rs232Parity = 0;
        g_IfaceCfg.rs232StopBits = 0;
        IfaceUsbByteSet(0, static_cast<uint8_t>(1u << storage::kUsbSpeedShift));
        g_Rs232Present.store(1);
        g_LanPending = {};
    }
    void TearDown() override { g_LanPending = {}; }
};

constexpr uint32_t Bit(uint32_t n) {
    return 1u << n;
}

TEST_F(CommStaging, OnlyADifferentValueIsStagedAndTheSettingInForceStays) {
    const struct {
        const char* message;
        uint32_t mask;  // the change bits raised
    } cases[] = {
        {"SYST:COMM:LAN:DHCP ON", 0},         {"SYST:COMM:LAN:DHCP 3", 0},
        {"SYST:COMM:LAN:DHCP 2", Bit(1)},     {"SYST:COMM:LAN:WEB:PACT 0", 0},
        {"SYST:COMM:LAN:WEB:PACT 5", Bit(6)}, {"SYST:COMM:LAN:WEB:PASS 1234", 0},
        {"SYST:COMM:LAN:WEB:PASS 0", Bit(7)}, {"SYST:COMM:SER:TRAN:BAUD 9600", 0},
        {"SYST:COMM:SER:TRAN:BAUD 115200", Bit(18)}, {"SYST:COMM:SER:TRAN:BITS 1", 0},
        {"SYST:COMM:SER:TRAN:BITS 0", Bit(19)},      {"SYST:COMM:SER:TRAN:PAR NONE", 0},
        {"SYST:COMM:SER:TRAN:PAR EVEN", Bit(20)},       {"SYST:COMM:SER:TRAN:SBIT 1", Bit(21)},
        {"SYST:COMM:USB:REAR:MODE FULL", 0},
        {"SYST:COMM:LAN:IPAD \"10.1.2.3\"", Bit(8)}, {"SYST:COMM:LAN:SMAS \"255.255.0.0\"", Bit(10)},
        {"SYST:COMM:LAN:GAT \"10.1.0.1\"", Bit(11)}, {"SYST:COMM:LAN:DNS \"10.1.0.2\"", Bit(12)},
        // Refused values stage nothing.
        {"SYST:COMM:LAN:IPAD \"192.168.1.300\"", 0}, {"SYST:COMM:LAN:WEB:PASS 10000", 0},
        {"SYST:COMM:SER:TRAN:BAUD 300", 0},          {"SYST:COMM:SER:TRAN:BITS -1", 0},
        {"SYST:COMM:USB:REAR:MODE AUTO", 0},
    };
    for (const auto& c : cases) {
        g_LanPending = {};
        ch.Run(c.message);
        EXPECT_EQ(g_LanPending.mask, c.mask) << c.message;
    }
    EXPECT_EQ(ch.Run("SYST:COMM:LAN:DHCP OFF;:SYST:COMM:SER:TRAN:BAUD 19200;:SYST:COMM:LAN:IPAD \"172.16.28.120\""),
              "|");
    EXPECT_EQ(g_LanPending.flags & Bit(1), 0u);
    EXPECT_EQ(g_LanPending.rs232Baud, 4u);
    EXPECT_EQ((std::array<uint8_t, 4>{g_LanPending.ip[0], g_LanPending.ip[1], g_LanPending.ip[2], g_LanPending.ip[3]}),
              (std::array<uint8_t, 4>{172, 16, 28, 120}));
    // Nothing in force changed: the queries answer the old values.
    EXPECT_EQ(ch.Run("SYST:COMM:LAN:DHCP?;:SYST:COMM:SER:TRAN:BAUD?"), "+1;9600|");
    EXPECT_EQ(ch.Run("SYST:COMM:LAN:WEB:PASS 77;PACT 1"), "|");
    EXPECT_EQ(g_LanPending.password, 77u);
    EXPECT_NE(g_LanPending.flags & Bit(6), 0u);
}

// A value set back to the one in force drops what an earlier command staged for that field, so the next
// start keeps the setting; what is staged for other fields stays.
TEST_F(CommStaging, AValueSetBackToTheOneInForceDropsWhatWasStagedForIt) {
    std::atomic_ref<uint32_t>(g_IfaceCfg.gpibAddress).store(5);
    g_GpibPresent.store(1);
    const char* const cases[][2] = {
        {"SYST:COMM:LAN:DHCP 0", "SYST:COMM:LAN:DHCP 1"},
        {"SYST:COMM:LAN:WEB:PACT 1", "SYST:COMM:LAN:WEB:PACT 0"},
        {"SYST:COMM:LAN:WEB:PASS 77", "SYST:COMM:LAN:WEB:PASS 1234"},
        {"SYST:COMM:SER:TRAN:BAUD 19200", "SYST:COMM:SER:TRAN:BAUD 9600"},
        {"SYST:COMM:SER:TRAN:BITS 0", "SYST:COMM:SER:TRAN:BITS 1"},
        {"SYST:COMM:SER:TRAN:PAR ODD", "SYST:COMM:SER:TRAN:PAR NONE"},
        {"SYST:COMM:SER:TRAN:SBIT 1", "SYST:COMM:SER:TRAN:SBIT 0"},
        {"SYST:COMM:GPIB:ADDR 7", "SYST:COMM:GPIB:ADDR 5"},
    };
    for (const auto& c : cases) {
        g_LanPending = {};
        ch.Run("SYST:COMM:LAN:DNS \"10.9.9.9\"");
        const uint32_t other = g_LanPending.mask;
        ch.Run(c[0]);
        ASSERT_NE(g_LanPending.mask, other) << c[0];
        EXPECT_EQ(ch.Run(c[1]), "|") << c[1];
        EXPECT_EQ(g_LanPending.mask, other) << c[0] << " then " << c[1];
    }
    g_GpibPresent.store(0);
}

// The enable query: GPIB counts only with the GPIB card fitted (the adapter setting is on from the
// start), USB always.
TEST_F(CommStaging, EnableQueryCountsGpibOnlyWithItsCard) {
    uint32_t& card = g_IfaceCfg.cardPresent[storage::kCardLine101];
    const uint32_t saved = std::atomic_ref<uint32_t>(card).load();
    for (const uint32_t fitted : {1u, 0u}) {
        std::atomic_ref<uint32_t>(card).store(fitted);
        EXPECT_EQ(ch.Run("SYST:COMM:ENAB? GPIB"), fitted ? "+1|" : "+0|") << fitted;
        EXPECT_EQ(ch.Run("SYST:COMM:ENAB? USB"), "+1|");
    }
    std::atomic_ref<uint32_t>(card).store(saved);
}

TEST_F(CommStaging, AbsentSerialPortAndStaticAddressQuery) {
    g_Rs232Present.store(0);
    EXPECT_EQ(ch.Run("SYST:COMM:SER:TRAN:BAUD 9600"), "|-200,\"Execution error\"");
    EXPECT_EQ(ch.Run("SYST:COMM:SER:TRAN:BITS?"), "|-200,\"Execution error\"");
    g_Rs232Present.store(1);
    g_IfaceCfg.rs232Baud = 9;
    EXPECT_EQ(ch.Run("SYST:COMM:SER:TRAN:BAUD?"), "|-420,\"Query UNTERMINATED\"");
    {
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        g_LanCfg.DHCP = 0;
    }
    EXPECT_EQ(ch.Run("SYST:COMM:LAN:SMAS?;GAT?"), "255.255.0.0;10.1.0.1|");
    EXPECT_EQ(g_LanPending.mask, 0u);
}

}  // namespace
