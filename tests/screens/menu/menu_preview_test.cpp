// The preview pane of the top menu, read in the text log at its screen anchors (the pane's origin is
// (377, 48) on the screen).
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/parallel_link.h"
#include "panel/menu/menu_page_words.h"
#include "sysadmin/net/net_state.h"
#include "sysadmin/sys_versions.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using menutest::Logged;
using menutest::SetParam;
using menutest::Step;
using menutest::TakeLog;

constexpr const char* kGrey = "0x39E7";
constexpr int kX = 377;

int Y(int y) {
    return 48 + y;
}

class MenuPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        g_IfaceCfg.serviceTune = 0;
        g_ParallelActive.store(0);
        core::ParallelSlavesClear();
        menutest::StopPage();
    }
    // Moves the focus to a top-menu entry and waits out the preview delay.
    static std::string Preview(uint32_t state) {
        Step(state == 94 ? 95 : 94, 15);
        return menutest::StepLog(state, 15);
    }
};

// The standard lines, and the detailed versions the service setting asks for.
TEST_F(MenuPreviewTest, SystemInformationStandardAndDetailed) {
    Preview(94);
    menutest::ExpectPage("menu_preview_system");
    g_IfaceCfg.serviceTune = storage::kServiceTuneVersionDetail;
    const int32_t built[7] = {2023, 3, 16, 10, 32, 51, 4};
    std::memcpy(g_KernelBuildTime, built, sizeof built);
    Preview(94);
    menutest::ExpectPage("menu_preview_system_detail");
}

// The MISC preview's two pages, as F2 turns them, with the page number under them.
TEST_F(MenuPreviewTest, MiscTwoPages) {
    Preview(95);
    menutest::ExpectPage("menu_preview_misc_1");
    g_MenuPreviewPage.store(1);
    Step(95, 15);
    menutest::ExpectPage("menu_preview_misc_2");
}

TEST_F(MenuPreviewTest, ParallelSlaveLinesOnlyWhileActive) {
    SetParam(kParamParallelPosition, 1);
    SetParam(211, 3);
    {
        std::lock_guard<std::mutex> lock(g_ParallelSerialLock);
        // A full-length serial without a terminator: the line stops at its 17 bytes.
        std::memset(g_ParallelLink.slave[1].serial, 'A', sizeof g_ParallelLink.slave[1].serial);
        std::strcpy(g_ParallelLink.slave[2].serial, "SN0002");
        std::strcpy(g_ParallelLink.slave[3].serial, "SN0003");
    }
    std::string log = Preview(207);
    EXPECT_TRUE(Logged(log, kX, Y(10), kGrey, "Position : Master")) << log;
    EXPECT_TRUE(Logged(log, kX, Y(30), kGrey, "Parallel Number : 3"));
    EXPECT_EQ(log.find("Slave1 SN"), std::string::npos) << "parallel operation not active";
    g_ParallelActive.store(1);
    log = Preview(207);
    EXPECT_TRUE(Logged(log, kX, Y(100), kGrey, "Slave1 SN : AAAAAAAAAAAAAAAAA")) << log;
    EXPECT_TRUE(Logged(log, kX, Y(120), kGrey, "Slave2 SN : SN0002"));
    EXPECT_EQ(log.find("Slave3 SN"), std::string::npos) << "Number 3 has two slaves";

    SetParam(kParamParallelPosition, 0);
    log = Preview(207);
    EXPECT_TRUE(Logged(log, kX, Y(30), kGrey, "Parallel Number : ---")) << log;
    EXPECT_TRUE(Logged(log, kX, Y(50), kGrey, "Enable : ---"));
    EXPECT_EQ(log.find("Slave1 SN"), std::string::npos);
}

TEST_F(MenuPreviewTest, LanShowsAddressesInEffectOnlyUnderDhcp) {
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        const uint8_t ip[4] = {172, 16, 28, 120};
        std::memcpy(g_LanCfg.IP, ip, 4);
        g_LanCfg.PW = 42;
        g_LanCfg.DHCP = 0;
    }
    {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        const uint8_t ip[4] = {10, 0, 0, 57};
        std::memcpy(g_LanActual[sysadmin::kAddrIp], ip, 4);
    }
    Preview(138);
    menutest::ExpectPage("menu_preview_lan");
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        g_LanCfg.DHCP = 1;
    }
    Preview(138);
    menutest::ExpectPage("menu_preview_lan_dhcp");
    std::lock_guard<std::mutex> lock(g_LanCfgLock);
    g_LanCfg.DHCP = 0;
}

TEST_F(MenuPreviewTest, CautionAndExplanations) {
    Preview(223);
    menutest::ExpectPage("menu_preview_caution");
}

}  // namespace
