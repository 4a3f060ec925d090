// The overlay over the output screens: which windows each menu state shows, what they draw where, and
// that only what changed is painted again.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/panel/overlay/overlay_fixture.h"

namespace {

using panel::g_OverlayWins;
using panel::OverlayPaintCount;

constexpr uint16_t kPageGrey = 0x4208;  // 0x404040 in RGB565

class OverlayTest : public ::testing::Test {
  protected:
    overlaytest::OverlayScreen screen;
    static bool Shown(WM_HWINDOW h) { return WM_IsShown(h) != 0; }
    // Every overlay window that is shown, by name.
    static std::vector<std::string> ShownWindows() {
        std::vector<std::string> out;
        if (Shown(g_OverlayWins.hint)) out.push_back("hint");
        if (Shown(g_OverlayWins.column)) out.push_back("column");
        if (Shown(g_OverlayWins.svcEntry)) out.push_back("svc");
        for (int c = 0; c < panel::kOverlayCells; ++c)
            if (Shown(g_OverlayWins.cell[c])) out.push_back("cell" + std::to_string(c));
        return out;
    }
    // The windows painted since the counts were reset, by name.
    static std::vector<std::string> Painted() {
        std::vector<std::string> out;
        if (OverlayPaintCount(g_OverlayWins.hint)) out.push_back("hint");
        if (OverlayPaintCount(g_OverlayWins.readout)) out.push_back("readout");
        for (int c = 0; c < panel::kOverlayCells; ++c)
            if (OverlayPaintCount(g_OverlayWins.cell[c])) out.push_back("cell" + std::to_string(c));
        for (int k = 0; k < panel::kOverlayKeys; ++k)
            if (OverlayPaintCount(g_OverlayWins.key[k])) out.push_back("key" + std::to_string(k + 1));
        return out;
    }
    using Names = std::vector<std::string>;
};

// Which windows a state shows, coming from the ACV edit: the previous row's windows go in the same main
// pass, and a state without a row takes the soft-key column with it.
TEST_F(OverlayTest, WindowsOfEachStateReplaceThoseOfTheLastInOnePass) {
    struct Case {
        uint32_t wiring;
        uint32_t state;
        Names shown;
    };
    const Case cases[] = {
        {0, 47, {"hint", "column", "cell2"}},
        {1, 47, {"hint", "column", "cell2"}},
        {1, 50, {}},
        {1, 57, {}},
        {0, 50, {"hint", "column", "cell2"}},
        {1, 71, {"hint", "column", "cell8"}},
        {0, 71, {"hint", "column", "cell2"}},
        {1, 74, {"hint", "column", "cell11"}},
        {0, 61, {"hint", "column", "cell5"}},
        {0, 22, {"hint", "column"}},
        {0, 226, {"column", "svc"}},
        {0, 24, {"column"}},  // the IPK+ popup's windows come with the dialogs
        {0, 1, {}},
    };
    for (const Case& c : cases) {
        g_PhaseMode.store(c.wiring);
        screen.Enter(47);
        ASSERT_EQ(ShownWindows(), (Names{"hint", "column", "cell2"})) << c.state;
        screen.Enter(c.state);
        EXPECT_EQ(ShownWindows(), c.shown) << "wiring " << c.wiring << " state " << c.state;
    }
    // Nothing of the overlay is left on the page.
    for (int x : {0, 400, 650, 719, 720, 799})
        EXPECT_EQ(guitest::PixelAt(x, 12), kPageGrey) << x;
    EXPECT_EQ(guitest::PixelAt(760, 151), kPageGrey);
}

// The ACV edit (the range in the hint line, DEF1/DEF2/MAX/MIN in the column, nothing on key 8) and the
// range edit, as whole screens.
TEST_F(OverlayTest, AcvEditTextsAndPlaces) {
    screen.Enter(47);
    guitest::ExpectGolden("overlay_acv_3p4w", GUI_BOX{0, 0, 799, 479});

    g_PhaseMode.store(1);
    screen.Enter(1);
    screen.Enter(47);
    guitest::ExpectGolden("overlay_acv_1p2w", GUI_BOX{0, 0, 799, 479});

    g_PhaseMode.store(0);
    screen.Enter(1);
    screen.Enter(22);
    guitest::ExpectGolden("overlay_range_22", GUI_BOX{0, 0, 799, 479});
}

// Service entry: the firm name of the value and, for the model type, "Error" once five digits are typed.
TEST_F(OverlayTest, ServiceEntryPopup) {
    g_MenuState.store(226);
    g_EditParam.workValue.store(1);
    screen.MainPass();
    guitest::ExpectGolden("overlay_svc_226", GUI_BOX{270, 180, 470, 270});

    g_MenuState.store(228);
    screen.MainPass();
    for (const char* d = "12345"; *d != '\0'; ++d) {
        g_EditBuf.entryText[g_EditBuf.entryLength++] = *d;
        g_EditBuf.entryState += 1u << 10;
        screen.MainPass();
    }
    guitest::ExpectGolden("overlay_svc_228_error", GUI_BOX{270, 180, 470, 270});
    g_EditBuf = {};
}

// A digit typed in the ACV edit repaints its value window and the readout, nothing else.
TEST_F(OverlayTest, OnlyWhatChangedIsPainted) {
    screen.Enter(47);
    screen.MainPass(2);
    panel::OverlayPaintCountReset();
    g_EditBuf.entryText[0] = '5';
    g_EditBuf.entryLength = 1;
    g_EditBuf.entryValue = 5.0;
    g_EditBuf.entryState = 1u << 10;
    screen.MainPass();
    EXPECT_EQ(Painted(), (Names{"cell2"}));
    panel::OverlayPaintCountReset();
    g_EditParam.workValue.store(g_EditParam.workValue.load() + 100);
    screen.MainPass();
    EXPECT_EQ(Painted(), (Names{"readout", "cell2"}));
    g_EditBuf = {};
    screen.MainPass();

    // A stored default changed by a long press: key 1 only.
    panel::OverlayPaintCountReset();
    ParamRec rec;
    paramGetRecord(47, &rec, 0);
    rec.def1 += 500;
    paramPutRecord(47, &rec, 0);
    screen.MainPass();
    EXPECT_EQ(Painted(), (Names{"key1"}));

    // A range change: the keys that name or depend on the range, and the hint line's limits.
    screen.Enter(22);
    panel::OverlayPaintCountReset();
    g_ParamStore.rangeCode[1] = 0;
    screen.MainPass();
    // The readout is a child of the hint line and is drawn with it.
    EXPECT_EQ(Painted(), (Names{"hint", "readout", "key1", "key3", "key4", "key8"}));
}

// In 1P2W the cell's item row follows the output mode and the panel page flag; a row past the wiring's
// fourteen hides the cell instead of reading past the table (the three-line wirings are the panel items
// test's, cell by cell).
TEST_F(OverlayTest, PanelCellRowsOfOnePhaseTwoWire) {
    struct Case {
        uint32_t mode, page;
        int cell;
        bool shown;
    } cases[] = {{0, 1, 1, true} /* row 13 */, {0, 1, 2, false}, {0, 0, 9, true}, {5, 0, 1, false}};
    g_PhaseMode.store(1);
    for (const Case& c : cases) {
        g_OutputModeIdx.store(c.mode);
        g_HomePage.panelPage.store(c.page);
        const WM_HWINDOW cell = g_OverlayWins.cell[c.cell];
        WM_Show(cell);
        screen.MainPass();
        EXPECT_EQ(Shown(cell), c.shown) << "mode " << c.mode << " page " << c.page << " cell " << c.cell;
        WM_Hide(cell);
    }
}

// Every cell with the page flag, in modes 0, 5 and 2 (3P4W).
TEST_F(OverlayTest, PanelCellsWithThePageFlag) {
    g_HomePage.panelPage.store(1);
    g_EditParam.workValue.store(1234);
    for (uint32_t mode : {0u, 5u, 2u}) {
        g_OutputModeIdx.store(mode);
        for (WM_HWINDOW cell : g_OverlayWins.cell)
            WM_Show(cell);
        screen.MainPass();
        guitest::ExpectGolden("overlay_cells_page_mode" + std::to_string(mode), GUI_BOX{596, 41, 703, 467});
        for (WM_HWINDOW cell : g_OverlayWins.cell)
            WM_Hide(cell);
        screen.MainPass();
    }
}

TEST(OverlayNames, StoredNumbersNeverReadPastTheirTables) {
    char out[16];
    const std::pair<int32_t, const char*> waves[] = {{0, "ARB1"},    {15, "ARB16"}, {16, "SIN"},
                                                     {17, "SQU"},    {18, "TRI"},   {19, "ARB17"},
                                                     {255, "ARB253"}, {256, ""},    {-1, ""}};
    for (const auto& [n, name] : waves)
        EXPECT_STREQ(panel::WaveformName(n, out, sizeof out), name) << n;
    EXPECT_STREQ(panel::SigSourceName(3), "EXT");
    EXPECT_STREQ(panel::SigSourceName(4), "");
    EXPECT_STREQ(panel::SigSourceName(-1), "");
    EXPECT_STREQ(panel::ExtSourceName(5), "L1.L2");
    EXPECT_STREQ(panel::ExtSourceName(6), "");
}

}  // namespace
