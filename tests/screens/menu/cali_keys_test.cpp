// The calibration states' keys on the simulated stage: the words written to the calibration mode (2353),
// command (2354) and value (2443) registers, the states entered, the key lock and the messages.
#include "screens/menu/cal/cali_keys.h"

#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/params/access/key_entry.h"
#include "core/system/state/edit_state.h"
#include "panel/menu_entries.h"
#include "platform/host/clock.h"
#include "screens/menu/cal/cali_pages.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/menu/menu_keys_fixture.h"

namespace {

constexpr uint16_t kModeReg = 2353, kCmdReg = 2354, kValueReg = 2443;
using namespace menutest;
constexpr uint32_t kDoneFirstOk = 1u | 1u << 3;

int g_home = 0;

// The value register carries the point's units in thousandths.
std::vector<long> Values() {
    std::vector<long> out;
    for (const auto& w : test::WritesTo(kValueReg))
        out.push_back(std::lround(w.value * 1000.0));
    return out;
}
bool KeysLocked() {
    return (g_ParamFlags.load() & core::kFlagKeysLocked) != 0;
}

class CaliKeys : public test::CtrlTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(CaliKeys_Register(), 0);
        ScreenRequestRunners hooks{};
        hooks.advanceScreen = [] { ++g_home; };
        hooks.calibrationPage = CaliPage_Enter;
        ScreenRequest_SetRunners(hooks);
        ScreenRequest_SetTaker();  // keys run on the menu/control thread
        plat::SetTimeScale(1000);
        CaliMode_Step();  // the mode object starts and idles
        CaliMode_Step();
        g_home = 0;
        menuGoCalibration();
        MsgQueue_Clear();
        test::ClearTrace();
    }
    void TearDown() override {
        plat::SetTimeScale(1);
        ScreenRequest_SetRunners({});
        g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
        g_MenuState.store(0);
        menuResetEdit();
    }
    // A voltage point record of 12 units at 0.001, limits 11.000 to 13.000.
    static void TwelveVoltPoint() {
        std::lock_guard<std::mutex> lock(core::g_ParamLock);
        ParamRec& r = g_ParamStore.caliVolt[0];
        r.value = 12000;
        r.max = 13000;
        r.min = 11000;
        r.scale = 0.001f;
        r.decimals = 3;
        r.digits = 5;
    }
};

// The knob walks the nine items (a positive delta moves up) and stops at both ends; enter or the right
// key starts the selected item with its phase and kind bits and the start command.
TEST_F(CaliKeys, TheKnobSelectsTheItemThatEnterStarts) {
    for (const auto& [delta, item] : {std::pair{1, 0}, {-20, 8}, {-1, 8}, {5, 3}}) {
        Knob(static_cast<int8_t>(delta));
        EXPECT_EQ(Work(), item) << delta;
    }
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(test::RawsTo(kModeReg), std::vector<uint32_t>{33});
    EXPECT_EQ(test::RawsTo(kCmdReg), std::vector<uint32_t>{8});
    EXPECT_EQ(State(), 323u);
    EXPECT_TRUE(KeysLocked());

    // Leaving the points gives the list back with the item that was started.
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    test::ClearTrace();
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 316u);
    EXPECT_EQ(Work(), 3);
    EXPECT_EQ(test::RawsTo(kCmdReg), std::vector<uint32_t>{32});

    Knob(3);
    test::ClearTrace();
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(test::RawsTo(kModeReg), std::vector<uint32_t>{17});
    EXPECT_EQ(State(), 317u);
    EXPECT_EQ(g_CalState.phase.load(), 0u);
}

// The one-shots write all three phase bits and their own, start, and run to their end before the key
// returns: the list stays current.
TEST_F(CaliKeys, OneShotsRunToTheirEnd) {
    test::Stage().ScriptCaliStatus({kDoneFirstOk});
    Knob(-6);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(test::RawsTo(kModeReg), std::vector<uint32_t>{71});
    EXPECT_EQ(test::RawsTo(kCmdReg), std::vector<uint32_t>{8});
    EXPECT_EQ(State(), 316u);
    EXPECT_FALSE(SysStatusTest(kSysCaliProcessing));
}

// A typed value is rounded to the nearest unit of the point and sent when within the limits; one unit
// above the upper limit sends nothing and leaves the keys free.
TEST_F(CaliKeys, TypedValuesAreRoundedThenHeldToTheLimits) {
    TwelveVoltPoint();
    Press(kKeyEnter, kClassKeypad);
    ASSERT_EQ(State(), 317u);
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    const struct {
        const char* typed;
        std::vector<long> sent;
    } cases[] = {
        {"12.5", {12500}}, {"12", {12000}}, {"13.001", {}}, {"10.999", {}}, {"13", {13000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        menuResetEdit();
        test::ClearTrace();
        Type(c.typed);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(Values(), c.sent);
        EXPECT_EQ(KeysLocked(), !c.sent.empty());
        if (c.sent.empty()) {
            EXPECT_EQ(g_EditBuf.entryState, 0u) << "a refused entry is cleared";
        }
        EXPECT_EQ(State(), 317u);
        g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    }
    // Without typing, the working value the knob set goes.
    menuResetEdit();
    test::ClearTrace();
    Knob(1);  // digit 0: one unit
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Values(), std::vector<long>{12001});
}

// Exit with digits typed only drops them; the second exit aborts the points. The soft EXIT aborts at once;
// the list it returns to gives the keys back that the point's start locked.
TEST_F(CaliKeys, ExitDropsTypedDigitsFirst) {
    Press(kKeyEnter, kClassKeypad);
    ASSERT_EQ(State(), 317u);
    Type("25");
    test::ClearTrace();
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 317u);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    EXPECT_TRUE(test::RawsTo(kCmdReg).empty());
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 316u);
    EXPECT_EQ(test::RawsTo(kCmdReg), std::vector<uint32_t>{32});
    EXPECT_FALSE(KeysLocked());

    CaliMode_Step();
    Press(kKeyEnter, kClassKeypad);
    ASSERT_EQ(State(), 317u);
    test::ClearTrace();
    Press(kKeySoft4, kClassSoft);
    EXPECT_EQ(State(), 316u);
    EXPECT_EQ(test::RawsTo(kCmdReg), std::vector<uint32_t>{32});
    EXPECT_FALSE(KeysLocked());
}

// DEFAULT asks first: exit goes back to the list, enter restores the defaults and leaves for home.
TEST_F(CaliKeys, DefaultIsConfirmedInItsOwnState) {
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(State(), 329u);
    EXPECT_TRUE(test::RawsTo(kCmdReg).empty());
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), 316u);
    test::Stage().ScriptCaliStatus({kDoneFirstOk});
    Press(kKeySoft3, kClassSoft);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(test::RawsTo(kCmdReg), std::vector<uint32_t>{1});
    EXPECT_EQ(g_home, 1);
    EXPECT_EQ(Popup(), "Default & Exit");
}

// With the output on, any key of the list only switches it off.
TEST_F(CaliKeys, AnyKeyFirstSwitchesTheOutputOff) {
    OutputFlagSet(kOutFlagOutputOn);
    Press(kKeyEnter, kClassKeypad);
    Press(kKeySoft1, kClassSoft);
    EXPECT_EQ(State(), 316u);
    EXPECT_TRUE(test::RawsTo(kModeReg).empty());
    EXPECT_TRUE(test::RawsTo(kCmdReg).empty());
    OutputFlagClear(kOutFlagOutputOn);
}

}  // namespace
