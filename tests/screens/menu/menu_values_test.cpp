// The value columns and the focused rows' values of the configuration lists, read in the text log at their
// screen anchors.
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

using menutest::ExpectLogged;
using menutest::Logged;
using menutest::SetParam;
using menutest::Step;
using menutest::StepLog;
using menutest::TakeLog;

constexpr const char* kWhite = "0xFFFF";
constexpr const char* kDim = "0x39E7";
constexpr const char* kBlack = "0x0000";
// Screen anchors of the columns' texts: the list area lies at (11, 43), a column's text 10 pixels in.
constexpr int kMisc1X = 221, kMisc2X = 561, kIfaceX = 201, kRowY0 = 78;

int RowY(int row) {
    return kRowY0 + 25 * row;
}

using screentext::AnythingAt;

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

TEST_F(MenuValuesTest, MiscColumnsAndFocusedRowAtStart) {
    const std::string log = StepLog(96, 3);
    const char* first[] = {"1",      "3P4W", "Unbalance", "ALL", "OFF", "ON",         "OFF",       "Medium",
                           "Enable", "IEC",  "OFF",       "rms", "OFF", "L1 Voltage", "L1 Current"};
    for (int row = 0; row < 15; ++row)
        EXPECT_TRUE(Logged(log, kMisc1X, RowY(row), kWhite, first[row])) << row << "\n" << log;
    const char* second[] = {"\xB1 2.5", "0.1", "L1", "ON", "8", "Fast"};
    for (int row = 0; row < 6; ++row)
        EXPECT_TRUE(Logged(log, kMisc2X, RowY(row), kWhite, second[row])) << row;
    EXPECT_TRUE(Logged(log, kMisc1X + 1, RowY(0) + 1, kBlack, "1")) << "the shadow";
    EXPECT_TRUE(Logged(log, 261, 91, kBlack, "1")) << "the focused row's light short box";
}

TEST_F(MenuValuesTest, EditedRowShowsTheWorkingValueInTheDarkBox) {
    Step(98, 3);
    g_EditParam.workValue.store(2);
    std::string log = StepLog(99, 2);
    EXPECT_TRUE(Logged(log, 261, RowY(1) + 13, kWhite, "1P3W")) << log;
    g_EditParam.workValue.store(3);  // past the table
    Step(99, 2);
    log = TakeLog();
    EXPECT_EQ(log.find("1P3W"), std::string::npos) << log;
    g_EditParam.workValue.store(0);
}

TEST_F(MenuValuesTest, DimRowsAndLabelsFollowTheWiring) {
    g_PhaseMode.store(1);  // 1P2W
    const std::string log = StepLog(96, 3);
    ExpectLogged(log, {{kMisc1X, RowY(1), kWhite, "1P2W"}, {kMisc1X, RowY(2), kDim, "Unbalance"},
                       {kMisc2X, RowY(3), kDim, "ON", "Re-lock in 1P2W"}, {kMisc2X, RowY(1), kWhite, "0.1"}});
    // The rows' labels dim with their values.
    ExpectLogged(log, {{21, 128, kDim, "Phase Mode"}, {361, 153, kDim, "Re-lock"},
                       {361, 128, kWhite, "TrgOut Source"}});
}

TEST_F(MenuValuesTest, ValuesOutsideTheirTablesShowNothing) {
    SetParam(137, 9);
    SetParam(123, 6);
    std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Baud).store(8);
    Step(96, 3);
    std::string log = StepLog(136, 3);
    EXPECT_FALSE(AnythingAt(log, kMisc2X, RowY(5))) << log;
    EXPECT_FALSE(AnythingAt(log, kMisc1X, RowY(13)));
    EXPECT_TRUE(Logged(log, kMisc1X, RowY(14), kWhite, "L1 Current")) << "the other rows still show";
    Step(94, 3);
    log = StepLog(171, 3);
    EXPECT_FALSE(AnythingAt(log, kIfaceX, RowY(0))) << log;
    EXPECT_TRUE(Logged(log, kIfaceX, RowY(2), kDim, "None")) << "RS232 off";
}

TEST_F(MenuValuesTest, SlaveShowsDashesInColumnAndFocusedRow) {
    SetParam(kParamParallelPosition, 0);
    const std::string log = StepLog(210, 3);
    ExpectLogged(log, {{kMisc1X, RowY(0), kWhite, "Slave"}, {kMisc1X, RowY(1), kDim, "---"},
                       {kMisc1X, RowY(2), kDim, "---"},
                       {261, RowY(1) + 13, kBlack, "---", "the focused Parallel Number"}});
}

TEST_F(MenuValuesTest, LanAddressesInEffectUnderDhcpElseConfigured) {
    {
        std::lock_guard<std::mutex> lock(g_LanCfgLock);
        const uint8_t ip[4] = {172, 16, 28, 120};
        std::memcpy(g_LanCfg.IP, ip, 4);
    }
    std::string log = StepLog(141, 3);
    EXPECT_TRUE(Logged(log, kIfaceX, RowY(3), kWhite, "172.16.28.120")) << log;
    EXPECT_TRUE(Logged(log, kIfaceX, RowY(2), kWhite, "OFF"));
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
    log = StepLog(141, 3);
    ExpectLogged(log, {{kIfaceX, RowY(3), kWhite, "10.0.0.57"}, {kIfaceX, RowY(6), kWhite, "10.0.0.2"},
                       {276, RowY(3) + 13, kBlack, "10.0.0.57", "the focused row"}});
}

TEST_F(MenuValuesTest, AllDataHasNoMemoryNumber) {
    SaveRecallType.store(4);
    SaveRecallMemory.store(7);
    SaveRecallAction.store(0);
    const std::string log = StepLog(285, 3);
    EXPECT_TRUE(Logged(log, kIfaceX, RowY(0), kWhite, "All Data")) << log;
    EXPECT_TRUE(Logged(log, kIfaceX, RowY(1), kWhite, "MEM \xB2 USB"));
    EXPECT_FALSE(AnythingAt(log, kIfaceX, RowY(2)));
}

}  // namespace
