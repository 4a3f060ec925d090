// The fieldbus address and baud commands with a CANopen or a DeviceNet card, which a controller on a fresh
// root does not have; the AC voltage unit with the control task that carries the change out.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "core/params/access/param_access.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/links/fieldbus_flags.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handlers.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using namespace scpi;

class FieldbusHandlers : public test::CtrlTest {
  protected:
    void Fit(storage::CardLine line) {
        for (uint32_t& present : g_IfaceCfg.cardPresent)
            present = 0;
        g_IfaceCfg.cardPresent[line] = 1;
        // Ids a test before may have left; none of them is the one a case sets.
        g_IfaceCfg.canopenNodeId = 1;
        g_IfaceCfg.devicenetMacId = 0;
        g_FieldbusChangeFlags.canopenChanged.store(0);
        g_FieldbusChangeFlags.devicenetChanged.store(0);
    }
    void TearDown() override {
        for (uint32_t& present : g_IfaceCfg.cardPresent)
            present = 0;
    }
    scpitest::FakeChannel ch{kChanLan};
};

// CANopen: the rates of codes 0-3 and Auto; a DeviceNet rate table ends at 500000.
TEST_F(FieldbusHandlers, BaudByCard) {
    Fit(storage::kCardLine17);
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, false, kItemInt, 1000000), "|0");
    EXPECT_EQ(g_IfaceCfg.canopenBaud, 3u);
    EXPECT_EQ(g_FieldbusChangeFlags.canopenChanged.load(), 1u);
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, true), "1000000|0");
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, false, kItemInt, 9600), "|51");
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, false, kItemChoice, 0), "|0");
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, true), "Auto|0");
    Fit(storage::kCardLine106);
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, false, kItemInt, 1000000), "|51");
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, false, kItemInt, 250000), "|0");
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, true), "250000|0");
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, false, kItemChoice, 0), "|0");
    EXPECT_EQ(g_IfaceCfg.devicenetBaud, 3u);
    EXPECT_EQ(ch.Call(CmdSystCommIntBaud, true), "Auto|0");
}

// The node id 1..127 and the MAC id 0..63; a negative id is out of range, a changed one raises its card's
// settings-changed word.
TEST_F(FieldbusHandlers, AddressByCard) {
    Fit(storage::kCardLine17);
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, false, kItemInt, 128), "|53");
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, false, kItemInt, 0), "|53");
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, false, kItemInt, -1), "|53");
    EXPECT_EQ(g_FieldbusChangeFlags.canopenChanged.load(), 0u);
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, false, kItemInt, 127), "|0");
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, true), "+127|0");
    EXPECT_EQ(g_FieldbusChangeFlags.canopenChanged.load(), 1u);
    Fit(storage::kCardLine106);
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, false, kItemInt, 64), "|53");
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, false, kItemInt, 63), "|0");
    EXPECT_EQ(ch.Call(CmdSystCommIntAddr, true), "+63|0");
    EXPECT_EQ(g_FieldbusChangeFlags.devicenetChanged.load(), 1u);
    EXPECT_EQ(g_FieldbusChangeFlags.canopenChanged.load(), 0u);
}

class AcvUnitHandler : public test::CtrlTest {
  protected:
    std::string Unit(uint8_t type, int32_t value) { return ch.Call(CmdSystAcvUnit, false, type, value); }
    scpitest::FakeChannel ch{kChanLan};
};

// A change keeps the voltage in force: 100.00 Vrms on a waveform of peak factor 1.414 is 282.80 Vpp, and
// back (the refusals: tests/system/scpi_comm_test).
TEST_F(AcvUnitHandler, ChangeKeepsTheVoltageInForce) {
    ASSERT_TRUE(test::RunUntilRunning());
    test::Poll(30);
    core::ParamSetWaveFactor(18, 1.414f);
    ASSERT_EQ(SetWaveform(18, 0), 18);
    test::Poll(5);
    ASSERT_EQ(SetAcv(10000, 0), 10000);
    test::Poll(5);
    EXPECT_EQ(ch.Call(CmdSystAcvUnit, true, kItemOmitted, 0), "+0|0");
    EXPECT_EQ(Unit(kItemChoice, 1), "|0");
    test::Poll(2);
    EXPECT_EQ(GetAcvUnit(), 1);
    EXPECT_EQ(GetAcv(0), 28280);
    EXPECT_NEAR(test::WritesTo(2384).back().value, 282.8, 1e-3);  // what the power stage gets, in volts
    EXPECT_EQ(Unit(kItemInt, 0), "|0");
    test::Poll(2);
    EXPECT_EQ(GetAcv(0), 10000);
}

}  // namespace
