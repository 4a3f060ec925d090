// The firmware-update and service data jobs run from their rows through the key dispatcher on a fresh
// root with a simulated stick: the popup texts, the command log, the calibration status the stage answers
// and the calibration command written.
#include <filesystem>

#include "core/control/calibration/cal_page.h"
#include "core/control/parallel/parallel_frame.h"
#include "screens/menu/service/service_entries.h"
#include "storage/files/calibration_file.h"
#include "tests/screens/menu/service_fixture.h"
#include "tests/sysadmin/tar_fixture.h"

namespace menutest {
namespace {

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
        Press(kEnter, kClassKeypad);
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
