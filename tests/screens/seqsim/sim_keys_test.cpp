// The SIMULATE screen's keys: entry and preparation, soft and function keys, the field cursor by knob and
// cursor keys, the state index and its editor, driven through the key dispatcher.
#include "screens/seqsim/sim/sim_keys.h"

#include <string>
#include <vector>

#include "core/control/hooks/screen_request.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/run/seqsim_run.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_clamp_setters.h"
#include "platform/stage/wiring_codes.h"
#include "screens/seqsim/seqsim_entry.h"
#include "screens/seqsim/seqsim_panel.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_key_slots.h"
#include "screens/seqsim/sim/sim_prepare.h"
#include "screens/seqsim/sim/sim_remote_field.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/screen_keys.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {

constexpr uint16_t kApplyStrobe = 2340;
using namespace screenkeys;

class SimKeys : public seqedit::SeqSimTest {
  protected:
    SimKeys() {
        SeqSimSetCheckHooks({.sim = Sim_AfterFieldWrite});
        Sim_LoadDefaultSteps();
        EXPECT_EQ(Sim_RegisterSelectKeys(), 0);
        Sim_EnterMode();
        SimPrepRequest.store(1);
        Sim_PreparationStep();
        MsgQueue_Clear();
        test::ClearTrace();
    }
    ~SimKeys() override { SeqSimSetCheckHooks({}); }
    // Soft keys straight to the shared handler: the memory lists' own handlers are not this screen's.
    static void Soft(uint8_t code) {
        uint32_t ev = KeyEventPack(0, code, kClassSoft);
        Sim_SoftKeys(&ev);
    }
    static uint32_t State() { return g_MenuState.load(); }
    static uint32_t SimState() { return SeqSimGetCurStep(); }
    static void SetState(uint32_t s) { g_SeqSimBlock[0].curStep.store(s); }
    static void SetFlag(uint32_t state, uint32_t bit, bool on, int slice = 0) {
        uint32_t& f = engine::SimRecAt(state, slice).flags;
        f = on ? (f | bit) : (f & ~bit);
    }
    static void Running(bool on) {
        if (on)
            g_SeqSimBlock[0].flags.fetch_or(kRunFlagRunning);
        else
            g_SeqSimBlock[0].flags.fetch_and(static_cast<uint8_t>(~kRunFlagRunning));
    }
    // The field cursor's walk by the knob from the state index, n turns.
    static std::vector<uint32_t> Walk(int n, int8_t delta) {
        std::vector<uint32_t> seen;
        for (int i = 0; i < n; ++i) {
            Knob(delta);
            seen.push_back(State());
        }
        return seen;
    }
};

TEST_F(SimKeys, EntryPreparesAndReports) {
    // The entry's request is pending at once (a remote *OPC? waits for it) and downloads without the page.
    Seq_Exit();
    Sim_EnterMode();
    EXPECT_TRUE(SeqSimPreparationPending());
    SeqSimRunControl();
    SeqSimRunControl();
    EXPECT_TRUE(SeqSimPreparationPending());
    test::ClearTrace();
    Sim_PreparationStep();
    EXPECT_EQ(test::WritesTo(kApplyStrobe).size(), 1u);
    EXPECT_FALSE(SeqSimPreparationPending());
    test::ClearTrace();

    EXPECT_EQ(State(), uint32_t{kSimSelStep});
    EXPECT_EQ(g_SeqSimBlock[0].panelState.load(), uint32_t{kSimSelStep});
    EXPECT_EQ(SeqSimGetMode(), 2u);

    SetState(3);
    SimPrepRequest.store(1);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), uint32_t{kSimSelStep}) << "no editing before the download";
    EXPECT_EQ(Popup(), "Simulation preparation...");
    Sim_PreparationStep();
    EXPECT_EQ(Popup(), "Simulation is ready.");
    EXPECT_EQ(SimState(), 0u);
    EXPECT_EQ(SimPrepRequest.load(), 0u);
    EXPECT_EQ(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepChangePending, 0);
    EXPECT_EQ(test::WritesTo(kApplyStrobe).size(), 1u);

    test::Stage().InjectReadXor(775, 3, 2);  // the ACV register of L1's copy of Abnormal
    test::ClearTrace();
    SimPrepRequest.store(1);
    Sim_PreparationStep();
    EXPECT_EQ(Popup(), "SIM Err.(3, 1)");
    EXPECT_EQ(test::WritesTo(kApplyStrobe).size(), 1u) << "the strobe is written with mismatches too";
    EXPECT_EQ(g_SeqSimErrors.simCount.load(), 0);
    EXPECT_EQ(g_SeqSimErrors.simStep.load(), 0);
    test::Stage().ClearReadXor(775, 3);

    g_SeqSimErrors.simInvalid.store(1);
    g_SeqSimBlock[0].simRecallSlot = 4;
    SimPrepRequest.store(1);
    Sim_PreparationStep();
    EXPECT_EQ(Popup(), "SIM4 Data Out of Range!\n Set To Limited.");
    EXPECT_EQ(g_SeqSimErrors.simInvalid.load(), 0u);
}

TEST_F(SimKeys, WithdrawnPreparationLowersTheBusyBit) {
    test::ClearTrace();
    SimPrepRequest.store(0);  // the page was hidden while the download ran
    Sim_DownloadPrepared();
    EXPECT_EQ(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepChangePending, 0);
    EXPECT_TRUE(test::WritesTo(kApplyStrobe).empty());
}

TEST_F(SimKeys, PowerOnEntrySwitchesTheOutputOnAfterThePreparation) {
    Seq_Exit();
    Sim_EnterModeAtPowerOn();
    EXPECT_EQ(SeqSimGetMode(), 2u);
    EXPECT_NE(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepOutputOn, 0);
    ASSERT_TRUE(test::RunUntilRunning());
    test::Poll(5);
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn)) << "not before the preparation";
    SimPrepRequest.store(1);
    Sim_PreparationStep();
    EXPECT_EQ(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepOutputOn, 0);
    test::Poll(5);
    EXPECT_TRUE(OutputFlagTest(kOutFlagOutputOn));

    // A refused power-on entry leaves nothing that would switch the output on later.
    OutputFlagClear(kOutFlagOutputOn);
    Seq_Exit();
    SetVoltRange(4);
    Sim_EnterModeAtPowerOn();
    EXPECT_EQ(Popup(), "Invalid For Auto Range");
    EXPECT_EQ(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepOutputOn, 0);
}

TEST_F(SimKeys, SoftKeysOpenPagesAndRun) {
    auto flags = [] { return g_SeqSimBlock[0].panelFlags.load(); };
    Soft(kKeySoft2);
    EXPECT_EQ(flags() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen), kSeqPanelRecallOpen);
    EXPECT_EQ(State(), uint32_t{kSimRecallList});
    Soft(kKeySoft3);
    EXPECT_EQ(flags() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen), kSeqPanelSaveOpen);
    EXPECT_EQ(State(), uint32_t{kSimSaveList});
    Soft(kKeySoft2);
    Soft(kKeySoft2);
    EXPECT_EQ(flags() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen), 0);
    EXPECT_EQ(State(), uint32_t{kSimSelStep});

    Soft(kKeySoft2);
    Soft(kKeySoft4);
    EXPECT_EQ(flags() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen), 0);
    EXPECT_EQ(State(), uint32_t{kSimSelStep});
    EXPECT_EQ(Popup(), "Invalid with Output OFF, \nTurn ON the Output First") << "RUN with the output off";

    // RUN, HOLD, resume and STOP with the output on.
    OutputFlagSet(kOutFlagOutputOn);
    Enter_menuSimulationTime();
    Soft(kKeySoft4);
    EXPECT_EQ(SeqSimIsRunning(), 1);
    EXPECT_EQ(State(), uint32_t{kSimSelStep});
    Soft(kKeySoft3);
    EXPECT_EQ(SeqSimIsPaused(), 1);
    Soft(kKeySoft3);
    EXPECT_EQ(SeqSimIsPaused(), 0);
    Enter_menuSimulationSyncCode();
    Soft(kKeySoft4);
    EXPECT_EQ(SeqSimRunStateIsStop(), 1) << "STOP";
    EXPECT_EQ(State(), uint32_t{kSimSelStep}) << "STOP puts the cursor on the state index";
    OutputFlagClear(kOutFlagOutputOn);
    g_SeqSimBlock[0].flags.store(0);  // the runner would end the run

    Running(true);
    Knob(1);
    EXPECT_EQ(State(), uint32_t{kSimSelStep}) << "no field moves during a run";
    Soft(kKeySoft2);
    Soft(kKeySoft1);
    EXPECT_EQ(flags() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen), 0) << "no memory lists during a run";
    EXPECT_EQ(State(), uint32_t{kSimSelStep});
    EXPECT_EQ(SeqSimGetMode(), 2u);
    Running(false);

    Soft(kKeySoft1);
    EXPECT_EQ(SeqSimGetMode(), 1u) << "soft key 1 switches to SEQUENCE";
}

// Every parameter shortcut key and every function key: what SIMULATE refuses (in a two-line popup), what
// it leaves by, and what it ignores.
TEST_F(SimKeys, EveryShortcutAndFunctionKey) {
    seqedit::ExpectShortcutKeys("Invalid in This Simulate");
    const std::string outputOn = "Invalid with Output ON, \nTurn OFF the Output First";
    const struct {
        uint8_t code;
        bool running, output;
        std::string message;
        uint32_t mode;  // the SEQ/SIM mode after the key
    } keys[] = {
        {'N', false, false, "Invalid in This Simulate", 2}, {'M', true, false, outputOn, 2},
        {'M', false, true, outputOn, 2},                    {'L', false, true, outputOn, 2},
        {'L', true, false, "", 0},                          {'M', false, false, "", 0},
        {'L', false, false, "", 0},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(std::string(1, static_cast<char>(k.code)) + (k.running ? " running" : "") +
                     (k.output ? " output on" : ""));
        Sim_EnterMode();
        SimPrepRequest.store(0);
        Enter_menuSimulationSyncCode();
        Running(k.running);
        if (k.output) OutputFlagSet(kOutFlagOutputOn);
        Messages();
        g_MsgPopupLines.store(0);
        Press(k.code, kClassFunction);
        EXPECT_EQ(Messages(), k.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{k.message});
        EXPECT_EQ(g_MsgPopupLines.load(), k.message.empty() ? 0u : 2u);
        EXPECT_EQ(SeqSimGetMode(), k.mode);
        EXPECT_EQ(SeqSimIsActive(), k.mode != 0 ? 1 : 0);
        Running(false);
        OutputFlagClear(kOutFlagOutputOn);
    }
    // Outside the function keys 76-88 nothing happens, whatever the code.
    for (int code : {1, 75, 89, 200, 255}) {
        Sim_EnterMode();
        SimPrepRequest.store(0);
        Messages();
        Press(static_cast<uint8_t>(code), kClassFunction);
        EXPECT_EQ(Messages(), std::vector<std::string>{}) << code;
        EXPECT_EQ(SeqSimGetMode(), 2u) << code;
    }
}

TEST_F(SimKeys, KnobVisitsTheFieldsOfTheState) {
    using V = std::vector<uint32_t>;
    EXPECT_EQ(Walk(1, 1), V{kSimSelSyncCode}) << "Initial has no time";
    EXPECT_EQ(Walk(1, -1), V{kSimSelStep});

    SetState(1);  // Normal1, repeat off, ON/OFF enables off
    EXPECT_EQ(Walk(8, 1), (V{462, 440, 453, 459, 456, 450, 447, 447}));
    EXPECT_EQ(Walk(8, -1), (V{450, 456, 459, 453, 440, 462, 463, 463}));

    SetFlag(5, kSimEnRepeat, true);
    SetFlag(1, kSimEnOnPhase, true);
    SetFlag(1, kSimEnOffPhase, true);
    EXPECT_EQ(Walk(10, 1), (V{462, 440, 453, 454, 459, 456, 450, 444, 447, 441}));
    EXPECT_EQ(Walk(1, 1), V{441}) << "OFF phase is the last field";

    Enter_menuSimulationStep();
    SetState(2);
    SetFlag(5, kSimEnRepeat, false);
    EXPECT_EQ(Walk(4, 1), (V{462, 440, 453, 453})) << "Trans1 without repeat stops at the repeat enable";
    SetState(5);
    SetFlag(5, kSimEnRepeat, true);
    EXPECT_EQ(Walk(3, 1), (V{454, 450, 447}));
    EXPECT_EQ(Walk(2, -1), (V{450, 454}));

    // The L2/L3 fields lead among themselves and on to the phase angles.
    SetState(1);
    SetPhaseMode(2);  // 1P3W
    Enter_menuSimulationEnOnpha(1);
    EXPECT_EQ(Walk(2, 1), (V{447, 441}));
    Enter_menuSimulationEnOffpha(1);
    EXPECT_EQ(Walk(2, 1), (V{464, 464}));
    SetPhaseMode(0);  // 3P4W
    EXPECT_EQ(Walk(2, 1), (V{466, 466}));
    EXPECT_EQ(Walk(2, -1), (V{464, 449}));
}

// Every row of the knob order once more, one case per rule the walks above do not reach.
TEST_F(SimKeys, KnobOrderOfThePhaseAndAngleFields) {
    enum Setup : uint32_t {
        kNone = 0,
        kL1L2 = 1,  // wiring 1P3W
        kOn1 = 2,
        kOn2 = 4,
        kOff0 = 8,
        kOff1 = 16,
        kOff2 = 32,
        kRep = 64
    };
    struct Case {
        uint32_t from, simState, setup;
        int8_t delta;
        uint32_t to;
    } cases[] = {
        {460, 1, kNone, 1, 461},  {460, 1, kL1L2, 1, 456},          {461, 1, kNone, 1, 456},
        {461, 1, kNone, -1, 460}, {457, 1, kNone, 1, 458},          {457, 1, kL1L2, 1, 450},
        {457, 1, kNone, -1, 456}, {458, 1, kNone, 1, 450},          {458, 1, kNone, -1, 457},
        {452, 1, kOn2, 1, 446},   {452, 1, kNone, 1, 447},          {452, 1, kOn1, -1, 445},
        {452, 1, kNone, -1, 451}, {445, 1, kL1L2, 1, 447},          {445, 1, kNone, 1, 452},
        {445, 1, kNone, -1, 451}, {446, 1, kNone, 1, 447},          {446, 1, kNone, -1, 452},
        {449, 1, kOff2, 1, 443},  {449, 1, kNone, 1, 449},          {449, 1, kOff1, -1, 442},
        {449, 1, kNone, -1, 448}, {442, 1, kL1L2, 1, 464},          {442, 1, kNone, 1, 449},
        {442, 1, kNone, -1, 448}, {443, 1, kNone, 1, 443},          {443, 1, kNone, -1, 449},
        {455, 1, kNone, 1, 440},  {455, 1, kOff0, -1, 441},         {455, 1, kNone, -1, 448},
        {454, 1, kRep, -1, 453},  {454, 1, kNone, -1, 454},         {464, 2, kRep, -1, 454},
        {464, 4, kNone, -1, 453}, {464, 1, kL1L2 | kOff1, -1, 442}, {444, 1, kNone, 1, 447},
        {444, 1, kNone, -1, 450}, {441, 1, kNone, 1, 441},          {441, 1, kNone, -1, 447},
        {466, 1, kNone, 1, 466},  {448, 1, kOff1, 1, 442},          {448, 1, kNone, 1, 449},
        {448, 1, kOff0, -1, 441},
    };
    for (const Case& c : cases) {
        SetState(c.simState);
        SetPhaseMode(c.setup & kL1L2 ? kWiring1P3W : kWiring3P4W);
        SetFlag(5, kSimEnRepeat, (c.setup & kRep) != 0);
        SetFlag(c.simState, kSimEnOnPhase, (c.setup & kOn1) != 0, 1);
        SetFlag(c.simState, kSimEnOnPhase, (c.setup & kOn2) != 0, 2);
        SetFlag(c.simState, kSimEnOffPhase, (c.setup & kOff0) != 0, 0);
        SetFlag(c.simState, kSimEnOffPhase, (c.setup & kOff1) != 0, 1);
        SetFlag(c.simState, kSimEnOffPhase, (c.setup & kOff2) != 0, 2);
        ASSERT_TRUE(SimEnterSelectState(c.from)) << c.from;
        Knob(c.delta);
        EXPECT_EQ(State(), c.to) << "from " << c.from << " knob " << int{c.delta} << " setup " << c.setup;
    }
}

TEST_F(SimKeys, StepKeysChangeTheStateAndHideFields) {
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(SimState(), 0u) << "no state below Initial";
    SetState(5);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(SimState(), 5u) << "no state above Normal2";

    SetState(1);
    Enter_menuSimulationTime();
    test::ClearTrace();
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(SimState(), 0u);
    EXPECT_EQ(State(), uint32_t{kSimSelStep}) << "Initial shows no time";
    EXPECT_TRUE(test::Writes().empty()) << "the state keys write nothing to the power stage";

    SetState(1);
    Enter_menuSimulationAcv(0);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(SimState(), 2u);
    EXPECT_EQ(State(), uint32_t{kSimSelStep}) << "Trans1 shows no voltage";

    SetState(0);
    SetFlag(0, kSimEnOnPhase, true);
    Enter_menuSimulationOnpha(0);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(SimState(), 1u);
    EXPECT_EQ(State(), uint32_t{kSimSelEnOnpha}) << "Normal1's ON phase is not enabled";

    Running(true);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(SimState(), 1u);
    Running(false);
}

TEST_F(SimKeys, StateIndexEditor) {
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), uint32_t{kSimEditStep});
    test::ClearTrace();
    Knob(2);
    EXPECT_EQ(SimState(), 2u) << "the state follows the knob at once";
    EXPECT_TRUE(test::Writes().empty());
    Knob(9);
    EXPECT_EQ(SimState(), 5u);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(SimState(), 0u) << "exit puts back the state shown before editing";
    EXPECT_EQ(State(), uint32_t{kSimSelStep});

    Press(kKeyEnter, kClassKeypad);
    Press(64 + 3, kClassKeypad);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SimState(), 3u);
    EXPECT_EQ(State(), uint32_t{kSimSelStep});
    Press(kKeyEnter, kClassKeypad);
    Press(64 + 9, kClassKeypad);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(SimState(), 5u) << "a typed state is clamped";

    Press(kKeyEnter, kClassKeypad);
    Press(64 + 1, kClassKeypad);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), uint32_t{kSimEditStep}) << "exit first cancels the typed number";
    Press(kKeySeq, kClassFunction);
    EXPECT_EQ(State(), uint32_t{kSimSelStep});
    EXPECT_EQ(SimState(), 5u);
}

TEST_F(SimKeys, SelectionEntriesLoadTheField) {
    SetState(1);
    engine::SimRecAt(1, 1).acv = 2300;
    g_SeqSimScreen.fieldRedraw[1].store(0);
    Enter_menuSimulationAcv(1);
    EXPECT_EQ(State(), 460u);
    EXPECT_EQ(g_EditParam.workValue.load(), 2300);
    EXPECT_EQ(g_EditParam.startValue, 2300);
    EXPECT_EQ(g_SeqSimScreen.fieldRedraw[1].load(), 1u);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 488u) << "the editor of the same phase";

    g_SeqSimScreen.fieldRedraw[0].store(0);
    Enter_menuEditSimulationWave();
    EXPECT_EQ(g_SeqSimScreen.fieldRedraw[0].load(), 1u);

    Enter_menuSimulationSyncCode();
    engine::SimRecAt(1, 0).syncCode = 2;
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(g_EditParam.workValue.load(), 2) << "exit reloads the sync code";
    Enter_menuSimulationEnOnpha(0);
    SetFlag(1, kSimEnOnPhase, true);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(g_EditParam.workValue.load(), 0) << "exit leaves the ON enable alone";
}

TEST_F(SimKeys, RemoteSetShowsItsField) {
    ScreenRequest_SetRunners({.simShowField = Sim_ShowRemoteField});
    ScreenRequest_SetTaker();
    SetState(1);
    SimSetAcvClamp(1000, 1);
    EXPECT_EQ(State(), 460u) << "ACV L2";
    EXPECT_EQ(g_EditParam.workValue.load(), 1000);
    Knob(1);
    EXPECT_EQ(State(), 461u) << "on to ACV L3 in 3P4W";
    SimSetTimeClamp(50);
    EXPECT_EQ(State(), uint32_t{kSimSelTime});
    Enter_menuEditSimulationSyncCode();
    SimSetFreqClamp(6000, 2);
    EXPECT_EQ(State(), uint32_t{kSimEditSyncCode}) << "a field being edited stays";
    ScreenRequest_SetRunners({});
}

}  // namespace
