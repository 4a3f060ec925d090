// The service code entry, the brand and model editors, the service switches and the tuning editors,
// driven through the key dispatcher on a fresh root: the popup texts, the files and command log they leave,
// and the power-stage writes.
#include <cstring>
#include <set>
#include <tuple>

#include "core/control/ctrl_task_state.h"
#include "core/system/state/ctrl_words.h"
#include "platform/host/root.h"
#include "sysadmin/sys_versions.h"
#include "tests/screens/menu/service_fixture.h"
#include "tests/support/brand_media.h"

namespace menutest {
namespace {

class ServiceKeys : public ServiceTest {
  protected:
    // The values written to a register, as the register encodes them.
    static std::vector<double> ValuesTo(uint16_t reg) {
        std::vector<double> out;
        for (const test::RegWrite& w : test::WritesTo(reg))
            out.push_back(w.value);
        return out;
    }
    // The code entry from the Special Function row, a code typed and entered.
    static void EnterCode(const char* digits) {
        At(224);
        Type(digits);
        Press(kEnter, kClassKeypad);
    }
    // The brand list's editor, the knob turned by `delta`, the brand taken.
    static void ChangeBrand(int8_t delta) {
        At(226);
        if (delta != 0) Knob(delta);
        Press(kEnter, kClassKeypad);
    }
};

TEST_F(ServiceKeys, EveryCodeButTheServiceCodesAndThePasswordIsRefused) {
    // The model's own code is the password of a fresh unit.
    const std::set<int> open = {8623, 8305, 9371, 9046, 8957, 8719, 8926, 4145};
    for (int code = 0; code <= 9999; ++code) {
        if (open.count(code) != 0) continue;
        char digits[8];
        std::snprintf(digits, sizeof digits, "%d", code);
        EnterCode(digits);
        ASSERT_EQ(State(), 223u) << code;
        ASSERT_EQ(Texts(), std::vector<std::string>{"Error Password"}) << code;
    }
}

TEST_F(ServiceKeys, TheCodesOpenTheirPagesAndOnlyPlainDigitsCount) {
    using Code = std::pair<const char*, uint32_t>;
    for (const auto& [code, page] :
         {Code{"8623", 225}, Code{"9046", 267}, Code{"8305", 272}, Code{"8926", 292}, Code{"4145", 316}}) {
        EnterCode(code);
        EXPECT_EQ(State(), page) << code;
    }
    Texts();
    std::snprintf(g_UbootVersionText, sizeof g_UbootVersionText, "Uboot_Version\n20230307 15:12:33");
    EnterCode("9371");
    EXPECT_EQ(State(), 229u);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Uboot_Version\n20230307 15:12:33"});
    ASSERT_FALSE(SysStatusTest(kSysRebootRequest));
    EnterCode("8957");
    EXPECT_TRUE(SysStatusTest(kSysRebootRequest));
    core::SysStatusReset();
    // Without typing, the knob's value is the code: 8719 digit by digit from the highest, then a step
    // beyond the top clamps at 9999.
    At(224);
    for (int i = 0; i < 3; ++i)
        Press(kLeft, kClassCursor);
    for (int8_t digit : {8, 7, 1, 9}) {
        Knob(digit);
        Press(kRight, kClassCursor);
    }
    EXPECT_EQ(g_EditParam.workValue.load(), 8719);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(State(), 316u);
    At(224);
    Press(kRight, kClassCursor);  // wraps to the highest digit
    Knob(12);
    EXPECT_EQ(g_EditParam.workValue.load(), 9999);
    Knob(-10);
    EXPECT_EQ(g_EditParam.workValue.load(), 0);
    Texts();
    // Five digits, a point or a sign are no code, even when they begin with one.
    for (const char* digits : {"87190", "08719", "871.9", "-8719"}) {
        EnterCode(digits);
        EXPECT_EQ(State(), 223u) << digits;
        EXPECT_EQ(Texts(), std::vector<std::string>{"Error Password"}) << digits;
    }
}

TEST_F(ServiceKeys, ThePasswordIsComparedWholeAndZeroPadded) {
    // Calibration opens with the output switched off.
    g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.store(0);
    OutputFlagSet(kOutFlagOutputOn);
    EnterCode("8719");
    OutputFlagClear(kOutFlagOutputOn);
    EXPECT_EQ(State(), 316u);
    EXPECT_EQ(g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.load(), core::kCtrlMsgOutputOff);
    g_CtrlTaskObj.rows[core::kCtrlRowRun].msg.store(0);
    for (const auto& [password, code, state] :
         {std::tuple{"0012", "12", 316u}, {"12", "12", 223u}, {"", "0", 223u}}) {
        IdentityTextWrite(g_ServicePassword, sizeof g_ServicePassword, password, std::strlen(password));
        EnterCode(code);
        EXPECT_EQ(State(), state) << "password \"" << password << "\", code " << code;
    }
    Texts();
    // Without a model only the service codes open; the model/brand list is one of them.
    g_ModelId = 0;
    EnterCode("8719");
    EXPECT_EQ(State(), 223u);
    EXPECT_EQ(Texts(), std::vector<std::string>{"No Model Type"});
    EnterCode("8623");
    EXPECT_EQ(State(), 225u);
    g_ModelId = 1;
}

TEST_F(ServiceKeys, ABrandChangeWritesTheFileTheImagesAndTheLogoInOrder) {
    const testsupport::TempRoot& root = store_.root;
    testsupport::WriteBrandMedia(
        [&root](const std::string& path, std::string_view content) { root.Write(path, content); }, "tulve",
        "VRN-345/");
    ChangeBrand(1);
    EXPECT_EQ(State(), 225u);
    EXPECT_EQ(Texts(), std::vector<std::string>{"QX => TULVE"});
    EXPECT_EQ(g_BrandId.load(), 1u);
    EXPECT_EQ(store_.root.Read("/mnt/disk/firm"), "firm=TULVE\n");
    EXPECT_EQ(Log(), testsupport::BrandChangeCommands("tulve", "VRN-345/", "0x261"));
    // The same brand again writes nothing.
    ClearLog();
    ChangeBrand(0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Doesn't Change"});
    EXPECT_TRUE(Log().empty());
}

// A part of the change that failed is named in the popup; a logo that is missing or no logo is not written
// and the partition is not erased for it. Any of the five copies failing counts, not only the last.
TEST_F(ServiceKeys, ABrandChangeNamesWhatFailed) {
    const testsupport::TempRoot& root = store_.root;
    const auto write = [&root](const std::string& path, std::string_view content) {
        root.Write(path, content);
    };
    ChangeBrand(1);
    EXPECT_EQ(Texts(), std::vector<std::string>{"QX => TULVE\nWeb Image Copy Fail\nBoot Logo Write Fail"});
    for (const std::string& command : Log())
        EXPECT_EQ(command.find("mtd"), std::string::npos) << command;
    EXPECT_EQ(store_.root.Read("/mnt/disk/firm"), "firm=TULVE\n");

    testsupport::WriteBrandMedia(write, "pelma", "");
    std::string logo = testsupport::LogoBitmap();
    logo[28] = 16;  // a 16-bit picture
    root.Write("/mnt/disk/app/image/pelma_logo.bmp", logo);
    std::remove(plat::MapPath("/mnt/disk/httpd/ODM_image/pelma/logo.svg").c_str());
    ClearLog();
    ChangeBrand(1);
    EXPECT_EQ(Texts(), std::vector<std::string>{"TULVE => PELMA\nWeb Image Copy Fail\nBoot Logo Write Fail"});
    EXPECT_EQ(Log().back(),
              "cp /mnt/disk/httpd/ODM_image/pelma/favicon.ico /mnt/disk/httpd/images/favicon.ico");

    root.Write("/mnt/disk/app/image/qx_logo.bmp", testsupport::LogoBitmap());
    ChangeBrand(-2);
    EXPECT_EQ(Texts(), std::vector<std::string>{"PELMA => QX\nWeb Image Copy Fail"});
    EXPECT_EQ(g_BrandId.load(), 0u);
}

// An unknown model code changes nothing; a known one resets the unit to that model and reboots.
TEST_F(ServiceKeys, AModelCodeResetsTheUnitToAKnownModelOnly) {
    TypeIn(228, "1234");
    EXPECT_EQ(State(), 227u);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Model Error"});
    EXPECT_EQ(g_ModelId.load(), 1u);
    EXPECT_TRUE(Log().empty());

    TypeIn(228, "6012");
    EXPECT_EQ(g_ModelId.load(), 7u);
    EXPECT_STREQ(g_ModelName, "VRN-4160-12");
    EXPECT_STREQ(g_ServicePassword, "6012");
    EXPECT_EQ(Texts().back(), "Reboot");
    EXPECT_TRUE(SysStatusTest(kSysRebootRequest));
    ASSERT_FALSE(ValuesTo(2349).empty());
    EXPECT_EQ(ValuesTo(2349).back(), 3.0);  // the 6 kVA class, as the register takes it (class + 1)
}

TEST_F(ServiceKeys, AFlagToggleWritesTheWholeWordEachTime) {
    const uint32_t before = g_OutputOptionWord.load();
    At(230);  // OCP Enable
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_OutputOptionWord.load(), before ^ 1u);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_OutputOptionWord.load(), before);
    EXPECT_EQ(test::RawsTo(2348), (std::vector<uint32_t>{before ^ 1u, before}));
    // OVP is bit 15; the words toggle without a write.
    At(243);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_OutputOptionWord.load(), before ^ (1u << 15));
    At(249);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_ServiceFlags.tempDisplay.load(), 1u);
    EXPECT_EQ(test::RawsTo(2348).size(), 3u);
}

TEST_F(ServiceKeys, TheRdTestModeRaisesThePowerLimitsOnce) {
    At(250);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_ServiceFlags.rdTestMode.load(), 1u);
    EXPECT_EQ(ValuesTo(2358), std::vector<double>{6750});
    EXPECT_EQ(ValuesTo(2359), std::vector<double>{2250});
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_ServiceFlags.rdTestMode.load(), 1u);
    EXPECT_EQ(ValuesTo(2358), (std::vector<double>{6750, 6750}));
    EXPECT_EQ(State(), 250u);
}

TEST_F(ServiceKeys, TheKpEditorReachesItsTopOnlyAtTheHighestDigit) {
    At(246);
    Press(kEnter, kClassKeypad);
    ASSERT_EQ(State(), 260u);
    const int32_t start = g_EditParam.workValue.load();
    Type("5");  // typed digits are not taken
    for (int i = 0; i < 20; ++i)
        Knob(1);
    EXPECT_EQ(g_EditParam.workValue.load(), start + 20);
    for (int i = 0; i < 3; ++i)
        Press(kLeft, kClassCursor);
    for (int i = 0; i < 12; ++i)
        Knob(1);
    EXPECT_EQ(g_EditParam.workValue.load(), 10000);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(State(), 246u);
    EXPECT_EQ(ValuesTo(2436), std::vector<double>{10.0});  // thousandths
}

}  // namespace
}  // namespace menutest
