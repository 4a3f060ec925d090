// The SIMULATE memory lists and the wiring dialogs of a recall, driven by their keys.
#include "screens/seqsim/sim/memory/sim_mem_keys.h"

#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/sim/memory/sim_mem_entries.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_keys.h"
#include "tests/screens/seqsim/sim_fixture.h"

namespace {

using test::Key;
using test::Knob;
using test::Press;
using test::Rec;

constexpr uint8_t kKeypad = 1, kSoft = 3, kCursor = 4;
constexpr uint32_t kStepIndex = 463, kSaveList = 492, kRecallList = 493, kWiring = 438, kConfirm = 439;

uint32_t State() {
    return g_MenuState.load();
}
bool RecallPageOpen() {
    return (g_SeqSimBlock[0].panelFlags.load() & kSeqPanelRecallOpen) != 0;
}

class SimMemKeys : public ::testing::Test {
  protected:
    SimMemKeys() {
        SimPrepRequest.store(0);
        g_SeqSimSlots.sim = 0;
    }
    ~SimMemKeys() override { SimPrepRequest.store(0); }
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
        Press(Sim_SoftKeys, Key(kSoft, 'Z'));
        ASSERT_EQ(State(), kRecallList);
    }
    test::SimPanelEnv env_;
};

// The knob runs the list with its sign reversed and stops at SIM0 and SIM9.
TEST_F(SimMemKeys, RecallListKnobStopsAtItsEnds) {
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

TEST_F(SimMemKeys, RecallWithTheSameWiring) {
    Store(2, 0);
    OpenRecallList(2);
    Press(menuSimulationRecallMemory, Key(kKeypad, 'U'));
    EXPECT_EQ(test::Popup(), "Recalled from SIM2");
    EXPECT_EQ(Rec(kSimNormal1, 0).acv, 4000u);
    EXPECT_EQ(SimPrepRequest.load(), 1u);
    EXPECT_EQ(State(), kStepIndex);
    EXPECT_FALSE(RecallPageOpen());
}

// Another wiring: ENTER chosen in the first dialog, NO in the second; NO and CANCEL leave the tables and
// the wiring as they were, YES recalls with the stored wiring.
TEST_F(SimMemKeys, RecallWithAnotherWiringIsConfirmed) {
    Store(1, 1);
    OpenRecallList(1);
    Press(menuSimulationRecallMemory, Key(kKeypad, 'U'));
    EXPECT_EQ(State(), kWiring);
    EXPECT_EQ(g_DialogChoice.load(), 1u) << "ENTER";
    Press(menuSimulationOutputPhase, Key(kKeypad, 'U'));
    EXPECT_EQ(State(), kConfirm);
    EXPECT_EQ(g_EditParam.workValue.load(), 1) << "NO";
    Press(menuSimulationOutputPhase_Check, Key(kKeypad, 'U'));
    EXPECT_EQ(State(), kStepIndex);
    EXPECT_EQ(Rec(kSimNormal1, 0).acv, 100u);
    EXPECT_EQ(GetPhaseMode(), 0u);
    EXPECT_FALSE(RecallPageOpen());
    EXPECT_EQ(SimPrepRequest.load(), 0u);

    OpenRecallList(1);
    Press(menuSimulationRecallMemory, Key(kKeypad, 'U'));
    Press(menuSimulationOutputPhase, Key(kCursor, 'W'));
    EXPECT_EQ(g_DialogChoice.load(), 0u) << "CANCEL";
    Press(menuSimulationOutputPhase, Key(kKeypad, 'U'));
    EXPECT_EQ(State(), kStepIndex);
    EXPECT_EQ(Rec(kSimNormal1, 0).acv, 100u);
    EXPECT_FALSE(RecallPageOpen());

    OpenRecallList(1);
    Press(menuSimulationRecallMemory, Key(kKeypad, 'U'));
    Press(menuSimulationOutputPhase, Key(kKeypad, 'U'));
    Press(menuSimulationOutputPhase_Check, Key(kCursor, 'V'));
    Press(menuSimulationOutputPhase_Check, Key(kKeypad, 'U'));

    EXPECT_EQ(test::Popup(), "Recalled from SIM1");
    EXPECT_EQ(g_SimStepTable[0][0][kSimNormal1].acv, 4000u);
    EXPECT_EQ(GetPhaseMode(), 1u) << "the stored wiring is restored";
    EXPECT_EQ(State(), kStepIndex);
    EXPECT_EQ(SimPrepRequest.load(), 1u);
}

// A memory that cannot be read asks for no wiring: the recall reports it.
TEST_F(SimMemKeys, UnreadableMemoryFailsWithoutADialog) {
    OpenRecallList(7);
    Press(menuSimulationRecallMemory, Key(kKeypad, 'U'));
    EXPECT_EQ(test::Popup(), "Recall Fail!");
    EXPECT_EQ(State(), kStepIndex);
}

TEST_F(SimMemKeys, SaveListSavesTheChosenSlot) {
    Enter_menuSimulationStep();
    SeqSimSetSaveSlot(0);
    Press(Sim_SoftKeys, Key(kSoft, '['));
    ASSERT_EQ(State(), kSaveList);
    Press(menuSimulationSaveMemory, Knob(-1));
    Press(menuSimulationSaveMemory, Key(kKeypad, 'U'));
    EXPECT_EQ(test::Popup(), "Saved to SIM1");
    EXPECT_EQ(g_SeqSimSlots.sim, 1);
    EXPECT_EQ(State(), kStepIndex);
}

// Exit with digits typed only cancels them; then it closes the list.
TEST_F(SimMemKeys, ExitClosesTheList) {
    OpenRecallList(0);
    test::Type(menuSimulationRecallMemory, "5");
    Press(menuSimulationRecallMemory, Key(kKeypad, 'T'));
    EXPECT_EQ(State(), kRecallList);
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    EXPECT_FALSE(RecallPageOpen()) << "the page bit is cleared in any case";
    Press(menuSimulationRecallMemory, Key(kKeypad, 'T'));
    EXPECT_EQ(State(), kStepIndex);
    EXPECT_FALSE(RecallPageOpen());
}

}  // namespace
