// Every home setting state (8-89), one after the other: which overlay windows it shows in each wiring, the
// hint line and the soft keys it draws, the settings-panel row it selects and whether its digit cursor
// keeps five-digit values whole. The expected values are written out here state by state.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_ranges.h"
#include "core/params/settings/setting_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "panel/dialogs/limit_popups.h"
#include "drivers/panel_link.h"
#include "panel/edit/digit_cursor.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/menu/home_fields.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_track.h"
#include "tests/panel/edit/edit_fixture.h"
#include "tests/panel/overlay/overlay_fixture.h"

namespace {

using panel::g_OverlayWins;
using States = std::set<uint32_t>;

constexpr uint32_t kFirst = 8, kLast = 89;

const std::map<uint32_t, LimitPopupId> kPopups = {
    {8, kPopVoltLimit}, {9, kPopVpkKind}, {10, kPopVpkHi},   {11, kPopVpkLo},   {15, kPopFreqKind},
    {16, kPopFreqHi},   {19, kPopFreqLo}, {23, kPopIpkKind}, {24, kPopIpkHi},   {27, kPopIpkLo},
};
// Cell by state: 3P4W and 1P3W, and 1P2W.
const std::map<uint32_t, int> kCellThreeWire = {
    {45, 0}, {64, 0}, {78, 0}, {46, 1}, {67, 1}, {68, 1}, {47, 2}, {50, 2}, {51, 2}, {71, 2},
    {75, 2}, {30, 2}, {34, 2}, {54, 3}, {57, 3}, {58, 3}, {33, 3}, {37, 3}, {88, 3}, {89, 3},
    {12, 4}, {81, 4}, {84, 4}, {87, 4}, {73, 4}, {61, 5}, {74, 5},
};
const std::map<uint32_t, int> kCellOnePhase = {
    {45, 0}, {64, 6}, {78, 6},  {46, 1}, {67, 7}, {68, 7}, {47, 2}, {51, 2},  {75, 2},
    {71, 8}, {30, 8}, {34, 8},  {54, 3}, {58, 3}, {33, 9}, {37, 9}, {88, 9},  {89, 9},
    {12, 4}, {81, 4}, {84, 4},  {87, 10}, {73, 10}, {61, 5}, {74, 11},
};
const std::map<uint32_t, std::string> kHints = {
    {12, "Quick Freq ("},
    {22, "Voltage Range : "},
    {30, "Wave Shape (ARB1-16|SIN|SQU|TRI|ARB17-ARB253): "},
    {33, "Wave Shape (ARB1-16|SIN|SQU|TRI|ARB17-ARB253): "},
    {34, "Duty("},
    {45, "PHASE: "},
    {46, "Output Mode: "},
    {47, "Quick ACV ("},
    {51, "Quick DCV ("},
    {54, "Quick DCV ("},
    {58, "Quick Irms ("},
    {61, "Quick Irms ("},
    {64, "Quick ON Phase ("},
    {67, "Quick ON Phase ("},
    {68, "Quick OFF Phase ("},
    {71, "Quick OFF Phase ("},
    {73, "L1 - L2 ("},
    {74, "L1 - L3 ("},
    {75, "Quick Gain ("},
    {78, "Quick Gain ("},
    {81, "SIG Mode (L1 LINE ~ EXT): "},
    {84, "External Source(L1 - L3 External)"},
    {87, "External Source(L1 - L3 External)"},
    {88, "External Source(L1 - L3 External)"},
    {89, "Sync Phase ("},
};
const States kDefaultKeys = {12, 47, 50, 51, 54, 57, 75, 78};
const States kMaxMin = {8, 10, 11, 12, 16, 19, 24, 27, 47, 50, 51, 54, 57, 58, 61, 75, 78, 89};
const States kFixedFree = {64, 67, 68, 71};
const States kIpkLimit = {24, 27}, kIrmsLimit = {58, 61};
const States kExit = {9, 15, 23};

// The text drawn on soft key k (1-8), or "" for none; a key is 60 pixels high, its text centred at x 760.
std::string KeyText(int k) {
    std::string out;
    for (const auto& t : drawn::g_texts)
        if (t.x == 760 && t.y >= 60 * (k - 1) && t.y < 60 * k) out += t.text;
    return out;
}
std::string HintText() {
    for (const auto& t : drawn::g_texts)
        if (t.x == 0 && t.y == 12) return t.text;
    return "";
}
bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}
bool In(const States& states, uint32_t s) {
    return states.count(s) != 0;
}

class HomeFieldRowsTest : public ::testing::Test {
  protected:
    overlaytest::OverlayScreen screen;
    static bool Shown(WM_HWINDOW h) { return h != 0 && WM_IsShown(h) != 0; }
    // The cell the state's row shows (its own paint hides a cell whose panel row has no item, so the
    // row is asked rather than the window), or -1.
    static int RowCell() {
        const OverlayLayoutRow* row = g_OverlayTrack.row;
        for (int c = 0; c < panel::kOverlayCells; ++c)
            if (row != nullptr && row->b == &g_OverlayWins.cell[c]) return c;
        return -1;
    }
    static std::vector<int> ShownPopups() {
        std::vector<int> out;
        for (int p = 0; p < kLimitPopupCount; ++p)
            if (Shown(g_LimitPopups[p].frame)) out.push_back(p);
        return out;
    }
    // From the home screen (no row) into the state, with the texts of that one pass.
    void Show(uint32_t state) {
        g_MenuState.store(kScreenAdvanced);  // the home screen: no overlay row
        screen.MainPass();
        drawn::g_texts.clear();
        g_MenuState.store(state);
        screen.MainPass();
    }
};

TEST_F(HomeFieldRowsTest, OverlayWindowsOfEveryStateInEachWiring) {
    for (uint32_t wiring : {0u, 2u, 1u}) {
        g_PhaseMode.store(wiring);
        const auto& cells = wiring == 1 ? kCellOnePhase : kCellThreeWire;
        for (uint32_t s = kFirst; s <= kLast; ++s) {
            Show(s);
            const bool popup = kPopups.count(s) != 0;
            const bool cell = cells.count(s) != 0;
            const bool hint = cell || s == 22;
            EXPECT_EQ(RowCell(), cell ? cells.at(s) : -1) << "wiring " << wiring << " state " << s;
            EXPECT_EQ(ShownPopups(), popup ? std::vector<int>{kPopups.at(s)} : std::vector<int>{})
                << "wiring " << wiring << " state " << s;
            EXPECT_EQ(Shown(g_OverlayWins.hint), hint) << "wiring " << wiring << " state " << s;
            EXPECT_EQ(Shown(g_OverlayWins.column), popup || hint) << "wiring " << wiring << " state " << s;
        }
    }
}

TEST_F(HomeFieldRowsTest, HintAndSoftKeysOfEveryState) {
    g_PhaseMode.store(0);
    for (uint32_t s = kFirst; s <= kLast; ++s) {
        Show(s);
        const std::string hint = HintText();
        if (kHints.count(s) != 0)
            EXPECT_TRUE(StartsWith(hint, kHints.at(s))) << "state " << s << ": " << hint;
        else
            EXPECT_EQ(hint, "") << "state " << s;

        const std::string key1 = KeyText(1), key2 = KeyText(2), key3 = KeyText(3), key4 = KeyText(4);
        if (In(kDefaultKeys, s)) {
            EXPECT_TRUE(StartsWith(key1, "DEF1\n")) << "state " << s << ": " << key1;
            EXPECT_TRUE(StartsWith(key2, "DEF2\n")) << "state " << s << ": " << key2;
        } else if (s == 22) {
            EXPECT_EQ(key1, "AUTO");
            EXPECT_EQ(key2, "");
        } else if (In(kIpkLimit, s)) {
            EXPECT_TRUE(StartsWith(key1, "IPK\nLimit\n")) << "state " << s << ": " << key1;
            EXPECT_EQ(key2, "") << "state " << s;
        } else if (In(kIrmsLimit, s)) {
            EXPECT_TRUE(StartsWith(key1, "IRMS\nLimit\n")) << "state " << s << ": " << key1;
            EXPECT_EQ(key2, "IPK CLR") << "state " << s;
        } else if (In(kFixedFree, s)) {
            EXPECT_TRUE(key1 == "[FIXED]\nFREE" || key1 == "FIXED\n[FREE]") << "state " << s << ": " << key1;
            EXPECT_EQ(key2, "") << "state " << s;
        } else {
            EXPECT_EQ(key1 + key2, "") << "state " << s;
        }
        const bool maxMin = In(kMaxMin, s) || In(kFixedFree, s);
        EXPECT_EQ(key3, s == 22 ? "200V" : maxMin ? "MAX" : "") << "state " << s;
        EXPECT_EQ(key4, s == 22 ? "100V" : maxMin ? "MIN" : "") << "state " << s;
        EXPECT_EQ(KeyText(8), In(kExit, s) ? "EXIT" : "") << "state " << s;
    }
}

// Editing all phases in ACDC-INT at DC 0, with L2 limited to +100 Vpk and L1's limit written last at the
// value it holds: the AC voltage's hint shows L2's range before and after the keypad's 80, which is
// refused with the message naming L2 and stored on no phase.
TEST_F(HomeFieldRowsTest, AllPhaseVoltageHintAndMessageOfTheTightestPhase) {
    using settings::Origin, settings::SetResult, edittest::EditTest;
    g_PhaseMode.store(0);
    SetOutputMode(kModeAcDcInt);
    for (int p = 0; p < 3; ++p) {
        ASSERT_EQ(settings::SetSetting(kParamDcv, p, 0, Origin::kRemote), SetResult::kWritten);
        ASSERT_EQ(settings::SetSetting(kParamAcv, p, 1000, Origin::kRemote), SetResult::kWritten);
    }
    ASSERT_EQ(settings::SetSetting(kParamVpkMax, 1, 10000, Origin::kRemote), SetResult::kWritten);
    ASSERT_EQ(settings::SetSetting(kParamVpkMax, 0, GetVpkMax(), Origin::kRemote), SetResult::kWritten);
    g_EditAllPhases.store(1);
    MsgQueue_Clear();
    const std::string hint = "Quick ACV (0.00 ~ 70.72 Vrms): ";  // 100 V / 1.414, the sine's factor
    Show(kParamAcv);
    EXPECT_EQ(HintText(), hint);
    screen.Enter(kParamAcv);
    EditTest::Type(80.0);
    uint32_t ev = EditTest::Key(kKeyEnter, kClassKeypad);
    EXPECT_EQ(menuEditParamEnterKey(&ev, kParamAcv), 2);
    EXPECT_EQ(EditTest::Messages(), std::vector<std::string>{"20"});
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(GetAcv(p), 1000) << p;
    Show(kParamAcv);
    EXPECT_EQ(HintText(), hint);
    g_EditAllPhases.store(0);
}

// The ON angles show the ON angle's FIXED/FREE word, the OFF angles the OFF angle's.
TEST_F(HomeFieldRowsTest, FixedOrFreeOfTheAngleEdited) {
    g_PhaseMode.store(0);
    for (int32_t on : {1, 0}) {
        ParamRec rec;
        paramGetRecord(kParamOnPhase, &rec, 0);
        rec.state = on;
        paramPutRecord(kParamOnPhase, &rec, 0);
        paramGetRecord(kParamOffPhase, &rec, 0);
        rec.state = 1 - on;
        paramPutRecord(kParamOffPhase, &rec, 0);
        const std::string onFace = on ? "[FIXED]\nFREE" : "FIXED\n[FREE]";
        const std::string offFace = on ? "FIXED\n[FREE]" : "[FIXED]\nFREE";
        for (uint32_t s : {64u, 67u, 68u, 71u}) {
            Show(s);
            EXPECT_EQ(KeyText(1), s <= 67 ? onFace : offFace) << "state " << s;
        }
    }
}

TEST_F(HomeFieldRowsTest, PanelRowOfEveryState) {
    const std::map<uint32_t, uint32_t> rows = {
        {45, 0}, {46, 1}, {47, 2}, {51, 2}, {75, 2}, {54, 3},  {57, 3},  {58, 3},  {12, 4},
        {81, 4}, {84, 4}, {61, 5}, {64, 6}, {78, 6}, {67, 7},  {68, 7},  {30, 8},  {71, 8},
        {33, 9}, {34, 9}, {37, 10}, {88, 10}, {89, 10}, {73, 11}, {87, 11}, {74, 12},
    };
    constexpr uint32_t kUntouched = 99;
    for (uint32_t s = kFirst; s <= kLast; ++s) {
        g_HomePage.panelRow.store(kUntouched);
        g_MenuState.store(s);
        menuSyncHomePanelRow();
        EXPECT_EQ(g_HomePage.panelRow.load(), rows.count(s) != 0 ? rows.at(s) : kUntouched) << "state " << s;
    }
    g_HomePage.panelRow.store(0);
}

// A value that got one digit shorter (10000 to 9999): the five-digit fields keep their cursor, the others
// move it up one.
TEST_F(HomeFieldRowsTest, DigitCursorOfEveryState) {
    const States fiveDigits = {8, 10, 11, 12, 16, 19, 24, 27};
    for (uint32_t s = kFirst; s <= kLast; ++s) {
        g_MenuState.store(s);
        g_EditParam.startValue = 10000;
        g_EditParam.workValue.store(9999);
        g_EditParam.cursor = 2;
        menuKeepDigitCursor(5);
        EXPECT_EQ(g_EditParam.cursor, In(fiveDigits, s) ? 2u : 3u) << "state " << s;
    }
    g_EditParam.cursor = 0;
    g_EditParam.workValue.store(0);
    g_MenuState.store(kScreenAdvanced);  // the home screen: no overlay row
}

}  // namespace
