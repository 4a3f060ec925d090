// The service lists driven through the key dispatcher on a fresh root with a simulated stick: the service
// code entry, the brand and model editors, the service switches and the tuning editors, the firmware-update
// and service data jobs; the popup texts, the files and command log they leave, the power-stage writes, the
// calibration status the stage answers and the calibration command written.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/control/calibration/cal_page.h"
#include "core/control/ctrl_task_state.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/system/config/identity.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "platform/stage/power_stage_sim.h"
#include "screens/menu/service/service_entries.h"
#include "screens/menu/service/service_key_slots.h"
#include "storage/files/calibration_file.h"
#include "sysadmin/sys_versions.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/menu/menu_keys_fixture.h"
#include "tests/support/brand_media.h"
#include "tests/sysadmin/tar_fixture.h"

namespace menutest {
namespace {

// The service keys registered, the stage's clock sped up for the jobs' bounded waits, an empty stage trace and
// command log, the first brand and a mounted stick.
class ServiceTest : public MenuKeys {
  protected:
    void SetUp() override {
        MenuKeys::SetUp();
        ASSERT_EQ(MenuService_RegisterKeys(), 0);
        plat::SetTimeScale(1000.0);
        g_BrandId = 0;
        plat::PowerStage().ClearTrace();
        g_UsbState.statusB.store(core::kUsbMounted);
        g_UsbState.usbAccessError.store(0);
        ClearLog();
    }
    void TearDown() override {
        plat::SetTimeScale(1.0);
        g_BrandId = 0;
        g_UsbState.statusB.store(0);
        OutputFlagClear(kOutFlagOutputOn);
        core::ServiceFlagsReset();
        core::SysStatusReset();
        MenuKeys::TearDown();
    }
    std::string LogPath() const { return store_.root.path() + "/var/log/commands.log"; }
    void ClearLog() const { std::remove(LogPath().c_str()); }
    // The row entered and its job run by the enter key, the texts shown before dropped.
    static void Run(uint32_t state) {
        At(state);
        Texts();
        Press(kKeyEnter, kClassKeypad);
    }
    // The text shown last since the last call ("" when none).
    static std::string LastText() {
        const std::vector<std::string> texts = Texts();
        return texts.empty() ? "" : texts.back();
    }
};

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
        Press(kKeyEnter, kClassKeypad);
    }
    // The brand list's editor, the knob turned by `delta`, the brand taken.
    static void ChangeBrand(int8_t delta) {
        At(226);
        if (delta != 0) Knob(delta);
        Press(kKeyEnter, kClassKeypad);
    }
};

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
        Press(kKeyLeft, kClassCursor);
    for (int8_t digit : {8, 7, 1, 9}) {
        Knob(digit);
        Press(kKeyRight, kClassCursor);
    }
    EXPECT_EQ(g_EditParam.workValue.load(), 8719);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 316u);
    At(224);
    Press(kKeyRight, kClassCursor);  // wraps to the highest digit
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
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_OutputOptionWord.load(), before ^ 1u);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_OutputOptionWord.load(), before);
    EXPECT_EQ(test::RawsTo(2348), (std::vector<uint32_t>{before ^ 1u, before}));
    // OVP is bit 15; the words toggle without a write.
    At(243);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_OutputOptionWord.load(), before ^ (1u << 15));
    At(249);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_ServiceFlags.tempDisplay.load(), 1u);
    EXPECT_EQ(test::RawsTo(2348).size(), 3u);
}

TEST_F(ServiceKeys, TheRdTestModeRaisesThePowerLimitsOnce) {
    At(250);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_ServiceFlags.rdTestMode.load(), 1u);
    EXPECT_EQ(ValuesTo(2358), std::vector<double>{6750});
    EXPECT_EQ(ValuesTo(2359), std::vector<double>{2250});
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_ServiceFlags.rdTestMode.load(), 1u);
    EXPECT_EQ(ValuesTo(2358), (std::vector<double>{6750, 6750}));
    EXPECT_EQ(State(), 250u);
}

TEST_F(ServiceKeys, TheKpEditorReachesItsTopOnlyAtTheHighestDigit) {
    At(246);
    Press(kKeyEnter, kClassKeypad);
    ASSERT_EQ(State(), 260u);
    const int32_t start = g_EditParam.workValue.load();
    Type("5");  // typed digits are not taken
    for (int i = 0; i < 20; ++i)
        Knob(1);
    EXPECT_EQ(g_EditParam.workValue.load(), start + 20);
    for (int i = 0; i < 3; ++i)
        Press(kKeyLeft, kClassCursor);
    for (int i = 0; i < 12; ++i)
        Knob(1);
    EXPECT_EQ(g_EditParam.workValue.load(), 10000);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 246u);
    EXPECT_EQ(ValuesTo(2436), std::vector<double>{10.0});  // thousandths
}

constexpr uint16_t kCaliCmdReg = 2354;
constexpr uint32_t kDone = 1u | (1u << 3);  // first result success, a second result

class ServiceJobs : public ServiceTest {
  protected:
    // A calibration page file that passes its checksum.
    void WriteCalFile(const char* name, uint16_t seed) {
        std::string bytes(512, '\0');
        uint32_t sum = 0;
        for (int i = 0; i < 254; ++i) {
            const uint16_t w = static_cast<uint16_t>(seed + i);
            sum += w;
            bytes[2 * i] = static_cast<char>(w & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(w >> 8);
        }
        bytes[508] = static_cast<char>(sum & 0xFF);
        bytes[509] = static_cast<char>((sum >> 8) & 0xFF);
        store_.root.Write(std::string("/mnt/sd1/qx/") + name, bytes);
    }
};

TEST_F(ServiceJobs, CalibrationUnitCyclesMasterAndFiveSlaves) {
    At(272);
    for (uint32_t expect : {1u, 2u, 3u, 4u, 5u, 0u}) {
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(g_ServiceFlags.calDataUnitIndex.load(), expect);
        EXPECT_EQ(State(), 272u);
    }
}

TEST_F(ServiceJobs, FirmwareUpdateRefusedWithOutputOnWithoutStickOrPackage) {
    OutputFlagSet(kOutFlagOutputOn);
    Run(267);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Update Fail\nPlease Output Off"});
    EXPECT_TRUE(Log().empty()) << "no file touched";
    OutputFlagClear(kOutFlagOutputOn);

    g_UsbState.statusB.store(0);
    Run(267);
    EXPECT_EQ(Texts(), std::vector<std::string>{"USB Memory Unconnected"});
    g_UsbState.statusB.store(core::kUsbMounted);
    Run(267);
    EXPECT_EQ(Texts(), std::vector<std::string>{"No Update Firmware File"});
    EXPECT_FALSE(SysStatusTest(kSysRebootRequest));
}

// The brand's package on a stick whose folder is named in lower case: unpacked, the three parts and the
// web pages updated, the four files removed, then the reboot; a failing FPGA stops the reboot.
TEST_F(ServiceJobs, FirmwareUpdateFromThePackageThenRebootUnlessAPartFailed) {
    const std::string package = Tar(TarMember("VRN4100_BOOT.bin", '0', std::string(50000, 'B')) +
                                    TarMember("VRN4100_SPWM_3pof.jam", '0', "jam") +
                                    TarMember("VRN4100", '0', std::string(3000, 'A')) +
                                    TarMember("httpd.tar.gz", '0', Gzip(Tar(TarMember("httpd/", '5', "")))));
    for (const bool fpgaFails : {false, true}) {
        SCOPED_TRACE(fpgaFails);
        store_.root.Write("/mnt/sd1/qx/qx_sb6.upg", package);
        store_.root.Write("/var/lib/sandbox/state", fpgaFails ? "qx_jtag.exit=none\n" : "");
        ClearLog();
        core::SysStatusReset();
        Run(267);
        EXPECT_EQ(LastText(), fpgaFails ? "Update Max10 Fail\nPlease Try again" : "Update Success\nReboot");
        EXPECT_EQ(SysStatusTest(kSysRebootRequest), !fpgaFails);
        const std::vector<std::string> log = Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "cd /mnt/sd1/QX && /mnt/disk/app/upgparse qx_sb6.upg");
        std::vector<std::string> removed;
        for (const std::string& line : log)
            if (line.rfind("rm /mnt/sd1/", 0) == 0) removed.push_back(line);
        EXPECT_EQ(removed, (std::vector<std::string>{
                               "rm /mnt/sd1/QX/VRN4100_SPWM_3pof.jam", "rm /mnt/sd1/QX/VRN4100_BOOT.bin",
                               "rm /mnt/sd1/QX/VRN4100", "rm /mnt/sd1/QX/httpd.tar.gz"}));
        EXPECT_FALSE(std::filesystem::exists(store_.root.path() + "/mnt/sd1/qx/VRN4100")) << "removed";
    }
}

TEST_F(ServiceJobs, FailedKernelWriteIsSaidAndDoesNotReboot) {
    Run(269);
    EXPECT_EQ(LastText(), "Kernel Update Fail");
    EXPECT_FALSE(SysStatusTest(kSysRebootRequest));
}

// The progress popup is closed before the result; the stick holds no boot-loader image nor service file.
TEST_F(ServiceJobs, FlashCopyImagesAndServiceFileReportTheirFailures) {
    for (const auto& [state, text] : {std::pair{275u, "Copy Flash Fail"}, {277u, "uboot Update Fail"},
                                      {276u, "Update Flash Fail\nuBoot -2 Kernel -2 Screen -2"},
                                      {283u, "No File(httpd.tar.gz) \nin VRN4100"}}) {
        Run(state);
        EXPECT_EQ(Texts(), std::vector<std::string>{text}) << state;
    }
}

TEST_F(ServiceJobs, RecallWithOnlyPhaseVWritesVAndReportsUAndW) {
    WriteCalFile("Calibration_V", 100);
    plat::PowerStage().ScriptCaliStatus({kDone});
    Run(273);
    EXPECT_EQ(LastText(), "Recall Cal Pass V,\n Recall Cal Fail U,W,");
    const std::vector<uint32_t> commands = test::RawsTo(kCaliCmdReg);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), 128u) << "the pages to the stage";
    EXPECT_EQ(regbus::CalPage(1)[0], 100u) << "phase V's page";
}

TEST_F(ServiceJobs, RecallWithoutAnAnswerInFivePollsFailsAndSavesNothing) {
    WriteCalFile("Calibration_U", 7);
    plat::PowerStage().ScriptCaliStatus({0});
    Run(273);
    EXPECT_EQ(LastText(), "Recall Calibration U,V,W\nFail");
    EXPECT_EQ(test::RawsTo(kCaliCmdReg), std::vector<uint32_t>{128u}) << "no save command after it";

    // No file at all: the data error, nothing sent.
    std::remove((store_.root.path() + "/mnt/sd1/qx/Calibration_U").c_str());
    plat::PowerStage().ClearTrace();
    Run(273);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Recall Calibration U,V,W\nData Error"});
    EXPECT_TRUE(test::RawsTo(kCaliCmdReg).empty());
}

// The link frames written (register 2481) as {address, item, value}.
std::vector<std::vector<uint32_t>> Frames() {
    std::vector<std::vector<uint32_t>> out;
    for (const uint32_t raw : test::RawsTo(2481))
        out.push_back({core::LinkFrameAddress(raw), core::LinkFrameItem(raw), core::LinkFrameValue(raw)});
    return out;
}

TEST_F(ServiceJobs, MasterForwardsTheRecallAndASlaveAnswersIt) {
    g_ParallelActive.store(1);
    g_ServiceFlags.calDataUnitIndex.store(3);
    Run(273);
    EXPECT_EQ(Frames(), (std::vector<std::vector<uint32_t>>{{3, 19, 0}}));
    EXPECT_TRUE(Texts().empty());
    EXPECT_TRUE(test::RawsTo(kCaliCmdReg).empty()) << "nothing done here";

    // A slave at link address 2: the master's item 19, value 0, runs the recall and answers it.
    ASSERT_EQ(paramPutValue(kParamParallelPosition, 0, 0), 0);
    g_ParallelLink.status.store(2);
    plat::PowerStage().ClearTrace();
    g_UsbState.statusB.store(0);
    ServiceSlaveItem(19, 0);
    EXPECT_EQ(Frames(), (std::vector<std::vector<uint32_t>>{{2, 19, 1}})) << "USB memory unconnected";
    g_UsbState.statusB.store(core::kUsbMounted);
    char name[32];
    WriteCalFile(CalibrationFileName(0, name, sizeof name), 3);  // a slave's own name
    plat::PowerStage().ScriptCaliStatus({kDone});
    plat::PowerStage().ClearTrace();
    ServiceSlaveItem(19, 0);
    EXPECT_EQ(Frames(), (std::vector<std::vector<uint32_t>>{{2, 19, 2}, {2, 19, 4 + 6}})) << "V and W failed";
    g_ParallelLink.status.store(0);
    g_ParallelActive.store(0);
}

// A master tells its slaves which update follows; a slave whose link stays up stops the FPGA update
// after a bounded wait, having told its master it leaves.
TEST_F(ServiceJobs, MasterAnnouncesAndASlaveStopsWhenItsLinkStaysUp) {
    g_ParallelActive.store(1);
    Run(282);  // the DSP program: a master announces item 15, then misses the file
    const std::vector<std::vector<uint32_t>> frames = Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), (std::vector<uint32_t>{7, 15, 0}));
    EXPECT_EQ(Texts(), std::vector<std::string>{"No File(VRN4100) \nin VRN4100"});

    ASSERT_EQ(paramPutValue(kParamParallelPosition, 0, 0), 0);
    g_ParallelLink.status.store(4);
    plat::PowerStage().SetRead(2050, 0, (1u << 16) | 4u);  // the link stays up
    plat::PowerStage().ClearTrace();
    store_.root.Write("/mnt/sd1/VRN4100/VRN4100_SPWM_3pof.jam", "jam");
    Run(280);
    EXPECT_EQ(Frames(), (std::vector<std::vector<uint32_t>>{{4, 25, 3}}));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Update Max10 Fail\nPlease Try again"});
    EXPECT_EQ(g_ParallelActive.load(), 0u) << "off the link";
    plat::PowerStage().ClearRead(2050, 0);
    g_ParallelLink.status.store(0);
}

}  // namespace
}  // namespace menutest
