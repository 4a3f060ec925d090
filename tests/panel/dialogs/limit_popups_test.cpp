// The limit popups and dialogs on the framebuffer, as the overlay shows them: their texts at their screen
// places (through the text hook), the focus and accent boxes, what each draws in which output mode, and
// goldens of the rest.
#include "panel/dialogs/limit_popups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GUI/lcd/color_rgb.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/model_table.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/value_format.h"
#include "panel/menu/dialog_words.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/power_stage_sim.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/GUI/text_observer.h"

namespace {

constexpr uint16_t kLeft = GUI_TA_LEFT | GUI_TA_TOP, kRight = GUI_TA_RIGHT | GUI_TA_TOP;

using drawn::g_texts;
using guitest::PixelAt;
using guitest::Rgb565;

const uint16_t kPageGrey = Rgb565(0x404040);
const uint16_t kFocusBlue = Rgb565(0x0043FA);

// The GUI thread's pass, after the menu/control thread published the edit words it set.
void GuiPass() {
    panel::EditPublish();
    panel::EditSnapshotTake();
    GUI_RunAll();
}

void ResetWords() {
    g_EditBuf = panel::EditBuf{};
    g_EditParam.workValue.store(0);
    g_EditParam.cursor = 0;
    g_ParamFlags.store(0);
    g_OutputFlags.store(0);
    g_MenuState.store(0);
    g_CfgPhaseChoice.store(0);
    g_CfgPhaseTarget.store(0);
    g_DialogChoice.store(0);
    core::g_ParallelMostSeen.store(0);
}

// The middle colour of a select box, plain or with the accent, at (4, 13) of the box.
uint16_t SelectBoxColour(bool accent) {
    guitest::FreshScreen();
    WM_Select(WM_CreateTop(0, 0, 100, 30, WM_CF_SHOW, nullptr, 0));
    if (accent)
        DrawSelectFieldBarAccent(0, 0, 75);
    else
        DrawSelectFieldBar(0, 0, 75);
    return PixelAt(4, 13);
}

ParamRec Record(uint32_t id) {
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    return rec;
}

std::string Formatted(int32_t value, const ParamRec& rec) {
    char text[48];
    FormatScaledValue(0, value, text, sizeof text, rec.decimals, rec.scale, rec.unitText);
    return text;
}

class LimitPopups : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        accent = SelectBoxColour(true);
        plain = SelectBoxColour(false);
        ASSERT_NE(accent, plain);
    }
    void SetUp() override { MakeScreen(0); }
    void TearDown() override {
        EXPECT_TEXTS_WHOLE();
        GUI_SetTextHook(nullptr);
        ResetWords();
    }
    // A fresh model-1 store in output mode `mode`, the page and the popups, nothing shown.
    static void MakeScreen(uint32_t mode) {
        GUI_SetTextHook(nullptr);
        guitest::FreshScreenOnGreyPage();
        plat::PowerStage().Reset();
        BusMapInit();
        regbus::BusReset();
        core::ParamStoreReset();
        g_ModelId.store(1);
        SetDefaultAll();
        g_OutputModeIdx.store(mode);
        ResetWords();
        LimitPopups_Create();
        GuiPass();
        g_texts.clear();
        GUI_SetTextHook(drawn::Observe);
    }
    static void Show(LimitPopupId id, uint32_t state) {
        g_MenuState.store(state);
        g_texts.clear();
        WM_Show(g_LimitPopups[id].frame);
        GuiPass();
    }
    static void RepaintChild(LimitPopupId id) {
        g_texts.clear();
        WM_Invalidate(g_LimitPopups[id].child);
        GuiPass();
    }
    static int Count(const std::string& text, int x, int y, uint16_t align) {
        int n = 0;
        for (const drawn::Text& d : g_texts)
            n += d.text == text && d.x == x && d.y == y && d.align == align;
        return n;
    }
    static bool Saw(const std::string& text, int x, int y, uint16_t align = kLeft) {
        return Count(text, x, y, align) > 0;
    }
    static inline uint16_t accent = 0, plain = 0;  // the middle colours of a select box
    static std::string TextAt(int x, int y, uint16_t align) {
        for (const drawn::Text& d : g_texts)
            if (d.x == x && d.y == y && d.align == align) return d.text;
        return "(none)";
    }
};

// The kind popups at (250, 180), with the focus box on the limit the kind flag names (its texts are the
// goldens'), and only in the popup's output modes.
TEST_F(LimitPopups, KindPopupsByModeAndFlag) {
    using namespace core;
    const struct {
        LimitPopupId id;
        uint32_t state, mode, flags;
        bool drawn, focusSecond;
        const char* golden;
    } rows[] = {
        {kPopIpkKind, 23, 0, kFlagVpkKind | kFlagFreqLimitKind, true, false, "limit_ipk_kind_mode0"},
        {kPopIpkKind, 23, 1, kFlagIpkKind, true, true, "limit_ipk_kind_mode1"},
        {kPopVpkKind, 9, 0, kFlagIpkKind | kFlagFreqLimitKind, true, false, "limit_vpk_kind_mode0"},
        {kPopVpkKind, 9, 1, kFlagVpkKind, false, false, "limit_vpk_kind_mode1"},
        {kPopVpkKind, 9, 2, kFlagVpkKind, true, true, nullptr},
        {kPopFreqKind, 15, 0, kFlagIpkKind | kFlagVpkKind, true, false, "limit_freq_kind_mode0"},
        {kPopFreqKind, 15, 1, kFlagFreqLimitKind, true, true, "limit_freq_kind_mode1"},
        {kPopFreqKind, 15, 2, kFlagFreqLimitKind, false, false, nullptr},
    };
    constexpr int fx = 250, fy = 180, cx = 265, cy = 260;
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "state " << r.state << " mode " << r.mode);
        MakeScreen(r.mode);
        g_ParamFlags.store(r.flags);
        Show(r.id, r.state);
        EXPECT_EQ(g_texts.empty(), !r.drawn);
        if (!r.drawn) {
            for (int y = fy; y < fy + 131; y += 5)
                for (int x = fx; x < fx + 231; x += 5)
                    ASSERT_EQ(PixelAt(x, y), kPageGrey) << x << "," << y;
        } else {
            // Inside each button's focus mark, right of its value.
            EXPECT_EQ(PixelAt(cx + 82, cy + 17) == kFocusBlue, !r.focusSecond);
            EXPECT_EQ(PixelAt(cx + 110 + 82, cy + 17) == kFocusBlue, r.focusSecond);
        }
        if (r.golden != nullptr) guitest::ExpectGolden(r.golden, GUI_BOX{fx, fy, fx + 230, fy + 130});
    }
}

// Digits being typed replace the value and its cursor, left-aligned at x 15 of the child (30, 82).
TEST_F(LimitPopups, IpkHiShowsTheTypedDigits) {
    g_EditBuf.entryState = 2u << 10;
    g_EditBuf.entryText[0] = '1';
    g_EditBuf.entryText[1] = '2';
    g_EditBuf.entryLength = 2;
    g_EditParam.workValue.store(1234);
    Show(kPopIpkHi, 24);
    guitest::ExpectGolden("limit_ipk_hi_typed", GUI_BOX{250, 180, 480, 310});

    g_EditBuf = panel::EditBuf{};
    RepaintChild(kPopIpkHi);
    EXPECT_EQ(Count("12", 295, 262, kLeft), 0);
    EXPECT_TRUE(Saw("+", 385, 262));
}

// The "+" at x 105 of the child stands apart from a five-character value ending at x 155: above the cursor
// line the child shows six separate runs of inked columns, the sign's and one per character.
TEST_F(LimitPopups, IpkHiSignStandsApartFromAFiveCharacterValue) {
    const ParamRec rec = Record(24);
    g_EditParam.workValue.store(2000);
    ASSERT_EQ(Formatted(2000, rec).size(), 5u) << Formatted(2000, rec);
    Show(kPopIpkHi, 24);
    ASSERT_TRUE(Saw("+", 385, 262));
    int runs = 0;
    bool inked = false;
    for (int x = 280; x < 280 + 168; ++x) {
        bool column = false;
        for (int y = 262; y < 262 + 15; ++y)
            column = column || PixelAt(x, y) == 0xFFFF;
        runs += column && !inked;
        inked = column;
    }
    EXPECT_EQ(runs, 6);
}

// A lower limit shows its magnitude and one "-" at x 105 of the child, whichever sign the working value
// has: the value itself carries none, so both signs show the same picture.
TEST_F(LimitPopups, IpkLoDrawsOneMinusApart) {
    for (const int32_t work : {-500, 500}) {
        SCOPED_TRACE(work);
        MakeScreen(0);
        g_EditParam.workValue.store(work);
        Show(kPopIpkLo, 27);
        EXPECT_EQ(Count("-", 385, 262, kLeft), 1);
        guitest::ExpectGolden("limit_ipk_lo_5A", GUI_BOX{250, 180, 480, 310});
    }
}

// The voltage limit popup names its record's unit and shows only in modes 1, 6 and 8.
TEST_F(LimitPopups, VoltLimitPopupOnlyInItsModes) {
    Show(kPopVoltLimit, 8);
    EXPECT_TRUE(g_texts.empty());
    MakeScreen(1);
    Show(kPopVoltLimit, 8);
    EXPECT_TRUE(Saw(std::string(Record(8).unitText) + " Limit", 275, 188));
}

// The accent box follows the configure-phase choice; a choice past the three wirings marks none.
TEST_F(LimitPopups, CfgPhaseAccentFollowsTheChoice) {
    g_CfgPhaseChoice.store(2);
    Show(kDlgCfgPhase, 3);
    guitest::ExpectGolden("dialog_cfg_phase_1p3w", GUI_BOX{240, 180, 560, 310});
    const int boxX[] = {23, 118, 213};
    for (const uint32_t choice : {2u, 0u, 1u, 7u}) {
        SCOPED_TRACE(choice);
        g_CfgPhaseChoice.store(choice);
        RepaintChild(kDlgCfgPhase);
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_EQ(PixelAt(245 + boxX[i] + 4, 265 + 13), i == choice ? accent : plain) << "box " << i;
    }
}

// States 4 and 6 warn of the chosen and of the target wiring; the focus follows the edit choice.
TEST_F(LimitPopups, WiringWarningNamesAndFocus) {
    const struct {
        uint32_t state, choice, target, value;
        const char* question;
        bool focusNo;
        const char* golden;
    } rows[] = {
        {4, 2, 1, 0, "Are you want to change 1P3W?", false, "dialog_wiring_warn_yes"},
        {6, 2, 1, 1, "Are you want to change 1P2W?", true, "dialog_wiring_warn_no"},
        {4, 5, 0, 0, "Are you want to change ?", false, nullptr},
    };
    constexpr int cx = 220, cy = 340;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.question);
        MakeScreen(0);
        g_CfgPhaseChoice.store(r.choice);
        g_CfgPhaseTarget.store(r.target);
        g_EditBuf.choiceValue = r.value;
        Show(kDlgWiringWarn, r.state);
        EXPECT_TRUE(Saw(r.question, 120, 265));
        EXPECT_EQ(PixelAt(cx + 8, cy + 17) == kFocusBlue, !r.focusNo);
        EXPECT_EQ(PixelAt(cx + 185 + 8, cy + 17) == kFocusBlue, r.focusNo);
        if (r.golden != nullptr) guitest::ExpectGolden(r.golden, GUI_BOX{50, 40, 659, 449});
    }
}

// The confirmation names the target wiring (nothing past the table) and marks ENTER or CANCEL.
TEST_F(LimitPopups, ConfirmationNamesTargetAndMarksChoice) {
    g_CfgPhaseTarget.store(1);
    Show(kDlgCfgConfirm, 5);
    guitest::ExpectGolden("dialog_confirm_enter", GUI_BOX{270, 180, 500, 310});
    g_DialogChoice.store(1);
    RepaintChild(kDlgCfgConfirm);
    guitest::ExpectGolden("dialog_confirm_cancel", GUI_BOX{270, 180, 500, 310});

    g_CfgPhaseTarget.store(3);
    g_texts.clear();
    WM_Invalidate(g_LimitPopups[kDlgCfgConfirm].frame);
    GUI_RunAll();
    EXPECT_TRUE(Saw("switch to ", 320, 212));
}

// The count line shows only while fewer slaves answered than the configured units less this one.
TEST_F(LimitPopups, ParallelFailureCountsMissingSlaves) {
    SetParallelNumber(3);
    ASSERT_EQ(GetParallelNumber(), 3);
    core::g_ParallelMostSeen.store(1);
    Show(kDlgParallelFail, 7);
    guitest::ExpectGolden("dialog_parallel_fail", GUI_BOX{270, 180, 500, 310});

    core::g_ParallelMostSeen.store(2);
    g_EditBuf.choiceValue = 1;
    g_texts.clear();
    WM_Invalidate(g_LimitPopups[kDlgParallelFail].frame);
    WM_Invalidate(g_LimitPopups[kDlgParallelFail].child);
    GuiPass();
    EXPECT_TRUE(Saw("Parallel Fail...", 280, 186));
    EXPECT_EQ(TextAt(280, 212, kLeft), "(none)");
    // The accent on the right box of the two at (275, 265).
    EXPECT_EQ(PixelAt(275 + 20 + 4, 278), plain);
    EXPECT_EQ(PixelAt(275 + 123 + 4, 278), accent);
}

}  // namespace
