// The factory's ZCALib commands through the real parser and menu/control thread: what each refuses
// before and after the password, and what the accepted ones leave in the identity.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/params/param_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/state/sys_status.h"
#include "tests/scpi/channel_test_fixture.h"

namespace {

class Zcal : public scpitest::ChannelTest {
  protected:
    void SetUp() override {
        g_ParamFlags.fetch_and(~core::kFlagFactoryAccess);
        g_BrandId.store(0);
    }
    void TearDown() override {
        g_ParamFlags.fetch_and(~core::kFlagFactoryAccess);
        g_BrandId.store(0);
    }
    std::string Serial() {
        char s[sizeof g_SerialNo + 1] = {};
        IdentityTextRead(g_SerialNo, sizeof g_SerialNo, s);
        return s;
    }
};

constexpr const char* kProtected = "-203,\"Command protected\"";
constexpr const char* kInvalid = "-151,\"Invalid string data\"";

// Every refusal leaves the serial, the brand, the model and the MAC as they were.
TEST_F(Zcal, RefusalsAndAcceptedTexts) {
    const struct {
        bool access;  // the password given before
        std::vector<const char*> messages;
        const char* error;  // of each
    } cases[] = {
        {false, {"ZCAL:MAC \"00-22-24-AB-CD-EF\"", "ZCAL:PROG \"X1\"", "ZCAL:MFRS \"tulve\"",
                 "ZCAL:MTYP \"4160\"", "ZCAL:MFRS:QX"}, kProtected},
        {false, {"ZCAL:PROG 5"}, "-128,\"Numeric data not allowed\""},  // the tree refuses first
        {false, {"ZCAL:APAS \"KQV517\"", "ZCAL:APAS \"kqv5\""}, "-221,\"Settings conflict\""},
        {false, {"ZCAL:APAS 517"}, "-128,\"Numeric data not allowed\""},
        {true, {"ZCAL:MAC \"00:22:24:AB:CD:EF\"", "ZCAL:MAC \"00-22-24-AB-CD-E\"", "ZCAL:MFRS \"acme\"",
                "ZCAL:MFRS \"T\"", "ZCAL:MTYP \"123456789012\"", "ZCAL:MTYP \"\"", "ZCAL:MTYP \"416\"",
                "ZCAL:PROG \"AB\tC\"", "ZCAL:PROG \"AB\x7f\"", "ZCAL:MTYP \"41\00160\""}, kInvalid},
        {true, {"ZCAL:PROG?"}, "-113,\"Undefined header\""},
    };
    const std::string serial = Serial();
    const uint32_t model = g_ModelId.load();
    for (const auto& c : cases) {
        for (const char* message : c.messages) {
            if (c.access) {
                ASSERT_EQ(ch.Run("ZCAL:APAS \"kqv517\""), "|");
            }
            EXPECT_EQ(ch.Run(message), std::string("|") + c.error) << message;
            EXPECT_EQ(Serial(), serial) << message;
            EXPECT_EQ(g_BrandId.load(), 0u) << message;
            EXPECT_EQ(g_ModelId.load(), model) << message;
            EXPECT_FALSE(SysStatusTest(kSysRebootRequest)) << message;
        }
    }
    // An empty serial clears it, the brand is stored by its code, a lower-case MAC reaches the LAN query in
    // capitals (the *IDN? texts of the accepted forms: tests/system/scpi_comm_test).
    ASSERT_EQ(ch.Run("ZCAL:APAS \"kqv517\""), "|");
    EXPECT_EQ(ch.Run("ZCAL:MFRS \"tulve\""), "|");
    EXPECT_EQ(g_BrandId.load(), 1u);
    EXPECT_EQ(ch.Run("ZCAL:PROG \"\""), "|");
    EXPECT_EQ(Serial(), "");
    EXPECT_EQ(ch.Run("ZCAL:MAC \"00-22-24-ab-cd-ef\";:SYST:COMM:LAN:MAC?"), "00-22-24-AB-CD-EF|");
}

}  // namespace
