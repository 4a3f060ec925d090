#include "storage/nv/config_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/state/seqsim_slots.h"
#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/temp_root.h"

namespace {

class ConfigTextTest : public test::NvTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(NvTest::SetUp());
        g_LanCfg = {};
        g_LanPending = {};
        g_SeqSimSlots = {};
    }
    static std::string Area() { return Chip(kCfgTextOffset, kCfgTextArea); }
    static void Store(std::string s) {
        s.resize(kCfgTextArea, '\0');
        ASSERT_EQ(SpiNvmWriteBuf(kCfgTextOffset, s.data(), kCfgTextArea), int32_t(kCfgTextArea));
    }
    static std::string Sum(const std::string& text) {
        uint16_t sum = 0;
        for (char c : text)
            sum = static_cast<uint16_t>(sum + static_cast<int8_t>(c));
        return std::to_string(sum);
    }
    static std::string Sealed(const std::string& lines) { return lines + "CHECKSUM=" + Sum(lines) + "\n"; }
    testsupport::TempRoot root_;
};

TEST_F(ConfigTextTest, SavedTextIsVersionFirstChecksumLastAndNothingBehindIt) {
    Store(std::string(kCfgTextArea - 1, 'x') + "UPDATE");  // an older, longer text
    g_LanCfg.PORT = 5026;
    std::memcpy(g_LanCfg.HOSTNAME, "ABCDEFGHIJKLMNOPQRST", 16);  // 20 asked for: the field is full
    g_LanPending.port = -3;
    g_SeqSimSlots.sim = 9;
    std::memcpy(g_LanCfg.MASK, "\xFF\xFF\xFF\0", 4), std::memcpy(g_LanCfg.GW, "\xC0\xA8\x01\x01", 4);
    const int32_t length = SaveSystemConfig();
    ASSERT_GT(length, 0);
    const std::string area = Area(), text = area.substr(0, static_cast<size_t>(length));
    const size_t last = text.rfind("CHECKSUM=");
    // Every key once, in the order the text is defined in.
    EXPECT_EQ(
        text.substr(0, last),
        "VERSION=1.06\nMFRCOMM=0\nMC0=0\nMC1=0\nMC2=0\nMC3=-3\nMC4=0.0.0.0\nMC5=0.0.0.0\nMC6=0.0.0.0\n"
        "MC7=0.0.0.0\nMC8=0.0.0.0\nMC9=0\nMCA=0\nMCB=0\nMCC=0\nMCD=0\nSSRL0=0\nSSRL1=9\nLAN_EN=0\nDHCP=0\n"
        "VISA=0\nSOCKETS=0\nTELNET=0\nWEB=0\nPW_EN=0\nPW=0\nIP=0.0.0.0\nBCAST=0.0.0.0\nMASK=255.255.255.0\n"
        "GW=192.168.1.1\nDNS=0.0.0.0\nHOSTNAME=ABCDEFGHIJKLMNO\nPORT=5026\n");
    EXPECT_EQ(text.substr(last), "CHECKSUM=" + Sum(text.substr(0, last)) + "\n");
    EXPECT_EQ(area.find_first_not_of('\0', static_cast<size_t>(length)), std::string::npos);

    // Every value read back: the text saved again is the same.
    g_LanCfg = {}, g_LanPending = {}, g_SeqSimSlots = {};
    EXPECT_EQ(LoadSystemConfig(), int32_t(last - 13));  // every line but the version and the checksum
    EXPECT_EQ(SaveSystemConfig(), length);
    EXPECT_EQ(Area().substr(0, static_cast<size_t>(length)), text);
}

// The load's outcome as "loaded|kept PORT HOSTNAME IP", from port 5025, "old" and 172.16.28.120.
std::string LoadOutcome() {
    g_LanCfg.PORT = 5025;
    std::strcpy(g_LanCfg.HOSTNAME, "old");
    const uint8_t ip[4] = {172, 16, 28, 120};
    std::memcpy(g_LanCfg.IP, ip, 4);
    const uint8_t* f = g_LanCfg.IP;
    const bool loaded = LoadSystemConfig() > 0;
    return std::string(loaded ? "loaded " : "kept ") + std::to_string(g_LanCfg.PORT) + " " +
           g_LanCfg.HOSTNAME + " " + std::to_string(f[0]) + "." + std::to_string(f[1]) + "." +
           std::to_string(f[2]) + "." + std::to_string(f[3]);
}

TEST_F(ConfigTextTest, StoredTextsLoadOrKeepTheSettings) {
    const std::string body = "VERSION=9.99\nPORT=6000\nHOSTNAME=short\n", v = "VERSION=1.06\n";
    std::string changed = Sealed(body);
    changed[changed.find("6000")] = '7';
    const std::string high = v + "HOSTNAME=\xC3\xA9t\n",
                      unsignedSum = std::to_string(std::stoi(Sum(high)) + 256);
    const std::pair<std::string, std::string> cases[] = {
        {Sealed(body), "loaded 6000 short 172.16.28.120"},
        {changed, "kept 5025 old 172.16.28.120"},
        {Sealed("PORT=6000\n"), "kept 5025 old 172.16.28.120"},
        {body, "kept 5025 old 172.16.28.120"},
        {std::string(kCfgTextArea, '\xFF'), "kept 5025 old 172.16.28.120"},
        {high + "CHECKSUM=" + unsignedSum + "\n", "kept 5025 old 172.16.28.120"},
        {Sealed(high), "loaded 5025 \xC3\xA9t 172.16.28.120"},
        {body + "CHECKSUM=UPDATE\n", "loaded 6000 short 172.16.28.120"},
        {Sealed(v + "HOSTNAME=xPORT=1\n"), "loaded 5025 xPORT=1 172.16.28.120"},
        {Sealed(v + "IP=10.1\n"), "loaded 5025 old 10.1.0.0"},
        {Sealed(v + "IP=300.-1.2.3\n"), "loaded 5025 old 44.255.2.3"},
        {Sealed(v + "IP=abc\n"), "loaded 5025 old 0.0.0.0"},
        // The host name goes into /tmp/netconf: one with a control character is not taken, the rest is.
        {Sealed(v + "PORT=6000\nHOSTNAME=a\rb\n"), "loaded 6000 old 172.16.28.120"},
        {Sealed(v + "PORT=6000\nHOSTNAME=\x1b[2J\n"), "loaded 6000 old 172.16.28.120"},
        {Sealed(v + "PORT=6000\nHOSTNAME=ab\x7f\n"), "loaded 6000 old 172.16.28.120"},
    };
    for (const auto& [text, outcome] : cases) {
        Store(text);
        EXPECT_EQ(LoadOutcome(), outcome) << text.substr(0, 64);
    }
}

// One changed byte of the stored text: the start keeps its defaults, but no save stores them over the
// text (not even after DHCP handed out other addresses); a setting a user changes is stored. A text that
// loads again, or an area never written, is saved as ever.
TEST_F(ConfigTextTest, ABadTextIsNotSavedOverUntilASettingChanges) {
    g_LanCfg.PORT = 6000, g_LanCfg.DHCP = 1;
    std::strcpy(g_LanCfg.HOSTNAME, "bench-7");
    ASSERT_GT(SaveSystemConfig(), 0);
    std::string area = Area();
    area[area.find("6000")] = '7';
    Store(area);
    const std::string stored = Area();

    g_LanCfg = {}, g_LanCfg.PORT = 5025, g_LanCfg.DHCP = 1;  // the defaults of the next start
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSystemConfig(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "network and interface configuration reset: stored text damaged\n");
    // A text of zeros is damage too (the unit's LAN set-up lost); an erased area was never written.
    for (const auto& [fill, note] :
         {std::pair<char, const char*>{'\0', "network and interface configuration reset: stored text damaged\n"},
          {'\xFF', ""}}) {
        Store(std::string(kCfgTextArea, fill));
        testing::internal::CaptureStderr();
        EXPECT_EQ(LoadSystemConfig(), -1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), note) << int{fill};
    }
    Store(stored);
    EXPECT_EQ(LoadSystemConfig(), -1);
    EXPECT_EQ(SaveSystemConfig(), -2);  // the start's save
    const uint8_t dns[4] = {10, 0, 0, 53};
    std::memcpy(g_LanCfg.DNS, dns, 4);  // read back from DHCP
    EXPECT_EQ(SaveSystemConfig(), -2);
    EXPECT_EQ(Area(), stored);

    g_LanCfg.PORT = 5030;
    EXPECT_GT(SaveSystemConfig(), 0);
    g_LanCfg.PORT = 0;
    EXPECT_GT(LoadSystemConfig(), 0);
    EXPECT_EQ(g_LanCfg.PORT, 5030u);
    EXPECT_GT(SaveSystemConfig(), 0);

    ASSERT_EQ(plat::NvmSimErase(), 0);
    EXPECT_EQ(LoadSystemConfig(), -1);
    EXPECT_GT(SaveSystemConfig(), 0);  // nothing was stored: nothing lost

    // With DHCP off the addresses are the user's: a changed static address ends the hold.
    Store(std::string("VERSION=1.06\nPORT=6000\nCHECKSUM=1\n"));
    g_LanCfg.DHCP = 0;
    EXPECT_EQ(LoadSystemConfig(), -1);
    EXPECT_EQ(SaveSystemConfig(), -2);
    g_LanCfg.IP[3] = 9;
    EXPECT_GT(SaveSystemConfig(), 0);
}

TEST_F(ConfigTextTest, AFailingMemoryIsReported) {
    Store(Sealed("VERSION=1.06\nPORT=6000\n"));
    plat::NvmSimFailMessage(0);
    EXPECT_EQ(LoadSystemConfig(), -1);
    EXPECT_EQ(g_LanCfg.PORT, 0u);
    ASSERT_GT(LoadSystemConfig(), 0);  // a text that could not be read is not saved over: read it first
    plat::NvmSimFailMessage(0);
    EXPECT_EQ(SaveSystemConfig(), -1);
}

}  // namespace
