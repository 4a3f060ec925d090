// The value columns and the focused rows' values of the configuration lists, on the framebuffer.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/state/edit_state.h"
#include "panel/menu/menu_page_words.h"
#include "sysadmin/net/net_state.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using menutest::ExpectPage;
using menutest::SetParam;
using menutest::Step;
using menutest::TakeLog;

class MenuValuesTest : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        g_LanCfg.DHCP = 0;
        g_PhaseMode.store(0);
        menutest::StopPage();
    }
};

// The MISC columns with their shadows, and the focused row's value in its light short box.
TEST_F(MenuValuesTest, MiscColumnsAndFocusedRowAtStart) {
    Step(96, 3);
    ExpectPage("menu_values_misc");
}

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
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        const uint8_t ip[4] = {172, 16, 28, 120};
        std::memcpy(g_LanCfg.IP, ip, 4);
    }
    Step(141, 3);
    ExpectPage("menu_values_lan_configured");
    Step(94, 3);
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        g_LanCfg.DHCP = 1;
    }
    {
        std::lock_guard<std::mutex> lock(g_LanActualLock);
        const uint8_t ip[4] = {10, 0, 0, 57}, dns[4] = {10, 0, 0, 2};
        std::memcpy(g_LanActual[sysadmin::kAddrIp], ip, 4);
        std::memcpy(g_LanActual[sysadmin::kAddrDns], dns, 4);
    }
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

}  // namespace
