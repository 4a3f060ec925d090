// The settings panel's openers, the MENU lists' row entries and the keys all MENU list states share, on a
// fresh model-1 store.
#include <gtest/gtest.h>

#include <string>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "engine/arb/arb_builder.h"
#include "engine/run/seqsim_run.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/field_openers.h"
#include "panel/menu/home_fields.h"
#include "panel/menu/menu_page_words.h"
#include "panel/menu/row_entry_hook.h"
#include "panel/popup/msg_text.h"
#include "platform/stage/power_stage_sim.h"
#include "screens/menu/rows/row_entries.h"
#include "tests/support/default_store.h"
#include "tests/support/temp_root.h"

namespace {

int g_seqEntries = 0;
void CountSeqEntry() {
    ++g_seqEntries;
}

class MenuRowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MenuRows_SetEntry(MenuRows_EnterState);
        core::ParamAccessReset();
        test::FreshStore(1);
        core::ParallelLinkReset();
        engine::ArbBuilderReset();
        SeqSimSetMode(0);
        ScreenRequest_SetRunners({.seqEnter = CountSeqEntry});
        ScreenRequest_SetTaker();
        g_seqEntries = 0;
        MsgQueue_Clear();
        // No USB stick: an earlier test of the program may have left one mounted.
        g_UsbState.statusB.store(0);
        g_UsbState.usbAccessError.store(0);
        g_LastHomeView = 1;
        g_MenuState = 1;
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        MsgQueue_Clear();
    }
    static void Key(uint8_t code) {
        uint32_t ev = KeyEventPack(0, code, 3);
        KeyProcess_MenuPageKeys(&ev);
    }
    // The one message pending: its id and, for a free text, the text.
    static std::pair<uint32_t, std::string> Message() {
        uint32_t id = 0;
        EXPECT_EQ(MsgQueue_Count(), 1u);
        if (MsgQueue_Pop(&id) != 0) return {0, ""};
        char text[256] = {};
        if (id >= 5 && id <= 8) MsgQueue_CopyText(text, sizeof text);
        return {id, text};
    }
    testsupport::TempRoot root_;
};

constexpr int N = -1, SEQ = -2;  // nothing opens; SEQUENCE starts
// PHASE view, 3P4W; columns are the output modes 0-9.
constexpr int kMatrix[14][10] = {
    {45, 45, 45, 45, 45, 45, 45, 45, 45, 45},  {46, 46, 46, 46, 46, 46, 46, 46, 46, 46},
    {47, 47, 51, 75, 75, 47, 47, 47, 47, 75},  {54, N, 58, 58, 58, 54, N, 54, N, N},
    {12, 12, SEQ, 84, 84, 12, 12, 81, 81, 12}, {61, 61, 72, N, N, 61, 61, 61, 61, 61},
    {64, 64, N, N, N, 78, 78, 64, 64, 64},     {68, 68, N, N, N, 67, 67, 68, 68, 68},
    {30, 30, N, N, N, 71, 71, 30, 30, 30},     {34, 34, N, N, N, 33, 33, 34, 34, 34},
    {SEQ, SEQ, N, N, N, 37, 37, 89, 89, 88},   {73, 73, N, N, N, 87, 87, 73, 73, 73},
    {74, 74, N, N, N, N, N, 74, 74, 74},       {N, N, N, N, N, N, N, N, N, N},
};
// The panel row each field puts the focus on (the balance of L1 keeps the row it found).
int RowOf(int state) {
    constexpr int kRows[][2] = {{45, 0},  {46, 1},  {47, 2},  {51, 2}, {75, 2}, {54, 3},  {58, 3},
                                {12, 4},  {81, 4},  {84, 4},  {61, 5}, {64, 6}, {78, 6},  {67, 7},
                                {68, 7},  {30, 8},  {71, 8},  {33, 9}, {34, 9}, {37, 10}, {88, 10},
                                {89, 10}, {73, 11}, {87, 11}, {74, 12}};
    for (const auto& r : kRows)
        if (r[0] == state) return r[1];
    return 13;
}

TEST_F(MenuRowsTest, MatrixOpensThePartsFieldsAndMovesThePanelRow) {
    for (uint32_t mode = 0; mode < core::kModes; ++mode) {
        for (uint32_t row = 0; row < kLayoutRows; ++row) {
            SCOPED_TRACE(testing::Message() << "row " << row << " mode " << mode);
            g_OutputModeIdx = mode;
            g_ParamStore.rangeCode[mode] = 0;
            g_MenuState = 1;
            g_HomePage.panelRow = 13;
            SeqSimSetMode(0);
            g_seqEntries = 0;
            g_HomeFieldEnterMatrix[row][mode]();
            const int want = kMatrix[row][mode];
            EXPECT_EQ(g_seqEntries, want == SEQ ? 1 : 0);
            EXPECT_EQ(g_MenuState.load(), want >= 0 ? static_cast<uint32_t>(want) : 1u);
            EXPECT_EQ(g_HomePage.panelRow.load(), static_cast<uint32_t>(want >= 0 ? RowOf(want) : 13));
        }
    }
}

TEST_F(MenuRowsTest, LineViewAndWiringConditions) {
    struct Case {
        uint32_t wiring, lineView, mode, row;
        uint32_t want;  // 1: nothing opened
    };
    const Case cases[] = {
        {0, 1, 0, 2, 50}, {0, 1, 2, 2, 57}, {0, 1, 0, 3, 57}, {0, 1, 7, 3, 57},
        {0, 1, 1, 2, 50}, {2, 0, 0, 0, 45}, {2, 0, 1, 0, 45}, {2, 0, 7, 0, 45},
        {2, 0, 8, 0, 45}, {2, 0, 2, 0, 1},  {2, 0, 3, 0, 1},  {2, 0, 9, 0, 1},
        {1, 0, 0, 0, 1},  {1, 0, 1, 0, 1},  {1, 0, 2, 5, 1},  {2, 0, 2, 5, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "wiring " << c.wiring << " mode " << c.mode << " row " << c.row);
        g_PhaseMode = c.wiring;
        g_OutputModeIdx = c.mode;  // the view is kept per output mode
        paramPutValue(kParamMeasItem7, static_cast<int32_t>(c.lineView), 0);
        g_MenuState = 1;
        g_HomeFieldEnterMatrix[c.row][c.mode]();
        EXPECT_EQ(g_MenuState.load(), c.want);
    }
}

TEST_F(MenuRowsTest, ConfirmationDialogsOpenOnCancel) {
    g_DialogChoice = 1;
    Enter_KeyProcess_Preset_OutputPhase();
    EXPECT_EQ(g_MenuState.load(), 5u);
    EXPECT_EQ(g_DialogChoice.load(), 0u);
    for (MenuEntryFn open :
         {Enter_KeyProcess_Switch_OutputPhaseCheck, Enter_KeyProcess_Switch_PresetOutputPhaseCheck}) {
        g_EditParam.workValue = 0;
        g_EditBuf.choiceValue = 0;
        open();
        EXPECT_EQ(g_EditParam.workValue.load(), 1);
        EXPECT_EQ(g_EditBuf.choiceValue, 1u);
    }
    EXPECT_EQ(g_MenuState.load(), 6u);
}

TEST_F(MenuRowsTest, BackKeyGoesToTheParentRow) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {94, 1},    {95, 1},    {96, 95},   {137, 95},  {138, 1},   {139, 138}, {164, 138},
        {165, 1},   {166, 165}, {169, 165}, {170, 1},   {171, 170}, {178, 170}, {179, 1},
        {180, 179}, {181, 179}, {182, 94},  {183, 179}, {186, 179}, {187, 94},  {188, 179},
        {191, 179}, {192, 1},   {193, 192}, {206, 192}, {207, 1},   {214, 1},   {215, 214},
        {220, 214}, {221, 1},   {222, 221}, {223, 1},   {224, 223}, {283, 223}, {284, 1},
        {285, 284}, {290, 284}, {291, 291}, {292, 223}, {315, 223}, {316, 316},
    };
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(from);
        g_MenuState = from;
        Key(0x60);
        EXPECT_EQ(g_MenuState.load(), to);
    }
    // From the parallel list a stand-alone master leaves at once; with parallel enabled only once the
    // link is up.
    g_MenuState = 210;
    Key(0x60);
    EXPECT_EQ(g_MenuState.load(), 207u);
    SetParallelEnable(1);
    g_MenuState = 210;
    Key(0x60);
    EXPECT_EQ(g_MenuState.load(), 210u);
    g_ParallelLink.status = 1u << 16;
    Key(0x60);
    EXPECT_EQ(g_MenuState.load(), 207u);
}

TEST_F(MenuRowsTest, OctetEditorsKeepTheirCursorAndFirmwareRowsTheirValue) {
    g_MenuState = 141;
    g_EditParam.cursor = 2;
    g_EditBuf.choiceCursor = 2;
    Enter_menuListLanIp1Edit();
    EXPECT_EQ(g_MenuState.load(), 142u);
    EXPECT_EQ(g_EditParam.cursor, 2u);
    EXPECT_EQ(g_EditBuf.choiceValue, LanCfgRead().IP[0]);
    Enter_menuListLanIp2Edit();
    EXPECT_EQ(g_EditParam.cursor, 2u);
    menuEnterRow<146>();
    EXPECT_EQ(g_EditParam.cursor, 0u);

    // The store's record for ids without one of their own must not leak into the firmware rows.
    g_ParamStore.spare.value = 77;
    const std::pair<uint32_t, int32_t> rows[] = {{267, 0}, {268, 1}, {269, 2}, {270, 3}};
    for (const auto& [state, value] : rows) {
        menuEnterRowState(state);
        EXPECT_EQ(g_MenuState.load(), state);
        EXPECT_EQ(g_EditParam.workValue.load(), value);
        EXPECT_EQ(g_EditBuf.choiceValue, static_cast<uint32_t>(value));
    }
    menuEnterRowState(271);
    EXPECT_EQ(g_MenuState.load(), 270u);
}

TEST_F(MenuRowsTest, GuardsOfTheParallelAndImpedanceRows) {
    SetParallelPosition(0);  // a slave
    g_MenuState = 165;
    g_EditBuf.choiceValue = 9;
    menuEnterRow<168>();
    EXPECT_EQ(g_MenuState.load(), 165u);
    EXPECT_EQ(g_EditBuf.choiceValue, 9u);
    EXPECT_EQ(MsgQueue_Count(), 0u);

    SetParallelPosition(1);
    g_ParallelActive = 1;
    g_MenuState = 192;
    menuEnterRow<193>();
    EXPECT_EQ(g_MenuState.load(), 192u);
    EXPECT_EQ(Message().second, "Valid Only Standalone");
    g_ParallelActive = 0;
    menuEnterRow<193>();
    EXPECT_EQ(g_MenuState.load(), 193u);
}

TEST_F(MenuRowsTest, RemoteSenseRefusalsNameTheirReason) {
    struct Case {
        uint32_t mode, rangeCode;
        int32_t impedance, waveL2;
        const char* text;  // nullptr: the editor opens
    };
    const Case cases[] = {
        {0, 1, 0, 16, "Valid Only AC-INT, DC-INT \nand AC-Sync Mode"},
        {1, 4, 0, 16, "Valid Only \n100V and 200V Range"},
        {1, 1, 1, 16, "Valid Only Output\nImpedance is Truned off"},
        {1, 1, 0, 17, "Valid Only SIN Wave Shape"},
        {1, 1, 0, 16, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        g_OutputModeIdx = c.mode;
        g_ParamStore.rangeCode[c.mode] = c.rangeCode;
        SetOutputImpedance(c.impedance);
        g_ParamStore.unit[1].waveform.value = c.waveL2;
        g_MenuState = 108;
        Enter_KeyProcess_RemoteSenseEdit();
        if (c.text == nullptr) {
            EXPECT_EQ(g_MenuState.load(), 109u);
            EXPECT_EQ(MsgQueue_Count(), 0u);
        } else {
            EXPECT_EQ(g_MenuState.load(), 108u);
            EXPECT_EQ(Message(), std::make_pair(5u, std::string(c.text)));
        }
    }
}

TEST_F(MenuRowsTest, LFRingDefaultsKeepStartBelowEnd) {
    // From either side of the defaults, one order of the two writes is refused by the builder.
    const std::pair<int32_t, int32_t> from[] = {{100, 500}, {2000, 3000}};
    for (const auto& [start, end] : from) {
        engine::ArbBuilderReset();
        g_ArbBuilder.lfRingEnd = end;
        g_ArbBuilder.lfRingStart = start;
        menuArbLFRingDefaults();
        EXPECT_EQ(ArbBuild_GetLFRingStart(), 600);
        EXPECT_EQ(ArbBuild_GetLFRingEnd(), 1200);
        EXPECT_NE(g_ArbBuilder.flags2 & engine::kArbBuildPending, 0);
        EXPECT_NE(g_ArbBuilder.flags & engine::kArbPreviewRequest, 0);
    }
}

TEST_F(MenuRowsTest, SaveRecallActions) {
    SaveRecallType = 0;
    SaveRecallAction = 4;
    SaveRecallMemory = 3;
    g_LastHomeView = 2;
    g_MenuState = 289;
    Key(kKeySoft1);
    EXPECT_EQ(g_MenuState.load(), 2u);
    const auto [id, free] = Message();
    EXPECT_EQ(id, 16u);
    StepRow row{};
    g_MsgTextTable[id](&row, id);
    char text[64] = {};
    MsgPopup_Text(text, sizeof text);
    EXPECT_STREQ(text, "Recalled From M3");

    // A number left over from the ARB type is no preset: nothing is done and nothing claimed.
    SaveRecallAction = 3;
    SaveRecallMemory = 12;
    g_MenuState = 287;
    Key(kKeySoft1);
    EXPECT_EQ(Message(), std::make_pair(8u, std::string("Access Failure")));
    EXPECT_EQ(g_MenuState.load(), 287u);
    SaveRecallAction = 4;
    Key(kKeySoft1);
    EXPECT_EQ(Message(), std::make_pair(8u, std::string("Access Failure")));
    EXPECT_EQ(g_MenuState.load(), 287u);

    SaveRecallAction = 0;
    SaveRecallMemory = 1;
    Key(kKeySoft1);
    EXPECT_EQ(Message(), std::make_pair(5u, std::string("USB Memory Unconnected")));
}

TEST_F(MenuRowsTest, LcdResetAndMiscPages) {
    IfaceLcdWordSet(0x1E140A);
    g_MenuState = 217;
    Key(kKeySoft4);
    EXPECT_EQ(g_MenuState.load(), 215u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(IfaceLcdByte(i), 50);

    g_MenuState = 95;
    Key(kKeySoft2);
    EXPECT_EQ(g_MenuPreviewPage.load(), 1u);
    Key(kKeySoft1);
    EXPECT_EQ(g_MenuPreviewPage.load(), 0u);
}

TEST_F(MenuRowsTest, DefOneOnAnImpedanceRowGivesThatPhaseToTheOthers) {
    // The resistances of L1, L2, L3 (parameters 202, 204, 206) differ; 'Y' on the L2 row copies L2's.
    const int32_t mine[3] = {11, 22, 33};
    for (int p = 0; p < 3; ++p)
        paramPutValue(202 + 2 * p, mine[p], 0);
    g_MenuState = 203;
    Key(kKeySoft1);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(paramGetValue(202 + 2 * p, 0), 22) << "phase " << p;
    // 'Z' on the row copies nothing.
    paramPutValue(202, 11, 0);
    Key(kKeySoft2);
    EXPECT_EQ(paramGetValue(202, 0), 11);
}

}  // namespace
