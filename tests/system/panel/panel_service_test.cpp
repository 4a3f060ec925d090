// The running controller's service codes by keys from the Special Function row: the brand change with the
// brand file and the commands run, in order, kept across a restart; the model change and its reboot; the
// firmware update from a package on the stick.
#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/brand_media.h"
#include "tests/sysadmin/tar_fixture.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

// Keys typed into a program's panel channel one after the other, each taken before the next.
void TypeKeys(const ControllerProcess& p, const std::vector<std::string>& keys) {
    for (const std::string& k : keys)
        ASSERT_TRUE(TypeLine(p, k)) << k;
}

// From the home view to the Special Function row, then a service code typed into its box.
std::vector<std::string> ServiceCode(std::initializer_list<const char*> digits) {
    std::vector<std::string> keys = {"key L"};
    keys.insert(keys.end(), 15, "knob -1");
    keys.insert(keys.end(), {"knob 1", "key U"});
    keys.insert(keys.end(), digits.begin(), digits.end());
    keys.emplace_back("key U");
    return keys;
}

// The brand code (8152) into the model/brand list.
std::vector<std::string> ToModelBrandList() {
    return ServiceCode({"key H", "key F", "key B", "key C"});
}

// The commands a root's program ran, without time, kind and status, nor what they printed on errors.
std::vector<std::string> CommandsRan(const std::string& root) {
    std::ifstream in(root + "/var/log/commands.log");
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

// How many of the commands ran end with (or, with whole false, hold) text.
int CountRan(const std::vector<std::string>& ran, const std::string& text, bool whole = true) {
    int n = 0;
    for (const std::string& command : ran)
        n += whole ? command == text : command.find(text) != std::string::npos;
    return n;
}

// A brand change by the brand code on a fresh unit, which carries every brand's boot logo and web images
// as the factory leaves it: its commands in order and no failure, a restart and a new start on the same
// root: the boot loader names the new brand, so the start leaves the logo alone.
TEST(PanelServiceRestart, TheChangedBrandsLogoIsNotWrittenAgainAtTheNextStart) {
    ControllerProcess first;
    ASSERT_TRUE(first.WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << first.Output();
    const std::string root = first.root();
    EXPECT_EQ(CountRan(CommandsRan(root), "flash_eraseall", false), 0) << "a fresh unit names the maker";
    TypeKeys(first, ToModelBrandList());
    // Each logo the boot loader can show: a 24-bit bitmap of its 480 x 272 screen.
    for (const char* brand : {"qx", "tulve", "pelma"}) {
        const std::string bmp = FileText(root + "/mnt/disk/app/image/" + brand + "_logo.bmp");
        ASSERT_EQ(bmp.size(), 54u + 480 * 272 * 3) << brand;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(bmp.substr(18, 12), std::string("\xE0\x01\0\0\x10\x01\0\0\x01\0\x18\0", 12)) << brand;
    }
    TypeKeys(first, {"key U", "knob 1", "key U"});
    std::string firm;
    for (int waited = 0; waited <= 10000 && firm != "firm=TULVE\n"; waited += 20) {
        std::ifstream f(root + "/mnt/disk/firm");
        firm.assign(std::istreambuf_iterator<char>(f), {});
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(firm, "firm=TULVE\n");
    const std::vector<std::string> expected = testsupport::BrandChangeCommands("tulve", "VRN-345/", "0x261");
    // Other threads run their own commands meanwhile: the brand change's appear in this order among them.
    for (int waited = 0; waited <= 10000 && CountRan(CommandsRan(root), expected.back()) == 0; waited += 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    size_t matched = 0;
    for (const std::string& command : CommandsRan(root))
        if (matched < expected.size() && command == expected[matched]) ++matched;
    EXPECT_EQ(matched, expected.size()) << FileText(root + "/var/log/commands.log");
    for (const char* failure : {"Boot Logo Write Fail", "Web Image Copy Fail"})
        EXPECT_EQ(first.Output().find(failure), std::string::npos) << first.Output();
    ASSERT_TRUE(PanelLine(root, "restart"));
    ASSERT_TRUE(first.WaitForOutput("settings saved for the restart")) << first.Output();
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();
    ControllerProcess next({"--root", root});
    ASSERT_TRUE(next.WaitForOutput("GuiThread: system ready", kStartupTimeoutMs)) << next.Output();
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
    EXPECT_EQ(CountRan(CommandsRan(root), "fw_printenv upg_ver"), 2) << "one check at each start";
    EXPECT_EQ(CountRan(CommandsRan(root), "flash_eraseall /dev/mtd9"), 1) << "the brand change's only";
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
    EXPECT_EQ(CountRan(CommandsRan(root), "reboot"), 1);
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
    TypeKeys(unit, ServiceCode({"key I", "key @", "key D", "key F"}));  // 9046: the update list
    TypeKeys(unit, {"key U"});
    ASSERT_TRUE(unit.WaitForOutput("settings saved for the restart", 60000)) << unit.Output();
    ASSERT_EQ(unit.Stop(SIGTERM), 0) << unit.Output();
    const std::vector<std::string> ran = CommandsRan(root);
    std::vector<std::string> removed;
    for (const std::string& command : ran)
        if (command.rfind("rm /mnt/sd1/", 0) == 0) removed.push_back(command);
    EXPECT_EQ(CountRan(ran, "cd /mnt/sd1/QX && /mnt/disk/app/upgparse qx_sb6.upg", false), 1);
    EXPECT_EQ(removed, (std::vector<std::string>{"rm /mnt/sd1/QX/VRN4100_SPWM_3pof.jam",
                                                 "rm /mnt/sd1/QX/VRN4100_BOOT.bin", "rm /mnt/sd1/QX/VRN4100",
                                                 "rm /mnt/sd1/QX/httpd.tar.gz"}));
    EXPECT_EQ(CountRan(ran, "reboot"), 1);
    std::ifstream text(root + "/var/log/gui-text.log");
    std::ostringstream drawn;
    drawn << text.rdbuf();
    EXPECT_NE(drawn.str().find("Update Success\\nReboot"), std::string::npos);
}

}  // namespace
