// The running controller's service code entry and brand change, by keys from the Special Function row:
// the popup texts drawn, the brand file and the commands run, in order.
#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/brand_media.h"
#include "tests/sysadmin/tar_fixture.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

// The logo and web images an installed unit carries for brand 1, written into a running unit's root.
void WriteTulveMedia(const std::string& root) {
    testsupport::WriteBrandMedia(
        [&root](const std::string& path, std::string_view content) {
            std::filesystem::create_directories(std::filesystem::path(root + path).parent_path());
            std::ofstream(root + path, std::ios::binary) << content;
        },
        "tulve", "VRN-345/");
}

class PanelService : public FrontPanelSuite {
  protected:
    // Waits until a text was drawn anywhere since the mark.
    static bool WaitDrawn(const std::string& text, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            const std::string log = TextLog();
            const std::string since = log.size() > markAt_ ? log.substr(markAt_) : "";
            if (since.find(" " + text + "\n") != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static void MarkAll() {
        markAt_ = TextLog().size();
        commandsAt_ = Commands().size();
    }
    static std::string Commands() { return ReadFile(c().root() + "/var/log/commands.log"); }
    // The commands run since the mark, without time, kind and status, nor what they printed on errors.
    static std::vector<std::string> CommandsSince() {
        const std::string all = Commands();
        std::istringstream in(all.size() > commandsAt_ ? all.substr(commandsAt_) : "");
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) {
            size_t at = 0;
            for (int field = 0; field < 4 && at != std::string::npos; ++field)
                at = line.find(' ', at + (field == 0 ? 0 : 1));
            if (at == std::string::npos) continue;
            const std::string command = line.substr(at + 1);
            out.push_back(command.substr(0, command.find(" -- ")));
        }
        return out;
    }
    static inline size_t markAt_ = 0, commandsAt_ = 0;
};

// '@', 'A'-'I' are the keypad's 0-9.
TEST_F(PanelService, AWrongCodeIsRefusedAndTheBrandCodeChangesTheBrand) {
    // The boot loader of a fresh unit names the maker brand already: the start left the logo alone.
    EXPECT_NE(Commands().find("fw_printenv upg_ver"), std::string::npos);
    EXPECT_EQ(Commands().find("flash_eraseall"), std::string::npos);
    Keys({"key L"});
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(Panel("knob -1"));
    Keys({"knob 1"});  // Special Function
    MarkAll();
    Keys({"key U", "key A", "key B", "key C", "key D", "key U"});
    EXPECT_TRUE(WaitDrawn("Error Password")) << TextLog();

    WriteTulveMedia(c().root());
    MarkAll();
    Keys({"key U", "key H", "key F", "key B", "key C", "key U", "key U", "knob 1", "key U"});
    EXPECT_TRUE(WaitDrawn("QX => TULVE")) << TextLog();
    EXPECT_TRUE(WaitFile(c().root() + "/mnt/disk/firm", "firm=TULVE\n"));
    const std::string from = "cp /mnt/disk/httpd/ODM_image/tulve/", to = " /mnt/disk/httpd/images/";
    const std::vector<std::string> expected = {
        "sync",
        "fw_setenv upg_ver 0x261",
        "sync",
        from + "logo.png" + to + "logo.png",
        from + "logo-dark.svg" + to + "logo-dark.svg",
        from + "logo.svg" + to + "logo.svg",
        from + "VRN-345/sample.png" + to + "sample.png",
        from + "favicon.ico" + to + "favicon.ico",
        "flash_eraseall /dev/mtd9",
        "dd if=/mnt/disk/app/image/tulve_logo.bmp of=/dev/mtdblock9 bs=1024",
    };
    // Other threads run their own commands meanwhile: the brand change's appear in this order among them.
    const std::vector<std::string> ran = CommandsSince();
    size_t next = 0;
    for (const std::string& command : ran)
        if (next < expected.size() && command == expected[next]) ++next;
    EXPECT_EQ(next, expected.size()) << Commands();
}

// Keys typed into a program's panel channel one after the other, each taken before the next.
void TypeKeys(const ControllerProcess& p, const std::vector<std::string>& keys) {
    for (const std::string& k : keys)
        ASSERT_TRUE(TypeLine(p, k)) << k;
}

// From the home view to the Special Function row, then the brand code into the model/brand list.
std::vector<std::string> ToModelBrandList() {
    std::vector<std::string> keys = {"key L"};
    keys.insert(keys.end(), 15, "knob -1");
    for (const char* k : {"knob 1", "key U", "key H", "key F", "key B", "key C", "key U"})
        keys.emplace_back(k);
    return keys;
}

// After a brand change, a restart and a new start on the same root: the boot loader names the new brand,
// so the start leaves the logo alone.
TEST(PanelServiceRestart, TheChangedBrandsLogoIsNotWrittenAgainAtTheNextStart) {
    ControllerProcess first;
    ASSERT_TRUE(first.WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << first.Output();
    const std::string root = first.root();
    TypeKeys(first, ToModelBrandList());
    WriteTulveMedia(root);
    TypeKeys(first, {"key U", "knob 1", "key U"});
    std::string firm;
    for (int waited = 0; waited <= 10000 && firm != "firm=TULVE\n"; waited += 20) {
        std::ifstream f(root + "/mnt/disk/firm");
        firm.assign(std::istreambuf_iterator<char>(f), {});
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(firm, "firm=TULVE\n");
    ASSERT_TRUE(PanelLine(root, "restart"));
    ASSERT_TRUE(first.WaitForOutput("settings saved for the restart")) << first.Output();
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();
    ControllerProcess next({"--root", root});
    ASSERT_TRUE(next.WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << next.Output();
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
    std::ifstream log(root + "/var/log/commands.log");
    int erases = 0, reads = 0;
    for (std::string line; std::getline(log, line);) {
        erases += line.find("flash_eraseall /dev/mtd9") != std::string::npos;
        reads += line.find("fw_printenv upg_ver") != std::string::npos;
    }
    EXPECT_EQ(reads, 2);   // one check at each start
    EXPECT_EQ(erases, 1);  // the brand change's only
}

// A model change resets the unit to the new model and reboots once; the next start names the model.
TEST(PanelServiceModel, TheNewModelIsTheUnitsAfterTheReboot) {
    ControllerProcess first;
    ASSERT_TRUE(first.WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << first.Output();
    const std::string root = first.root();
    TypeKeys(first, ToModelBrandList());
    TypeKeys(first, {"knob -1", "key U", "key D", "key A", "key F", "key @", "key U"});  // Model Type: 4160
    ASSERT_TRUE(first.WaitForOutput("settings saved for the restart", 15000)) << first.Output();
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();
    int reboots = 0;
    {
        std::ifstream log(root + "/var/log/commands.log");
        for (std::string line; std::getline(log, line);)
            reboots += line.size() >= 7 && line.compare(line.size() - 7, 7, " reboot") == 0;
    }
    EXPECT_EQ(reboots, 1);
    ControllerProcess next({"--root", root});
    ASSERT_TRUE(next.WaitForOutput("LAN: SCPI socket listening", kStartupTimeoutMs)) << next.Output();
    TcpClient scpi(5025 + next.portOffset());
    scpi.Send("*IDN?\n");
    EXPECT_NE(scpi.ReadLine(15000).find(",VRN-4160,"), std::string::npos);
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
}

}  // namespace

namespace {

using namespace testsupport;

class PanelServiceLists : public FrontPanelSuite {
  protected:
    // From the home view to the Special Function row, then a code typed into the password box.
    static void EnterCode(std::initializer_list<const char*> digits) {
        Keys({"key L"});
        for (int i = 0; i < 15; ++i)
            ASSERT_TRUE(Panel("knob -1"));
        Keys({"knob 1", "key U"});
        Keys(digits);
        Keys({"key U"});
    }
};

// The switch list in its two columns, a toggled switch on the bar; the data list's unit cycling on its
// first row.
TEST_F(PanelServiceLists, SwitchListAndTheCalibrationUnitRow) {
    Mark();
    EnterCode({"key I", "key C", "key G", "key A"});  // 9371
    EXPECT_TRUE(WaitLogged(17, 43, "1. Detail Alarm Message : OFF")) << TextLog();
    EXPECT_TRUE(WaitLogged(17, 442, "20. 1P2W 3Phase Show:OFF"));
    EXPECT_TRUE(WaitLogged(392, 43, "21. Temp Show:OFF"));
    Mark();
    Keys({"knob -1", "key U"});  // the knob steps down the list
    EXPECT_TRUE(WaitLogged(12, 66, " 2. OCP Enable: ON")) << TextLog();

    Keys({"key V"});  // back to the Special Function row
    Mark();
    Keys({"key U", "key H", "key C", "key @", "key E", "key U"});  // 8305
    EXPECT_TRUE(WaitLogged(17, 43, "01. Calibration Data R/W :    Master")) << TextLog();
    Mark();
    Keys({"key U"});
    EXPECT_TRUE(WaitLogged(12, 45, " 01. Calibration Data R/W :    Slave 1")) << TextLog();
}

// The firmware update from the update list: refused with the output on, without a stick and without a
// package; with the brand's package on the stick it unpacks it, updates, removes its files and reboots.
TEST_F(PanelServiceLists, FirmwareUpdateRefusalsThenThePackage) {
    size_t from = 0;
    auto mark = [&from] { from = TextLog().size(); };
    auto drawn = [&from](const std::string& text) {
        for (int waited = 0; waited <= 15000; waited += 20) {
            const std::string log = TextLog();
            if (log.size() > from && log.find(" " + text + "\n", from) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    ASSERT_FALSE(Ask("OUTP ON;*OPC?;:SYST:COMM:RLST LOC").empty());
    Keys({"key V"});  // from the data list back to the Special Function row
    Mark();
    Keys({"key U", "key I", "key @", "key D", "key F", "key U"});  // 9046
    mark();
    EXPECT_TRUE(WaitLogged(17, 43, "1. Update Firmware")) << TextLog();
    mark();
    Keys({"key U"});
    EXPECT_TRUE(drawn("Update Fail\\nPlease Output Off")) << TextLog();
    ASSERT_FALSE(Ask("OUTP OFF;*OPC?;:SYST:COMM:RLST LOC").empty());
    mark();
    Keys({"key U"});
    EXPECT_TRUE(drawn("USB Memory Unconnected")) << TextLog();

    const std::string stick = c().root() + "/var/lib/sandbox/usb";
    std::filesystem::create_directories(stick + "/qx");
    ASSERT_TRUE(Panel("usb insert sda1"));
    bool mounted = false;
    for (int waited = 0; waited <= 10000 && !mounted; waited += 50) {
        mounted = std::filesystem::exists(c().root() + "/mnt/sd1/qx");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(mounted);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the watch sees the stick
    mark();
    Keys({"key U"});
    EXPECT_TRUE(drawn("No Update Firmware File")) << TextLog();
}

}  // namespace

namespace {

using namespace testsupport;

// The brand's package on the stick: unpacked, the FPGA, boot image, DSP program and web pages updated,
// the four files removed, then the front-panel controller told and one reboot.
TEST(PanelServiceUpdate, ThePackageOnTheStickUpdatesAndReboots) {
    ControllerProcess unit({"--text-log"});
    ASSERT_TRUE(unit.WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << unit.Output();
    const std::string root = unit.root();
    const std::string stick = root + "/var/lib/sandbox/usb/qx";
    std::filesystem::create_directories(stick);
    {
        std::ofstream f(stick + "/qx_sb6.upg", std::ios::binary);
        f << Tar(TarMember("VRN4100_BOOT.bin", '0', std::string(50000, 'B')) +
                 TarMember("VRN4100_SPWM_3pof.jam", '0', "jam") +
                 TarMember("VRN4100", '0', std::string(3000, 'A')) +
                 TarMember("httpd.tar.gz", '0', Gzip(Tar(TarMember("httpd/", '5', "")))));
    }
    ASSERT_TRUE(PanelLine(root, "usb insert sda1"));
    for (int waited = 0; waited <= 10000 && !std::filesystem::exists(root + "/mnt/sd1/qx"); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(root + "/mnt/sd1/qx/qx_sb6.upg"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the watch sees the stick
    std::vector<std::string> keys = {"key L"};
    keys.insert(keys.end(), 15, "knob -1");
    for (const char* k : {"knob 1", "key U", "key I", "key @", "key D", "key F", "key U", "key U"})
        keys.emplace_back(k);
    TypeKeys(unit, keys);
    ASSERT_TRUE(unit.WaitForOutput("settings saved for the restart", 60000)) << unit.Output();
    ASSERT_EQ(unit.Stop(SIGTERM), 0) << unit.Output();
    std::ifstream log(root + "/var/log/commands.log");
    int reboots = 0, parses = 0;
    std::vector<std::string> removed;
    for (std::string line; std::getline(log, line);) {
        reboots += line.size() >= 7 && line.compare(line.size() - 7, 7, " reboot") == 0;
        parses += line.find("cd /mnt/sd1/QX && /mnt/disk/app/upgparse qx_sb6.upg") != std::string::npos;
        const size_t rm = line.find(" rm /mnt/sd1/");
        if (rm != std::string::npos) removed.push_back(line.substr(rm + 1));
    }
    EXPECT_EQ(parses, 1);
    EXPECT_EQ(removed, (std::vector<std::string>{"rm /mnt/sd1/QX/VRN4100_SPWM_3pof.jam",
                                                 "rm /mnt/sd1/QX/VRN4100_BOOT.bin", "rm /mnt/sd1/QX/VRN4100",
                                                 "rm /mnt/sd1/QX/httpd.tar.gz"}));
    EXPECT_EQ(reboots, 1);
    std::ifstream text(root + "/var/log/gui-text.log");
    std::ostringstream drawn;
    drawn << text.rdbuf();
    EXPECT_NE(drawn.str().find("Update Success\\nReboot"), std::string::npos);
}

}  // namespace
