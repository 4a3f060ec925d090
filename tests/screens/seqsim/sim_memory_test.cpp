// SIM0-SIM9 from the SIMULATE panel: the memory lists and the wiring dialogs of a recall driven by their
// keys, save and recall of the chosen slot with their messages, the state set by voltage range, and the
// memory loaded at start-up.
#include "screens/seqsim/sim/memory/sim_memory.h"

#include <filesystem>
#include <tuple>

#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/seqsim_slots.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/sim/memory/sim_mem_entries.h"
#include "screens/seqsim/sim/memory/sim_mem_keys.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_keys.h"
#include "tests/screens/seqsim/sim_fixture.h"

namespace {

using test::Key;
using test::Knob;
using test::Popup;
using test::Press;
using test::Rec;

uint32_t State() {
    return g_MenuState.load();
}
bool RecallPageOpen() {
    return (g_SeqSimBlock[0].panelFlags.load() & kSeqPanelRecallOpen) != 0;
}

class SimMemory : public ::testing::Test {
  protected:
    SimMemory() {
        g_SeqSimSlots.sim = 0;
        SimPrepRequest.store(0);
    }
    ~SimMemory() override { SimPrepRequest.store(0); }
    static void OpenPage(uint8_t bit) { g_SeqSimBlock[0].panelFlags.store(bit); }
    static bool PageOpen(uint8_t bit) { return (g_SeqSimBlock[0].panelFlags.load() & bit) != 0; }
    static uint8_t Notices() { return g_SeqSimBlock[0].notices.load(); }
    const testsupport::TempRoot& Root() const { return env_.ctrl.env.root; }
    void Save(uint32_t slot) {
        OpenPage(kSeqPanelSaveOpen);
        SeqSimSetSaveSlot(slot);
        Sim_SaveSlot();
    }
    // SIM<slot> stored with a marker in Normal1 L1 and the given wiring; the tables get another marker.
    static void Store(int32_t slot, uint32_t wiring) {
        const uint32_t before = GetPhaseMode();
        SetPhaseMode(wiring);
        Rec(kSimNormal1, 0).acv = 4000;
        ASSERT_GT(SimMem_Save(slot), 0);
        SetPhaseMode(before);
        Rec(kSimNormal1, 0).acv = 100;
    }
    static void OpenRecallList(uint32_t slot) {
        g_SeqSimBlock[0].panelFlags.store(0);
        SeqSimSetRecallSlot(slot);
        Enter_menuSimulationStep();
        Press(Sim_SoftKeys, Key(kClassSoft, kKeySoft2));
        ASSERT_EQ(State(), kSimRecallList);
    }
    test::SimPanelEnv env_;
};

TEST_F(SimMemory, SaveListSavesTheChosenSlot) {
    Enter_menuSimulationStep();
    SeqSimSetSaveSlot(0);
    Press(Sim_SoftKeys, Key(kClassSoft, kKeySoft3));
    ASSERT_EQ(State(), kSimSaveList);
    Press(menuSimulationSaveMemory, Knob(-1));
    Press(menuSimulationSaveMemory, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Popup(), "Saved to SIM1");
    EXPECT_EQ(Root().Read("/mnt/tst/sim/SIM1.SIM").size(), 1972u);
    EXPECT_EQ(g_SeqSimSlots.sim, 1);
    EXPECT_EQ(State(), kSimSelStep);
    EXPECT_FALSE(PageOpen(kSeqPanelSaveOpen));
    EXPECT_NE(Notices() & kSeqNoticeSaved, 0);

    // Only while the save page is open.
    g_SeqSimBlock[0].notices.store(0);
    MsgQueue_Clear();
    SeqSimSetSaveSlot(4);
    Sim_SaveSlot();
    EXPECT_EQ(Root().Read("/mnt/tst/sim/SIM4.SIM"), "");
    EXPECT_EQ(Notices(), 0);
}

TEST_F(SimMemory, FailedSaveClosesThePage) {
    const std::filesystem::path dir = Root().path() + "/mnt/tst/sim";
    std::filesystem::remove_all(dir);
    Root().Write("/mnt/tst/sim", "not a directory");
    Save(2);
    EXPECT_EQ(Popup(), "Save Fail!");
    EXPECT_FALSE(PageOpen(kSeqPanelSaveOpen));
    EXPECT_EQ(g_SeqSimSlots.sim, 0) << "no memory in use was made";
    EXPECT_NE(Notices() & kSeqNoticeSaved, 0);
}

// The knob runs the list with its sign reversed and stops at SIM0 and SIM9.
TEST_F(SimMemory, RecallListKnobStopsAtItsEnds) {
    struct Case {
        uint32_t from;
        int8_t delta;
        uint32_t to;
    } cases[] = {{0, 1, 0}, {9, -1, 9}, {3, -1, 4}, {3, 2, 1}};
    for (const Case& c : cases) {
        OpenRecallList(c.from);
        Press(menuSimulationRecallMemory, Knob(c.delta));
        EXPECT_EQ(SeqSimGetRecallSlot(), c.to) << c.from << " " << int{c.delta};
    }
}

TEST_F(SimMemory, RecallWithTheSameWiringLoadsTheSlotAndAsksForAPreparation) {
    Store(2, 0);
    OpenRecallList(2);
    Press(menuSimulationRecallMemory, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Popup(), "Recalled from SIM2");
    EXPECT_EQ(Rec(kSimNormal1, 0).acv, 4000u);
    EXPECT_EQ(g_SeqSimSlots.sim, 2);
    EXPECT_EQ(SimPrepRequest.load(), 1u);
    EXPECT_EQ(State(), kSimSelStep);
    EXPECT_FALSE(RecallPageOpen());
    EXPECT_NE(Notices() & kSeqNoticeRecalled, 0);
}

// Another wiring: the first dialog opens on ENTER, the second on NO. CANCEL in the first or NO in the
// second leave the tables, the wiring and the page bit as they were; YES recalls with the stored wiring.
TEST_F(SimMemory, RecallWithAnotherWiringIsConfirmed) {
    Store(1, 1);
    const struct {
        uint8_t first, second;  // the cursor key pressed in each dialog before ENTER, 0 none
        bool recalled;
    } cases[] = {{'W', 0, false}, {0, 0, false}, {0, 'V', true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.first} << " " << int{c.second});
        OpenRecallList(1);
        Press(menuSimulationRecallMemory, Key(kClassKeypad, kKeyEnter));
        ASSERT_EQ(State(), kSimPhaseDialog);
        EXPECT_EQ(g_DialogChoice.load(), 1u) << "ENTER";
        if (c.first != 0) Press(menuSimulationOutputPhase, Key(kClassCursor, c.first));
        EXPECT_EQ(g_DialogChoice.load(), c.first != 0 ? 0u : 1u);
        Press(menuSimulationOutputPhase, Key(kClassKeypad, kKeyEnter));
        if (c.first == 0) {
            ASSERT_EQ(State(), kSimPhaseDialogCheck);
            EXPECT_EQ(g_EditParam.workValue.load(), 1) << "NO";
            if (c.second != 0) Press(menuSimulationOutputPhase_Check, Key(kClassCursor, c.second));
            Press(menuSimulationOutputPhase_Check, Key(kClassKeypad, kKeyEnter));
        }
        EXPECT_EQ(State(), kSimSelStep);
        EXPECT_EQ(Rec(kSimNormal1, 0).acv, c.recalled ? 4000u : 100u);
        EXPECT_EQ(GetPhaseMode(), c.recalled ? 1u : 0u);
        EXPECT_FALSE(RecallPageOpen());
        EXPECT_EQ(SimPrepRequest.load(), c.recalled ? 1u : 0u);
        EXPECT_EQ(Popup(), c.recalled ? "Recalled from SIM1" : "");
    }
}

// A memory that cannot be read asks for no wiring: the recall reports it and leaves the tables.
TEST_F(SimMemory, RecallOfAMissingMemoryFailsWithoutADialog) {
    Rec(kSimNormal1, 0).acv = 777;
    OpenRecallList(7);
    Press(menuSimulationRecallMemory, Key(kClassKeypad, kKeyEnter));
    EXPECT_EQ(Popup(), "Recall Fail!");
    EXPECT_EQ(State(), kSimSelStep);
    EXPECT_EQ(Rec(kSimNormal1, 0).acv, 777u);
    EXPECT_EQ(SimPrepRequest.load(), 0u);
    EXPECT_EQ(g_SeqSimSlots.sim, 0);
    EXPECT_FALSE(RecallPageOpen());

    // The page closed: a second recall does nothing.
    g_SeqSimBlock[0].notices.store(0);
    Sim_RecallSlot();
    EXPECT_EQ(Notices(), 0);
}

// A memory whose values fail the limits is loaded limited: prepared, but not made the memory in use.
TEST_F(SimMemory, RecallOfLimitedDataIsPreparedButNotRecorded) {
    Rec(kSimNormal1, 0).freq = 9999999;
    Save(6);
    g_SeqSimSlots.sim = 1;
    OpenPage(kSeqPanelRecallOpen);
    SeqSimSetRecallSlot(6);
    Sim_RecallSlot();
    EXPECT_EQ(Popup(), "SIM6 Data Out of Range!\n Set To Limited.");
    EXPECT_EQ(g_SeqSimErrors.simInvalid.load(), 1u);
    EXPECT_EQ(SimPrepRequest.load(), 1u);
    EXPECT_EQ(g_SeqSimSlots.sim, 1);
}

TEST_F(SimMemory, TheRangeChoosesTheStateSet) {
    SetVoltRange(0);
    EXPECT_EQ(Sim_SelectBuffers(), 0);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(g_SeqSimBlock[p].simSet, g_SimStepTable[1][p]) << "100V set";
    SetVoltRange(1);
    EXPECT_EQ(Sim_SelectBuffers(), 1);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(g_SeqSimBlock[p].simSet, g_SimStepTable[0][p]) << "200V set";
}

// Without a memory file every state of both sets holds 50.00 Hz, 0.00 V, SIN, 100.0 ms, LL and the
// angles 120.0 and 240.0 degrees.
TEST_F(SimMemory, StartUpWithoutAMemoryLoadsTheDefaultStates) {
    for (auto& set : g_SimStepTable)
        for (auto& slice : set)
            for (auto& r : slice)
                r = SimStepRecord{};
    Sim_LoadLastOrDefault(8);
    for (int set = 0; set < kSimSets; ++set)
        for (int p = 0; p < kSeqSlices; ++p)
            for (uint32_t s = 0; s <= kSimNormal2; ++s) {
                const SimStepRecord& r = g_SimStepTable[set][p][s];
                EXPECT_EQ(std::tie(r.freq, r.acv, r.wave, r.time, r.syncCode, r.angleL2, r.angleL3, r.flags),
                          std::make_tuple(5000u, 0u, 17u, 1000u, 0u, 1200u, 2400u, 0u))
                    << set << " L" << p + 1 << " state " << s;
            }
}

TEST_F(SimMemory, StartUpLoadsTheLastMemory) {
    Rec(kSimAbnormal, 1).acv = 4321;
    Save(2);
    Rec(kSimAbnormal, 1).acv = 0;
    Sim_LoadLastOrDefault(2);
    EXPECT_EQ(Rec(kSimAbnormal, 1).acv, 4321u);
}

// Exit with digits typed only cancels them; then it closes the list.
TEST_F(SimMemory, ExitClosesTheList) {
    OpenRecallList(0);
    test::Type(menuSimulationRecallMemory, "5");
    Press(menuSimulationRecallMemory, Key(kClassKeypad, kKeyExit));
    EXPECT_EQ(State(), kSimRecallList);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    EXPECT_FALSE(RecallPageOpen()) << "the page bit is cleared in any case";
    Press(menuSimulationRecallMemory, Key(kClassKeypad, kKeyExit));
    EXPECT_EQ(State(), kSimSelStep);
    EXPECT_FALSE(RecallPageOpen());
}

}  // namespace
