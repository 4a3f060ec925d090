#include "panel/key_thread.h"

#include <gtest/gtest.h>

#include "core/system/output_flags.h"
#include "core/system/sys_status.h"
#include "platform/panel_sim.h"
#include "src/dev/panel_link.h"
#include "src/dev/spi_device.h"

namespace {

class KeyThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::PanelSimReset();
        SpiPanelOpen();
        g_SysStatus.store(1u << kSysReady);
        g_OutputFlags.store(0);
        KeyThread_Init();
    }
    static void Passes(int n) {
        for (int i = 0; i < n; ++i)
            KeyThread_Pass();
    }
    // Takes the pending event, 0 when none.
    static uint32_t Take() {
        uint32_t ev = 0;
        KeyEventTake(&ev);
        return ev;
    }
    // Holds a key for `passes` passes, then releases it and runs one more pass.
    static void PressFor(uint8_t code, int passes) {
        plat::PanelSimHold(code);
        Passes(passes);
        plat::PanelSimRelease();
        Passes(1);
    }
};

TEST_F(KeyThreadTest, ShortPressIsPostedOnRelease) {
    plat::PanelSimHold('U');
    Passes(5);
    EXPECT_EQ(Take(), 0u);  // nothing while the key is down
    plat::PanelSimRelease();
    Passes(1);
    EXPECT_EQ(Take(), KeyEventPack(0, 'U', 1));
    Passes(5);
    EXPECT_EQ(Take(), 0u);  // keys do not repeat
}

TEST_F(KeyThreadTest, KeyHeldFor400PassesPostsNothing) {
    PressFor('K', 400);
    EXPECT_EQ(Take(), 0u);
    // The next press starts from a hold count of 0.
    EXPECT_EQ(core::g_KeyThreadState.hold, 0u);
    PressFor('K', 3);
    EXPECT_EQ(Take(), KeyEventPack(0, 'K', 5));
}

TEST_F(KeyThreadTest, KeyHeldPast400PassesPostsItsLongPressCodeOnce) {
    plat::PanelSimHold('K');
    Passes(401);
    // 'K' becomes 0xC1, which has no class of its own and keeps class 0.
    EXPECT_EQ(Take(), KeyEventPack(0, 0xC1, 0));
    Passes(300);
    EXPECT_EQ(Take(), 0u);
    plat::PanelSimRelease();
    Passes(2);
    EXPECT_EQ(Take(), 0u);  // nothing on release
}

TEST_F(KeyThreadTest, LongPressTranslationTable) {
    const struct {
        uint8_t key, longCode, cls;
    } cases[] = {
        {64, 0xF0, 5}, {73, 0xF9, 5}, {74, 0xFD, 5}, {75, 0xC1, 0}, {76, 0xFE, 5},
        {82, 0xFA, 5}, {89, 0xC2, 3}, {96, 0xC9, 3}, {'U', 'U', 1}, {'X', 'X', 5},
    };
    for (const auto& c : cases) {
        plat::PanelSimHold(c.key);
        Passes(401);
        EXPECT_EQ(Take(), KeyEventPack(0, c.longCode, c.cls)) << "key " << int(c.key);
        plat::PanelSimRelease();
        Passes(1);
    }
}

TEST_F(KeyThreadTest, KnobTurnIsPostedOnReleaseWithTheLastNonzeroWord) {
    plat::PanelSimKnob(3);
    Passes(3);
    EXPECT_EQ(Take(), KeyEventPack(3, plat::kKnobCode, 4));
    // A turn seen over several reads posts the delta of the last one.
    plat::PanelSimPushWord(plat::kKnobCode << 8 | 0x05, 1);
    plat::PanelSimPushWord(plat::kKnobCode << 8 | 0xFE, 1);
    Passes(2);
    EXPECT_EQ(Take(), 0u);
    Passes(1);
    EXPECT_EQ(Take(), KeyEventPack(-2, plat::kKnobCode, 4));
}

TEST_F(KeyThreadTest, DuringAScreenCopyOnlyOutputKeyWithOutputOnPasses) {
    SysStatusSet(kSysScreenCopyPending);
    PressFor('U', 3);
    EXPECT_EQ(Take(), 0u);
    PressFor('X', 3);
    EXPECT_EQ(Take(), 0u);  // output off: 'X' is refused too
    OutputFlagSet(kOutFlagOutputOn);
    PressFor('X', 3);
    EXPECT_EQ(Take(), KeyEventPack(0, 'X', 5));
    PressFor('U', 3);
    EXPECT_EQ(Take(), 0u);
}

TEST_F(KeyThreadTest, KeysAreRefusedUntilReadyOrWhileBlocked) {
    const SysStatusBit refusing[] = {kSysKeysBlocked, kSysSetCommandsBarred};
    for (SysStatusBit bit : refusing) {
        SysStatusSet(bit);
        PressFor('U', 3);
        EXPECT_EQ(Take(), 0u);
        SysStatusClear(bit);
    }
    SysStatusClear(kSysReady);
    PressFor('U', 3);
    EXPECT_EQ(Take(), 0u);
}

TEST_F(KeyThreadTest, KeyPressedWhileTheMailboxIsFullIsLost) {
    PressFor('A', 2);
    PressFor('B', 2);
    EXPECT_EQ(Take(), KeyEventPack(0, 'A', 1));
    EXPECT_EQ(Take(), 0u);
}

TEST(KeyCodeSetClass, ClassesByCode) {
    const struct {
        uint8_t code, cls;
    } cases[] = {
        {64, 1}, {74, 1},  {84, 1},  {85, 1},  {79, 2},  {82, 2},  {232, 2},  {237, 2}, {89, 3},
        {96, 3}, {194, 3}, {201, 3}, {86, 4},  {87, 4},  {213, 4}, {75, 5},   {78, 5},  {83, 5},
        {88, 5}, {126, 5}, {240, 5}, {250, 5}, {253, 5}, {254, 5}, {0xC1, 0}, {251, 0}, {83 + 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyEventClass(KeyCode_SetClass(KeyEventPack(0, c.code, 0))), c.cls)
            << "code " << int(c.code);
    }
    // 212 is the knob, 213; an unknown code keeps the class it had.
    EXPECT_EQ(KeyCode_SetClass(KeyEventPack(-1, 212, 0)), KeyEventPack(-1, 213, 4));
    EXPECT_EQ(KeyCode_SetClass(KeyEventPack(0, 0xC1, 7)), KeyEventPack(0, 0xC1, 7));
}

TEST(ScannerKeys, UsageCodesBecomeKeyEvents) {
    EXPECT_EQ(core::ScanCodeKeyEvent(98), KeyEventPack(0, 64, 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(89), KeyEventPack(0, 65, 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(97), KeyEventPack(0, 73, 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(40), KeyEventPack(0, 'U', 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(42), KeyEventPack(0, 'X', 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(87), KeyEventPack(1, 213, 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(86), KeyEventPack(-1, 213, 0));
    EXPECT_EQ(core::ScanCodeKeyEvent(4), 0u);  // a letter: dropped
}

}  // namespace
