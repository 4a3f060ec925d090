// The fieldbus address and baud commands with a CANopen or a DeviceNet card, which a controller on a fresh
// root does not have.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "core/system/config/iface_cfg.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handlers.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using namespace scpi;
using Handler = int (*)(ScpiInterface*);

class FieldbusHandlers : public test::CtrlTest {
  protected:
    void Fit(storage::CardLine line) {
        for (uint32_t& present : g_IfaceCfg.cardPresent)
            present = 0;
        g_IfaceCfg.cardPresent[line] = 1;
        g_CanopenSettingsChanged.store(0);
        g_DnetSettingsChanged.store(0);
    }
    void TearDown() override {
        for (uint32_t& present : g_IfaceCfg.cardPresent)
            present = 0;
    }
    std::string Call(Handler handler, bool query, uint8_t type = kItemOmitted, int32_t value = 0) {
        return ch.Call(handler, query, type, value);
    }
    scpitest::FakeChannel ch{kChanLan};
};

// CANopen: the rates of codes 0-3 and Auto; a DeviceNet rate table ends at 500000.
TEST_F(FieldbusHandlers, BaudByCard) {
    Fit(storage::kCardLine17);
    EXPECT_EQ(Call(CmdSystCommIntBaud, false, kItemInt, 1000000), "|0");
    EXPECT_EQ(g_IfaceCfg.canopenBaud, 3u);
    EXPECT_EQ(g_CanopenSettingsChanged.load(), 1u);
    EXPECT_EQ(Call(CmdSystCommIntBaud, true), "1000000|0");
    EXPECT_EQ(Call(CmdSystCommIntBaud, false, kItemInt, 9600), "|51");
    EXPECT_EQ(Call(CmdSystCommIntBaud, false, kItemChoice, 0), "|0");
    EXPECT_EQ(Call(CmdSystCommIntBaud, true), "Auto|0");
    Fit(storage::kCardLine106);
    EXPECT_EQ(Call(CmdSystCommIntBaud, false, kItemInt, 1000000), "|51");
    EXPECT_EQ(Call(CmdSystCommIntBaud, false, kItemInt, 250000), "|0");
    EXPECT_EQ(Call(CmdSystCommIntBaud, true), "250000|0");
    EXPECT_EQ(Call(CmdSystCommIntBaud, false, kItemChoice, 0), "|0");
    EXPECT_EQ(g_IfaceCfg.devicenetBaud, 3u);
    EXPECT_EQ(Call(CmdSystCommIntBaud, true), "Auto|0");
}

// The node id 1..127 and the MAC id 0..63; a negative id is out of range, a changed one raises its card's
// settings-changed word.
TEST_F(FieldbusHandlers, AddressByCard) {
    Fit(storage::kCardLine17);
    EXPECT_EQ(Call(CmdSystCommIntAddr, false, kItemInt, 128), "|53");
    EXPECT_EQ(Call(CmdSystCommIntAddr, false, kItemInt, 0), "|53");
    EXPECT_EQ(Call(CmdSystCommIntAddr, false, kItemInt, -1), "|53");
    EXPECT_EQ(g_CanopenSettingsChanged.load(), 0u);
    EXPECT_EQ(Call(CmdSystCommIntAddr, false, kItemInt, 127), "|0");
    EXPECT_EQ(Call(CmdSystCommIntAddr, true), "+127|0");
    EXPECT_EQ(g_CanopenSettingsChanged.load(), 1u);
    Fit(storage::kCardLine106);
    EXPECT_EQ(Call(CmdSystCommIntAddr, false, kItemInt, 64), "|53");
    EXPECT_EQ(Call(CmdSystCommIntAddr, false, kItemInt, 63), "|0");
    EXPECT_EQ(Call(CmdSystCommIntAddr, true), "+63|0");
    EXPECT_EQ(g_DnetSettingsChanged.load(), 1u);
    EXPECT_EQ(g_CanopenSettingsChanged.load(), 0u);
}

}  // namespace
