// SIM0-SIM9 from the SIMULATE panel: save and recall of the chosen slot with their messages, the state set
// by voltage range, and the memory loaded at start-up.
#include "screens/seqsim/sim/memory/sim_memory.h"

#include <filesystem>

#include "core/control/setting_accessors.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "tests/screens/seqsim/sim_fixture.h"

namespace {

using test::Popup;
using test::Rec;

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
    test::SimPanelEnv env_;
};

TEST_F(SimMemory, SaveWritesTheChosenSlot) {
    Rec(kSimNormal1, 0).acv = 12345;
    Save(3);
    EXPECT_EQ(Popup(), "Saved to SIM3");
    EXPECT_EQ(Root().Read("/mnt/tst/sim/SIM3.SIM").size(), 1972u);
    EXPECT_EQ(g_SeqSimSlots.sim, 3);
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

TEST_F(SimMemory, RecallLoadsTheSlotAndAsksForAPreparation) {
    Rec(kSimNormal1, 2).acv = 12345;
    Save(5);
    Rec(kSimNormal1, 2).acv = 100;
    OpenPage(kSeqPanelRecallOpen);
    SeqSimSetRecallSlot(5);
    MsgQueue_Clear();
    Sim_RecallSlot();
    EXPECT_EQ(Popup(), "Recalled from SIM5");
    EXPECT_EQ(Rec(kSimNormal1, 2).acv, 12345u);
    EXPECT_EQ(g_SeqSimSlots.sim, 5);
    EXPECT_EQ(SimPrepRequest.load(), 1u);
    EXPECT_FALSE(PageOpen(kSeqPanelRecallOpen));
    EXPECT_NE(Notices() & kSeqNoticeRecalled, 0);
}

TEST_F(SimMemory, RecallOfAMissingMemoryFails) {
    Rec(kSimNormal1, 0).acv = 777;
    OpenPage(kSeqPanelRecallOpen);
    SeqSimSetRecallSlot(7);
    Sim_RecallSlot();
    EXPECT_EQ(Popup(), "Recall Fail!");
    EXPECT_EQ(Rec(kSimNormal1, 0).acv, 777u);
    EXPECT_EQ(SimPrepRequest.load(), 0u);
    EXPECT_EQ(g_SeqSimSlots.sim, 0);
    EXPECT_FALSE(PageOpen(kSeqPanelRecallOpen));

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
                EXPECT_EQ(r.freq, 5000u);
                EXPECT_EQ(r.acv, 0u);
                EXPECT_EQ(r.wave, 17u);
                EXPECT_EQ(r.time, 1000u);
                EXPECT_EQ(r.syncCode, 0u);
                EXPECT_EQ(r.angleL2, 1200u);
                EXPECT_EQ(r.angleL3, 2400u);
                EXPECT_EQ(r.flags, 0u);
            }
}

TEST_F(SimMemory, StartUpLoadsTheLastMemory) {
    Rec(kSimAbnormal, 1).acv = 4321;
    Save(2);
    Rec(kSimAbnormal, 1).acv = 0;
    Sim_LoadLastOrDefault(2);
    EXPECT_EQ(Rec(kSimAbnormal, 1).acv, 4321u);
}

}  // namespace
