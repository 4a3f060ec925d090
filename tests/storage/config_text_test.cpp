#include "storage/config_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/system/lan_cfg.h"
#include "core/system/lan_pending.h"
#include "core/system/seqsim_slots.h"
#include "platform/spi.h"
#include "src/dev/spi_nvm.h"
#include "tests/support/temp_root.h"

namespace {

class ConfigTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SpiDevClose(&g_NvSpi);
        plat::NvmSimReset();
        ASSERT_EQ(SpiNvmInit(), 0);
        ASSERT_EQ(plat::NvmSimErase(), 0);
        g_LanCfg = {};
        g_LanPending = {};
        g_SeqSimSlots = {};
    }
    void TearDown() override { SpiDevClose(&g_NvSpi); }

    static std::string Area() {
        std::string s(kCfgTextArea, '\0');
        EXPECT_EQ(SpiNvmReadBuf(kCfgTextOffset, s.data(), kCfgTextArea), int32_t(kCfgTextArea));
        return s;
    }
    static void Store(const std::string& text) {
        std::string s = text;
        s.resize(kCfgTextArea, '\0');
        ASSERT_EQ(SpiNvmWriteBuf(kCfgTextOffset, s.data(), kCfgTextArea), int32_t(kCfgTextArea));
    }
    static unsigned Sum(const std::string& text) {
        uint16_t sum = 0;
        for (char c : text)
            sum = static_cast<uint16_t>(sum + static_cast<int8_t>(c));
        return sum;
    }
    // A sound text of the given lines.
    static std::string Sealed(const std::string& lines) {
        return lines + "CHECKSUM=" + std::to_string(Sum(lines)) + "\n";
    }
    testsupport::TempRoot root_;
};

TEST_F(ConfigTextTest, SavedTextIsVersionFirstChecksumLastAndNothingBehindIt) {
    Store(std::string(kCfgTextArea - 1, 'x') + "UPDATE");  // an older, longer text
    g_LanCfg.PORT = 5026;
    g_LanCfg.IP[0] = 192, g_LanCfg.IP[3] = 7;
    std::memcpy(g_LanCfg.HOSTNAME, "ABCDEFGHIJKLMNOPQRST", 16);  // 20 asked for: the field is full
    g_LanPending.port = -3;
    g_SeqSimSlots.sim = 9;
    const int32_t length = SaveSystemConfig();
    const std::string area = Area();
    ASSERT_GT(length, 0);
    const std::string text = area.substr(0, static_cast<size_t>(length));
    EXPECT_EQ(text.rfind("VERSION=1.06\n", 0), 0u);
    const size_t last = text.rfind("CHECKSUM=");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(text.substr(last), "CHECKSUM=" + std::to_string(Sum(text.substr(0, last))) + "\n");
    EXPECT_EQ(area.find_first_not_of('\0', static_cast<size_t>(length)), std::string::npos);
    for (const char* line :
         {"\nHOSTNAME=ABCDEFGHIJKLMNO\n", "\nPORT=5026\n", "\nIP=192.0.0.7\n", "\nMC3=-3\n", "\nSSRL1=9\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    g_LanCfg = {};
    g_LanPending = {};
    g_SeqSimSlots = {};
    EXPECT_EQ(LoadSystemConfig(), int32_t(last - 13));  // every line but the version and the checksum
    EXPECT_EQ(g_LanCfg.PORT, 5026u);
    EXPECT_STREQ(g_LanCfg.HOSTNAME, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(g_LanPending.port, -3);
    EXPECT_EQ(g_SeqSimSlots.sim, 9);
}

TEST_F(ConfigTextTest, StoredTextsLoadOrKeepTheSettings) {
    const std::string body = "VERSION=9.99\nPORT=6000\nHOSTNAME=short\n";
    std::string changed = Sealed(body);
    changed[changed.find("6000")] = '7';
    std::string highByte = "VERSION=1.06\nHOSTNAME=\xC3\xA9t\xC3\xA9\n";
    struct Case {
        const char* what;
        std::string text;
        bool loads;
        uint32_t port;
        const char* host;
    } cases[] = {
        {"sound", Sealed(body), true, 6000, "short"},
        {"one value byte changed", changed, false, 5025, "old-name-long"},
        {"no version line", Sealed("PORT=6000\n"), false, 5025, "old-name-long"},
        {"no checksum line", body, false, 5025, "old-name-long"},
        {"checksum of unsigned bytes", highByte + "CHECKSUM=" + std::to_string(Sum(highByte) + 512) + "\n",
         false, 5025, "old-name-long"},
        {"high bytes summed as signed", Sealed(highByte), true, 5025, "\xC3\xA9t\xC3\xA9"},
        {"update marker in place of the sum", body + "CHECKSUM=UPDATE\n", true, 6000, "short"},
        {"key inside another line", Sealed("VERSION=1.06\nHOSTNAME=xPORT=1\n"), true, 5025, "xPORT=1"},
        {"erased memory", std::string(kCfgTextArea, '\xFF'), false, 5025, "old-name-long"},
    };
    for (const Case& c : cases) {
        g_LanCfg.PORT = 5025;
        std::strcpy(g_LanCfg.HOSTNAME, "old-name-long");
        Store(c.text);
        EXPECT_EQ(LoadSystemConfig() > 0, c.loads) << c.what;
        EXPECT_EQ(g_LanCfg.PORT, c.port) << c.what;
        EXPECT_STREQ(g_LanCfg.HOSTNAME, c.host) << c.what;
    }
}

TEST_F(ConfigTextTest, AddressesTakeWhatCanBeScanned) {
    const uint8_t kept[4] = {172, 16, 28, 120};
    struct Case {
        const char* line;
        uint8_t ip[4];
    } cases[] = {
        {"IP=10.1\n", {10, 1, 0, 0}},
        {"IP=1.2.3.4\n", {1, 2, 3, 4}},
        {"IP=300.-1.2.3\n", {44, 255, 2, 3}},
        {"IP=abc\n", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::memcpy(g_LanCfg.IP, kept, 4);
        Store(Sealed(std::string("VERSION=1.06\n") + c.line));
        ASSERT_GT(LoadSystemConfig(), 0) << c.line;
        EXPECT_EQ(std::memcmp(g_LanCfg.IP, c.ip, 4), 0) << c.line;
    }
    // A missing key keeps the address.
    std::memcpy(g_LanCfg.IP, kept, 4);
    Store(Sealed("VERSION=1.06\nGW=1.1.1.1\n"));
    ASSERT_GT(LoadSystemConfig(), 0);
    EXPECT_EQ(std::memcmp(g_LanCfg.IP, kept, 4), 0);
    EXPECT_EQ(g_LanCfg.GW[0], 1);
}

TEST_F(ConfigTextTest, WithoutTheMemoryNothingIsLoadedOrSaved) {
    Store(Sealed("VERSION=1.06\nPORT=6000\n"));
    plat::NvmSimFailMessage(0);
    g_LanCfg.PORT = 5025;
    EXPECT_EQ(LoadSystemConfig(), -1);
    EXPECT_EQ(g_LanCfg.PORT, 5025u);
    plat::NvmSimFailMessage(0);
    EXPECT_EQ(SaveSystemConfig(), -1);
}

}  // namespace
