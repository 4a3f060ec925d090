// The output impedance, parallel, LCD, barcode, default-setting and save/recall editors.
#include <cmath>
#include <tuple>

#include "core/control/sync/output_sync.h"
#include "core/control/sys_event.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/sys_status.h"
#include "panel/menu/menu_page_words.h"
#include "tests/screens/menu/menu_edit_fixture.h"

namespace {
using namespace menutest;

class ItemEdit : public MenuEditTest {};

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
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(paramGetValue(209, 0), 0);
    EXPECT_EQ(g_ParallelActive.load(), 0u);
    EXPECT_EQ(g_SlewRecheckReq.load(), 1u);
    EXPECT_EQ(State(), 208u);
}

TEST_F(ItemEdit, ParallelNumberIgnoresTheCursorKeys) {
    MenuRows_EnterState(211);
    g_EditParam.digits = 2;
    Press('V', kClassCursor);
    EXPECT_EQ(g_EditParam.cursor, 0u);
}

TEST_F(ItemEdit, LcdKnobShowsAtOnceAndExitKeepsIt) {
    IfaceLcdByteSet(0, 50);
    MenuRows_EnterState(216);
    Knob(1);
    EXPECT_EQ(IfaceLcdByte(0), 51);
    Press(kExit, kClassKeypad);
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
        Press(kEnter, kClassKeypad);
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
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(SaveRecallAction.load(), 2u);
    EXPECT_EQ(State(), 287u);
    SaveRecallType.store(3);
    SaveRecallMemory.store(1);
    MenuRows_EnterState(290);
    Knob(-1);
    Knob(100);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(SaveRecallMemory.load(), 101u);
    EXPECT_EQ(State(), 289u);
}

TEST_F(ItemEdit, DefaultSettingStartsOnceUntilTheBusyBitClears) {
    SysStatusClear(kSysKeysBlocked);
    core::SysEventReset();
    menuEnterStateValue(222, 0);
    Press('W', kClassCursor);
    Press('Y', kClassSoft);
    EXPECT_EQ(State(), 222u);
    Press(kEnter, kClassKeypad);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(Posted(), std::vector<std::string>{"Resetting..."});
    EXPECT_EQ(SysEvent_Pop(), static_cast<uint32_t>(kSysEventFactoryDefault));
    EXPECT_EQ(SysEvent_Pop(), 0u) << "one factory default";
    EXPECT_TRUE(SysStatusTest(kSysKeysBlocked));
    Press(kExit, kClassKeypad);
    EXPECT_EQ(State(), 221u);
    SysStatusClear(kSysKeysBlocked);
}

TEST_F(ItemEdit, BarcodeSlotsOnlyGoBackToTheirRow) {
    menuEnterStateValue(295, 0);
    Knob(1);
    EXPECT_EQ(State(), 295u);
    Press(kEnter, kClassKeypad);
    EXPECT_EQ(State(), 294u);
    menuEnterStateValue(315, 0);
    Type("5");
    Press(kExit, kClassKeypad);
    EXPECT_EQ(State(), 315u) << "the exit key first drops the typing";
    Press(kExit, kClassKeypad);
    EXPECT_EQ(State(), 314u);
}

}  // namespace
