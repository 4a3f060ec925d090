// The item editors through the key table: the LAN addresses and numbers, USB, RS232, GPIB and the CAN
// fieldbus settings, the output impedance, parallel, LCD, barcode, default-setting and save/recall editors,
// read back from the settings, the change words and the command log.
#include <cmath>
#include <cstring>
#include <mutex>
#include <tuple>

#include "core/control/sync/output_sync.h"
#include "core/control/sys_event.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/fieldbus_flags.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/sys_status.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/editors/item_editor_slots.h"
#include "screens/menu/editors/lan_octet.h"
#include "sysadmin/net/net_monitor.h"
#include "sysadmin/net/net_state.h"
#include "tests/screens/menu/menu_keys_fixture.h"
#include "tests/support/controller_process.h"

namespace {
using namespace menutest;

// The MENU tests' start with the editors of the interface, output, LCD, barcode, default and save/recall
// lists registered too.
class ItemEdit : public MenuKeys {
  protected:
    void SetUp() override {
        MenuKeys::SetUp();
        ASSERT_EQ(MenuItemEditors_Register(), 0);
    }
};

double Shown(uint32_t id) {
    const ParamRec rec = test::ReadRecord(id, 0);
    return rec.value * static_cast<double>(rec.scale);
}

TEST_F(ItemEdit, TypedInductanceIsStoredInTheRecordsUnits) {
    TypeIn(196, "12.5");
    EXPECT_EQ(State(), 195u);
    EXPECT_NEAR(Shown(196), 12.5, 1e-6);
    // A number whose steps leave 32 bits is dropped like one outside the limits.
    const double before = Shown(202);
    TypeIn(202, "999999999");
    EXPECT_EQ(State(), 201u);
    EXPECT_EQ(Shown(202), before);
}

TEST_F(ItemEdit, NewPositionEndsParallelOperationAtOnce) {
    g_ParallelActive.store(1);
    g_SlewRecheckReq.store(0);
    menuEnterStateValue(209, 1);
    Knob(-1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(paramGetValue(209, 0), 0);
    EXPECT_EQ(g_ParallelActive.load(), 0u);
    EXPECT_EQ(g_SlewRecheckReq.load(), 1u);
    EXPECT_EQ(State(), 208u);
}

TEST_F(ItemEdit, ParallelNumberIgnoresTheCursorKeys) {
    MenuRows_EnterState(211);
    g_EditParam.digits = 2;
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(g_EditParam.cursor, 0u);
}

TEST_F(ItemEdit, LcdKnobShowsAtOnceAndExitKeepsIt) {
    IfaceLcdByteSet(0, 50);
    MenuRows_EnterState(216);
    Knob(1);
    EXPECT_EQ(IfaceLcdByte(0), 51);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 215u);
    EXPECT_EQ(IfaceLcdByte(0), 51);
    const uint8_t brightness = IfaceLcdByte(1);
    TypeIn(218, "101");
    EXPECT_EQ(IfaceLcdByte(1), brightness) << "outside 1..100";
    EXPECT_EQ(State(), 217u);
    TypeIn(220, "7");
    EXPECT_EQ(IfaceLcdByte(2), 7);
}

TEST_F(ItemEdit, TypeKeepsMemoryAndActionValidForIt) {
    // {knob to the type, the memory before, the memory after}: ARB, SEQUENCE; only PRESET has the internal
    // memory, the action goes back to it.
    for (const auto& [type, memory, kept] : {std::tuple{3u, 0u, 1u}, {1u, 200u, 0u}}) {
        SaveRecallType.store(0);
        SaveRecallMemory.store(memory);
        SaveRecallAction.store(4);
        MenuRows_EnterState(286);
        Knob(static_cast<int8_t>(type));
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(State(), 285u);
        EXPECT_EQ(SaveRecallType.load(), type);
        EXPECT_EQ(SaveRecallMemory.load(), kept) << type;
        EXPECT_EQ(SaveRecallAction.load(), 0u) << type;
    }
}

TEST_F(ItemEdit, ActionAndMemoryKeepToTheLimitsOfTheType) {
    SaveRecallType.store(1);
    SaveRecallAction.store(0);
    MenuRows_EnterState(288);
    Knob(4);
    EXPECT_EQ(Work(), 2);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SaveRecallAction.load(), 2u);
    EXPECT_EQ(State(), 287u);
    SaveRecallType.store(3);
    SaveRecallMemory.store(1);
    MenuRows_EnterState(290);
    Knob(-1);
    Knob(100);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SaveRecallMemory.load(), 101u);
    EXPECT_EQ(State(), 289u);
}

TEST_F(ItemEdit, DefaultSettingStartsOnceUntilTheBusyBitClears) {
    SysStatusClear(kSysKeysBlocked);
    core::SysEventReset();
    menuEnterStateValue(222, 0);
    Press(kKeyRight, kClassCursor);
    Press(kKeySoft1, kClassSoft);
    EXPECT_EQ(State(), 222u);
    Press(kKeyEnter, kClassKeypad);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Resetting..."});
    EXPECT_EQ(SysEvent_Pop(), static_cast<uint32_t>(kSysEventFactoryDefault));
    EXPECT_EQ(SysEvent_Pop(), 0u) << "one factory default";
    EXPECT_TRUE(SysStatusTest(kSysKeysBlocked));
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 221u);
    SysStatusClear(kSysKeysBlocked);
}

TEST_F(ItemEdit, BarcodeSlotsOnlyGoBackToTheirRow) {
    menuEnterStateValue(295, 0);
    Knob(1);
    EXPECT_EQ(State(), 295u);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 294u);
    menuEnterStateValue(315, 0);
    Type("5");
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 315u) << "the exit key first drops the typing";
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 314u);
}

class IfaceEdit : public ItemEdit {
  protected:
    void SetUp() override {
        ItemEdit::SetUp();
        SysStatusSet(kSysMenuThreadRunning);
        const std::lock_guard<std::mutex> hold(g_LanCfgLock);
        g_LanCfg.LAN_EN = 1;
        g_LanCfg.DHCP = 1;
        const uint8_t ip[4] = {192, 16, 28, 120}, mask[4] = {255, 255, 255, 0};
        std::memcpy(g_LanCfg.IP, ip, 4);
        std::memcpy(g_LanCfg.MASK, mask, 4);
        g_LanCfg.PORT = 5025;
        g_OctetEdit = OctetEdit{};
    }
    std::string Log() const { return store_.root.Read("/var/log/commands.log"); }
    // The first octet editor from the address row's enter key (DHCP off): the cursor on its units digit.
    static void OpenIp() {
        g_LanCfg.DHCP = 0;
        MenuRows_EnterState(141);
        Press(kKeyEnter, kClassKeypad);
        ASSERT_EQ(State(), 142u);
        ASSERT_EQ(g_EditBuf.choiceCursor, 9u);
    }
    static uint8_t Ip(int k) { return LanCfgRead().IP[k]; }
};

TEST_F(IfaceEdit, DhcpTakesAChangedChoiceAndAsksForTheApply) {
    MenuRows_EnterState(140);
    g_NetSeq.reapplyReq.store(0);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 139u);
    EXPECT_EQ(g_NetSeq.reapplyReq.load(), 0u) << "unchanged: nothing to apply";
    MenuRows_EnterState(140);
    Knob(-1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 139u);
    EXPECT_EQ(LanCfgRead().DHCP, 0);
    EXPECT_EQ(g_NetSeq.reapplyReq.load(), 1u);
}

TEST_F(IfaceEdit, TypedOctetAbove255ShowsAndStores255ThenTheNextOctetOpens) {
    OpenIp();
    Type("300");
    EXPECT_EQ(std::string(g_EditBuf.entryText, g_EditBuf.entryLength), "255");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 143u);
    EXPECT_EQ(g_EditBuf.choiceCursor, 6u);
    EXPECT_EQ(Ip(0), 255);
    EXPECT_EQ(Work(), 16) << "the second octet's own value";
    EXPECT_EQ(testsupport::CountOf(Log(), "ifconfig eth0 255.16.28.120 netmask 255.255.255.0"), 1u);
    EXPECT_EQ(g_OctetEdit.changed, 0u);
}

TEST_F(IfaceEdit, KnobStepsReachTheInterfaceOnlyWhenTheOctetIsLeft) {
    // {leaving key, its class}: exit, the MENU key, a soft key
    const std::pair<uint8_t, uint8_t> leaves[] = {
        {'T', kClassKeypad}, {'L', kClassFunction}, {'Z', kClassSoft}};
    int32_t expected = 16;
    for (const auto& [code, cls] : leaves) {
        MenuRows_EnterState(143);
        g_EditBuf.choiceCursor = 6;
        const std::string before = Log();
        Knob(1);
        Knob(1);
        expected += 2;
        EXPECT_EQ(Ip(1), expected) << "written into the setting at once";
        EXPECT_EQ(Log(), before) << "no ifconfig while turning";
        Press(code, cls);
        const std::string line = "ifconfig eth0 192." + std::to_string(expected) + ".28.120 netmask";
        EXPECT_EQ(testsupport::CountOf(Log(), line), 1u) << "leaving by " << code;
    }
}

TEST_F(IfaceEdit, KnobStepsTheCursorDigitAndStopsAtTheOctetEnds) {
    MenuRows_EnterState(145);
    // {cursor (1: the tens of octet 4), knob, the octet after}
    for (const auto& [cursor, delta, octet] : {std::tuple{1u, 5, 170}, {1u, 127, 255}, {2u, -9, 0}}) {
        g_EditBuf.choiceCursor = cursor;
        Knob(static_cast<int8_t>(delta));
        EXPECT_EQ(Ip(3), octet) << cursor << " " << delta;
    }
}

TEST_F(IfaceEdit, PointKeyTakesTheNumberLikeEnterButAloneDoesNothing) {
    OpenIp();
    Type(".");
    EXPECT_EQ(State(), 142u) << "\"0.\" alone";
    EXPECT_EQ(Ip(0), 192);
    Press(kKeyExit, kClassKeypad);  // drops the entry, the editor stays
    EXPECT_EQ(State(), 142u);
    Type("10.");
    EXPECT_EQ(State(), 143u);
    EXPECT_EQ(Ip(0), 10);
    Press(kKeyEnter, kClassKeypad);  // nothing typed: the octet keeps its value and the next opens
    EXPECT_EQ(State(), 144u);
    EXPECT_EQ(Ip(1), 16);
}

TEST_F(IfaceEdit, CursorKeysWrapOverTheTwelveDigitsAndOpenTheOctetThatHoldsThem) {
    OpenIp();
    // {left presses, cursor, state, the octet's value}; the third is left of the top digit: the units of
    // octet 4.
    for (const auto& [presses, cursor, state, work] :
         {std::tuple{2, 11u, 142u, 192}, {1, 0u, 145u, 120}, {3, 3u, 144u, 28}}) {
        for (int k = 0; k < presses; ++k)
            Press(kKeyLeft, kClassCursor);
        EXPECT_EQ(g_EditBuf.choiceCursor, cursor);
        EXPECT_EQ(State(), state);
        EXPECT_EQ(Work(), work);
    }
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(State(), 145u);
}

TEST_F(IfaceEdit, SocketPortRefusesATypedNumberBelowOneAndCapsAtFourDigits) {
    for (const auto& [typed, port] : {std::pair{"0", 5025u}, {"123456", 9999u}}) {
        menuEnterStateValue(162, 5025);
        Type(typed);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(State(), 161u) << typed;
        EXPECT_EQ(LanCfgRead().PORT, port) << typed;
    }
    // The knob runs the other way round and keeps to 1..9999; the right key goes from digit 0 to the top.
    menuEnterStateValue(162, 2);
    Knob(1);
    Knob(1);
    EXPECT_EQ(Work(), 1) << "from 2 to 1, where it stops";
    Press(kKeyRight, kClassCursor);
    Knob(-1);
    EXPECT_EQ(Work(), 1001);
}

TEST_F(IfaceEdit, WebPasswordStaysOpenAfterEnter) {
    g_LanCfg.PW = 1234;
    menuEnterStateValue(164, 1234);
    Type("0");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(LanCfgRead().PW, 1234u) << "refused";
    Type("4321");
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 164u);
    EXPECT_EQ(LanCfgRead().PW, 4321u);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 163u);
}

TEST_F(IfaceEdit, GpibGoesBackToTheRowOfTheCardFitted) {
    MenuRows_EnterState(181);
    Knob(3);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 180u);
    std::atomic_ref<uint32_t>(g_IfaceCfg.cardPresent[storage::kCardLine17]).store(1);
    menuEnterStateValue(181, 0);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 183u);
    g_IfaceCfg.cardPresent[storage::kCardLine17] = 0;
}

// A typed id is taken from 0 up to the bus's highest (CANopen 127, DeviceNet 63); CANopen's knob stops at 1.
TEST_F(IfaceEdit, FieldbusIdsTakeATypedZeroAndRefuseOnePastTheTop) {
    FieldbusChangeFlags& f = g_FieldbusChangeFlags;
    struct Case {
        uint32_t state, row;
        uint32_t storage::IfaceCfg::*id;
        std::atomic<uint32_t> FieldbusChangeFlags::*changed;
        const char* typed;
        uint32_t stored;
    };
    const Case cases[] = {
        {186, 185, &storage::IfaceCfg::canopenNodeId, &FieldbusChangeFlags::canopenChanged, "0", 0},
        {186, 185, &storage::IfaceCfg::canopenNodeId, &FieldbusChangeFlags::canopenChanged, "128", 0},
        {191, 190, &storage::IfaceCfg::devicenetMacId, &FieldbusChangeFlags::devicenetChanged, "64", 63},
        {191, 190, &storage::IfaceCfg::devicenetMacId, &FieldbusChangeFlags::devicenetChanged, "7", 7},
    };
    g_IfaceCfg.canopenNodeId = 5;
    g_IfaceCfg.devicenetMacId = 63;
    MenuRows_EnterState(186);
    Knob(-9);
    EXPECT_EQ(Work(), 1);
    for (const Case& c : cases) {
        const uint32_t before = g_IfaceCfg.*c.id;
        MenuRows_EnterState(c.state);
        Type(c.typed);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(State(), c.row) << c.typed;
        EXPECT_EQ(g_IfaceCfg.*c.id, c.stored) << c.typed;
        EXPECT_EQ((f.*c.changed).exchange(0), c.stored != before ? 1u : 0u) << c.typed;
    }
}

TEST_F(IfaceEdit, CanBaudEndsARunningScanAndWaitsForAPendingRestart) {
    FieldbusChangeFlags& f = g_FieldbusChangeFlags;
    g_IfaceCfg.cardPresent[storage::kCardLine17] = 1;  // the rows go back to the card fitted
    g_IfaceCfg.canopenBaud = 0;
    f.canScanRun.store(1);
    f.canRestart.store(1);
    MenuRows_EnterState(184);
    Knob(4);  // Auto
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 183u);
    EXPECT_EQ(f.canScanRun.load(), 0u);
    EXPECT_EQ(g_IfaceCfg.canopenBaud, 4u);
    EXPECT_EQ(f.canRestart.load(), 1u);
    EXPECT_EQ(f.canopenChanged.exchange(0), 1u);
    // A restart still pending: the new rate waits for another try.
    MenuRows_EnterState(184);
    Knob(-2);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_IfaceCfg.canopenBaud, 4u);
    EXPECT_EQ(f.canopenChanged.load(), 0u);
    // DeviceNet asks for the restart only.
    g_IfaceCfg.cardPresent[storage::kCardLine17] = 0;
    g_IfaceCfg.cardPresent[storage::kCardLine106] = 1;
    f.canRestart.store(0);
    MenuRows_EnterState(189);
    Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 188u);
    EXPECT_EQ(g_IfaceCfg.devicenetBaud, 1u);
    EXPECT_EQ(f.canRestart.exchange(0), 1u);
    EXPECT_EQ(f.devicenetChanged.load(), 0u);
    g_IfaceCfg.cardPresent[storage::kCardLine106] = 0;
}

TEST_F(IfaceEdit, UsbModeUnchangedDoesNothingChangedLocksAndRestarts) {
    IfaceUsbByteSet(2, 0);
    MenuRows_EnterState(169);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 168u);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u);
    EXPECT_FALSE(SysStatusTest(kSysRebootRequest));
    EXPECT_TRUE(Texts().empty());

    MenuRows_EnterState(169);
    Knob(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 168u);
    EXPECT_EQ(IfaceUsbByte(2) & 0x10, 0x10);
    EXPECT_NE(g_ParamFlags.load() & core::kFlagKeysLocked, 0u);
    EXPECT_TRUE(SysStatusTest(kSysRebootRequest));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Switch to USB-CDC Mode\nSystem will reboot..."});
    g_ParamFlags.fetch_and(~core::kFlagKeysLocked);
    core::SysStatusReset();
}

}  // namespace
