// The value columns and the focused rows' values of the configuration lists, and the preview pane of the top
// menu, on the framebuffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <string>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/menu_page_words.h"
#include "sysadmin/net/net_state.h"
#include "sysadmin/sys_versions.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using menutest::ExpectPage;
using menutest::SetParam;
using menutest::Step;
using menutest::TakeLog;

// The configured LAN settings and the addresses in effect, each changed under its lock.
template <typename Change>
void SetLan(Change change) {
    const std::lock_guard<std::mutex> lock(g_LanCfgLock);
    change(g_LanCfg);
}
void Octets(uint8_t* to, std::initializer_list<uint8_t> address) {
    std::copy(address.begin(), address.end(), to);
}
void SetActual(int which, std::initializer_list<uint8_t> address) {
    const std::lock_guard<std::mutex> lock(g_LanActualLock);
    Octets(g_LanActual[which], address);
}

class MenuValuesTest : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        SetLan([](sysadmin::LanCfg& c) { c.DHCP = 0; });
        g_PhaseMode.store(0);
        g_IfaceCfg.serviceTune = 0;
        g_ParallelActive.store(0);
        core::ParallelSlavesClear();
        menutest::StopPage();
    }
    // Moves the focus to a top-menu entry and waits out the preview delay.
    static void Preview(uint32_t state) {
        Step(state == 94 ? 95 : 94, 15);
        Step(state, 15);
    }
};

TEST_F(MenuValuesTest, EditedRowShowsTheWorkingValueInTheDarkBox) {
    Step(98, 3);
    g_EditParam.workValue.store(2);
    Step(99, 2);
    ExpectPage("menu_values_edited_1p3w");
    TakeLog();
    g_EditParam.workValue.store(3);  // past the table
    Step(99, 2);
    const std::string log = TakeLog();
    EXPECT_EQ(log.find("1P3W"), std::string::npos) << log;
    g_EditParam.workValue.store(0);
}

// 1P2W dims the rows it has no use for (Re-lock among them), labels and values alike.
TEST_F(MenuValuesTest, DimRowsAndLabelsFollowTheWiring) {
    g_PhaseMode.store(1);
    Step(96, 3);
    ExpectPage("menu_values_misc_1p2w");
}

// Stored values outside their tables show nothing; the other rows still show.
TEST_F(MenuValuesTest, ValuesOutsideTheirTablesShowNothing) {
    SetParam(137, 9);
    SetParam(123, 6);
    std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Baud).store(8);
    Step(96, 3);
    Step(136, 3);
    ExpectPage("menu_values_misc_outside");
    Step(94, 3);
    Step(171, 3);
    ExpectPage("menu_values_iface_outside");
}

TEST_F(MenuValuesTest, SlaveShowsDashesInColumnAndFocusedRow) {
    SetParam(kParamParallelPosition, 0);
    Step(210, 3);
    ExpectPage("menu_values_slave");
}

TEST_F(MenuValuesTest, LanAddressesInEffectUnderDhcpElseConfigured) {
    SetLan([](sysadmin::LanCfg& c) { Octets(c.IP, {172, 16, 28, 120}); });
    Step(141, 3);
    ExpectPage("menu_values_lan_configured");
    Step(94, 3);
    SetLan([](sysadmin::LanCfg& c) { c.DHCP = 1; });
    SetActual(sysadmin::kAddrIp, {10, 0, 0, 57});
    SetActual(sysadmin::kAddrDns, {10, 0, 0, 2});
    Step(141, 3);
    ExpectPage("menu_values_lan_dhcp");
}

TEST_F(MenuValuesTest, AllDataHasNoMemoryNumber) {
    SaveRecallType.store(4);
    SaveRecallMemory.store(7);
    SaveRecallAction.store(0);
    Step(285, 3);
    ExpectPage("menu_values_all_data");
}

// The standard lines, and the detailed versions the service setting asks for.
TEST_F(MenuValuesTest, PreviewSystemInformationStandardAndDetailed) {
    Preview(94);
    ExpectPage("menu_preview_system");
    g_IfaceCfg.serviceTune = storage::kServiceTuneVersionDetail;
    const int32_t built[7] = {2023, 3, 16, 10, 32, 51, 4};
    std::memcpy(g_KernelBuildTime, built, sizeof built);
    Preview(94);
    ExpectPage("menu_preview_system_detail");
}

// The MISC preview's two pages, as F2 turns them, with the page number under them.
TEST_F(MenuValuesTest, PreviewMiscTwoPages) {
    Preview(95);
    ExpectPage("menu_preview_misc_1");
    g_MenuPreviewPage.store(1);
    Step(95, 15);
    ExpectPage("menu_preview_misc_2");
}

TEST_F(MenuValuesTest, PreviewParallelSlaveLinesOnlyWhileActive) {
    SetParam(kParamParallelPosition, 1);
    SetParam(211, 3);
    {
        std::lock_guard<std::mutex> lock(g_ParallelSerialLock);
        // A full-length serial without a terminator: the line stops at its 17 bytes.
        std::memset(g_ParallelLink.slave[1].serial, 'A', sizeof g_ParallelLink.slave[1].serial);
        std::strcpy(g_ParallelLink.slave[2].serial, "SN0002");
        std::strcpy(g_ParallelLink.slave[3].serial, "SN0003");
    }
    // The slaves' lines only while parallel operation is active, as many as the number has slaves; a slave
    // shows dashes for the master's settings.
    Preview(207);
    ExpectPage("menu_preview_parallel");
    g_ParallelActive.store(1);
    Preview(207);
    ExpectPage("menu_preview_parallel_active");
    SetParam(kParamParallelPosition, 0);
    Preview(207);
    ExpectPage("menu_preview_parallel_slave");
}

TEST_F(MenuValuesTest, PreviewLanShowsAddressesInEffectOnlyUnderDhcp) {
    SetLan([](sysadmin::LanCfg& c) {
        Octets(c.IP, {172, 16, 28, 120});
        c.PW = 42;
        c.DHCP = 0;
    });
    SetActual(sysadmin::kAddrIp, {10, 0, 0, 57});
    Preview(138);
    ExpectPage("menu_preview_lan");
    SetLan([](sysadmin::LanCfg& c) { c.DHCP = 1; });
    Preview(138);
    ExpectPage("menu_preview_lan_dhcp");
}

TEST_F(MenuValuesTest, PreviewCautionAndExplanations) {
    Preview(223);
    ExpectPage("menu_preview_caution");
}

}  // namespace
