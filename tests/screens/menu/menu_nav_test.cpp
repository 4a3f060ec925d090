// The MENU lists' keys through the key table: the knob from row to row, the rows skipped on the top list,
// enter and the cursor keys, the MENU key one level up, and the service lists' only way in.
#include "screens/menu/nav/menu_nav.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <tuple>

#include "core/system/config/lan_cfg.h"
#include "screens/menu/nav/menu_nav_table.h"
#include "tests/screens/menu/menu_keys_fixture.h"

namespace menutest {
namespace {

class MenuNav : public MenuKeys {};

void SetDhcp(uint8_t on) {
    const std::lock_guard<std::mutex> hold(g_LanCfgLock);
    g_LanCfg.DHCP = on;
}

TEST_F(MenuNav, TheKnobMovesOneRowPerEventAndEndRowsStick) {
    struct Case {
        uint32_t from;
        int8_t delta;
        uint32_t to;
        const char* what;
    };
    for (const Case& c : {Case{96, -5, 98, "one row per event"}, Case{98, 5, 96, "back up"},
                          Case{96, 1, 96, "first MISC row"}, Case{136, -1, 136, "last MISC row"},
                          Case{284, -3, 284, "last top row"}, Case{94, 2, 94, "first top row"},
                          Case{163, -1, 163, "last LAN row"}, Case{292, 1, 292, "first barcode row"},
                          Case{314, -1, 314, "last barcode row, not the model list after it"},
                          Case{168, -1, 168, "only row"}}) {
        At(c.from);
        Knob(c.delta);
        EXPECT_EQ(State(), c.to) << c.what;
    }
}

TEST_F(MenuNav, MissingInterfacesAndParallelOperationAreSkippedBothWays) {
    using V = std::vector<uint32_t>;
    At(165);
    EXPECT_EQ(Walk({-1, 1}), (V{170, 165}));
    g_Rs232Present.store(0);
    g_GpibPresent.store(0);
    EXPECT_EQ(Walk({-1, 1}), (V{192, 165})) << "neither RS232 nor a card: Output Impedance";
    g_ParallelActive.store(1);
    EXPECT_EQ(Walk({-1, 1}), (V{207, 165})) << "parallel operation: Parallel";
    g_Rs232Present.store(1);
    EXPECT_EQ(Walk({-1, -1}), (V{170, 207})) << "no card, parallel: from RS232C over both";
}

TEST_F(MenuNav, EnterAndRightOpenTheRowLeftGoesToItsOwner) {
    At(95);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 96u);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(State(), 97u) << "the row's editor";
    At(98);
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(State(), 95u);
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(State(), 1u) << "the top list's owner is the home view";
    EXPECT_EQ(After(94, kKeyEnter, kClassKeypad), 94u) << "System Information opens nothing";
    EXPECT_EQ(After(161, kKeyEnter, kClassKeypad), 161u) << "Socket Port keeps no child";
    EXPECT_EQ(After(223, kKeyEnter, kClassKeypad), 224u);
}

TEST_F(MenuNav, AddressRowsOpenOnlyWithoutDhcpOnTheFirstOctetsUnitsDigit) {
    for (uint32_t row : {141u, 146u, 151u, 156u}) {
        SetDhcp(1);
        EXPECT_EQ(After(row, kKeyEnter, kClassKeypad), row) << "DHCP on";
        SetDhcp(0);
        g_EditBuf.choiceCursor = 0;
        EXPECT_EQ(After(row, kKeyEnter, kClassKeypad), row + 1);
        EXPECT_EQ(g_EditBuf.choiceCursor, 9u);
    }
}

TEST_F(MenuNav, OwnersWithoutARowIgnoreTheRowKeys) {
    for (uint32_t s : {182u, 187u, 166u}) {
        g_MenuState.store(s);
        const std::tuple<uint8_t, uint8_t, int8_t> keys[] = {{kKeyEnter, kClassKeypad, 0},
                                                             {kKeyRight, kClassCursor, 0},
                                                             {kKeyLeft, kClassCursor, 0},
                                                             {kKeyKnob, kClassCursor, -1},
                                                             {kKeyKnob, kClassCursor, 1}};
        for (const auto& [code, cls, delta] : keys) {
            Press(code, cls, delta);
            EXPECT_EQ(State(), s) << int{code};
        }
    }
}

TEST_F(MenuNav, MenuLeadsOneLevelUp) {
    struct Case {
        uint32_t from, to;
    };
    g_LastHomeView.store(2);
    for (Case c : {Case{143, 138}, Case{138, 2}, Case{97, 95}, Case{95, 2}, Case{182, 2}, Case{183, 182},
                   Case{191, 187}, Case{166, 165}, Case{222, 221}, Case{230, 223}, Case{314, 223},
                   Case{290, 284}, Case{216, 214}, Case{206, 192}, Case{176, 170}, Case{181, 179}}) {
        g_MenuState.store(c.from);
        uint32_t ev = KeyEventPack(0, kKeyMenu, kClassFunction);
        KeyProcess_MenuFunctionKeys(&ev);
        EXPECT_EQ(State(), c.to) << "MENU from " << c.from;
    }
    EXPECT_EQ(After(97, kKeyMenu, kClassFunction), 95u) << "through the key table, from an editor";
    EXPECT_EQ(After(210, kKeyMenu, kClassFunction), 207u) << "a stand-alone master leaves the parallel list";

    ASSERT_EQ(paramPutValue(kParamParallelEnable, 1, 0), 0);
    g_MenuState.store(210);
    Press(kKeyMenu, kClassFunction);
    EXPECT_EQ(State(), 210u) << "enabled, the link down: MENU does nothing";
    g_ParallelLink.status.store(1u << 16);
    Press(kKeyMenu, kClassFunction);
    EXPECT_EQ(State(), 207u) << "the link up";
    g_ParallelLink.status.store(0);
    ASSERT_EQ(paramPutValue(kParamParallelEnable, 0, 0), 0);
}

// Outside the service lists, the Special Function row's enter is the only way into them.
TEST_F(MenuNav, TheServiceListsAreEnteredOnlyThroughSpecialFunction) {
    const auto service = [](uint32_t s) { return (s >= 224 && s <= 283) || (s >= 292 && s <= 315); };
    struct Key {
        uint8_t code, cls;
        int8_t delta;
    };
    const Key keys[] = {{kKeyEnter, kClassKeypad, 0},  {kKeyExit, kClassKeypad, 0},
                        {kKeyRight, kClassCursor, 0},  {kKeyLeft, kClassCursor, 0},
                        {kKeyKnob, kClassCursor, -1},  {kKeyKnob, kClassCursor, 1},
                        {kKeyMenu, kClassFunction, 0}, {0x60, kClassSoft, 0}};
    SetDhcp(0);
    std::set<uint32_t> entered;
    for (uint32_t i = 0; i < kMenuNavRows; ++i) {
        const uint32_t row = g_MenuNavTable[i].State;
        if (service(row)) continue;
        for (const Key& k : keys) {
            g_MenuState.store(row);
            Press(k.code, k.cls, k.delta);
            if (!service(State())) continue;
            EXPECT_TRUE(row == 223 && State() == 224) << row << " -> " << State();
            entered.insert(row);
        }
    }
    EXPECT_EQ(entered, std::set<uint32_t>{223});
}

// The menu states' handlers taken into the key-handler table at start.
uint32_t g_Seen = 0;
void First(uint32_t* ev) {
    g_Seen = *ev;
}
void Second(uint32_t*) {}

TEST(KeySlots, ASlotIsSetOnceAndBadListsSetNothing) {
    const MenuKeySlot first[] = {{291, First}};
    const MenuKeySlot other[] = {{290, First}, {291, Second}};
    const MenuKeySlot outside[] = {{290, First}, {545, First}};
    const MenuKeySlot below[] = {{93, First}};
    const MenuKeySlot none[] = {{290, nullptr}};
    const KeyHandler interim = KeyTable_Handler(290);
    ASSERT_EQ(KeyTable_RegisterMenu(first, 1), 0);
    EXPECT_EQ(KeyTable_RegisterMenu(first, 1), 0) << "the same handler again";
    EXPECT_EQ(KeyTable_RegisterMenu(other, 2), -1);
    EXPECT_EQ(KeyTable_RegisterMenu(outside, 2), -1);
    EXPECT_EQ(KeyTable_RegisterMenu(below, 1), -1);
    EXPECT_EQ(KeyTable_RegisterMenu(none, 1), -1);
    EXPECT_EQ(KeyTable_Handler(290), interim) << "a refused list sets none of its slots";
    EXPECT_EQ(KeyTable_Handler(291), First);

    g_MenuState.store(291);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_Seen, KeyEventPack(0, kKeyEnter, kClassKeypad))
        << "the dispatcher runs the registered handler";
    g_MenuState.store(0);
}

}  // namespace
}  // namespace menutest
