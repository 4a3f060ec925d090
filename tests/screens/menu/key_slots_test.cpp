// The menu states' handlers taken into the key-handler table at start.
#include <gtest/gtest.h>

#include "tests/screens/menu/menu_keys_fixture.h"

namespace menutest {
namespace {

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
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(g_Seen, KeyEventPack(0, kEnter, kClassKeypad)) << "the dispatcher runs the registered handler";
    g_MenuState.store(0);
}

}  // namespace
}  // namespace menutest
