// The OUTPut and PARallel commands in states the LAN socket of a fresh unit cannot reach: the other
// wirings, a parallel slave with and without the service override, a SEQ/SIM run, the impedance of all
// phases at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "scpi/handlers/scpi_handlers.h"
#include "tests/scpi/channel_test_fixture.h"

namespace {

using scpitest::kParameter, scpitest::kRange, scpitest::kSystem, scpitest::kExecution;

class OutputCommands : public scpitest::ChannelTest {
  protected:
    void TearDown() override {
        core::ServiceFlagsReset();
        SetParallelPosition(1);
    }
};

// {wiring, parallel position, override, program messages, the reply|errors of each}. A line the wiring
// lacks is neither selected nor shown in the total view, nor watched by a monitor; EDIT exists only in 3P4W;
// 1P2W has no totals, no line voltages and one peak to clear, 1P3W no L3. A slave's master owns every output
// setting but the switch, the protection clear and the position itself, and its limits and modes; 1P2W has
// no line values, no balanced view and no phase mode. The trigger output's line must exist in the wiring.
TEST_F(OutputCommands, GuardsOfWiringAndSlave) {
    SetPhaseBalanceMode(1);
    const struct {
        uint32_t wiring;
        int32_t position;
        uint32_t override;
        std::vector<const char*> messages;
        std::string expect;
    } cases[] = {
        {1, 1, 0, {"MEAS:VOLT:TOT?", "MEAS:CURR:TOT?", "FETC:POW:TOT?", "MEAS:LINE:VOLT?", "FETC:LINE:VOLT:HIGH?",
                    "MEAS:PEAK:CLE L1", "MEAS:PEAK:CLE TOT", "INST:SEL L2", "DISP:DES:MODE TOT",
                    "OUTP:MON:SOUR1 L2Voltage", "OUTP:MON:SOUR2 L3Current", "SYST:CONF:TRIG:OUTP:SOUR 1",
                    "LINE:VOLT?", "LINE:VOLT:OFFS 0"}, "|" + kExecution},
        {1, 1, 0, {"INST:EDIT?", "PHAS:BAL?", "PHAS:MODE?", "PHAS:REL?"}, "|" + kSystem},
        {2, 1, 0, {"MEAS:PEAK:CLE L3", "INST:SEL L3", "OUTP:MON:SOUR1 L3Voltage", "OUTP:MON:SOUR2 L3Current",
                    "SYST:CONF:TRIG:OUTP:SOUR 2"}, "|" + kExecution},
        {0, 1, 0, {"INST:SEL 3", "SYST:CONF:TRIG:OUTP:SOUR -1", "SYST:CONF:TRIG:OUTP:SOUR 3", "PAR:NUMB 7",
                    "PAR:NUMB 1"}, "|" + kRange},
        {1, 1, 0, {"MEAS:VOLT?"}, "+0.0000|"},
        {1, 1, 0, {"MEAS:PEAK:CLE ALL"}, "|"},
        {2, 1, 0, {"MEAS:VOLT:TOT?"}, "+0.0000|"},
        {2, 1, 0, {"INST:EDIT ALL"}, "|" + kSystem},
        {2, 1, 0, {"INST:SEL L2;SEL?"}, "L2|"},
        {1, 1, 1, {"INST:SEL L3;SEL?"}, "L3|"},
        {1, 1, 0, {"OUTP:MON:SOUR2 L1Current;SOUR2?"}, "L1Current|"},
        {2, 1, 0, {"OUTP:MON:SOUR1 L2Voltage;SOUR1?"}, "L2Voltage|"},
        {0, 1, 0, {"SYST:CONF:TRIG:OUTP:SOUR 2"}, "|"},
        {1, 1, 0, {"SYST:CONF:TRIG:OUTP:SOUR 0;SOUR?"}, "L1|"},
        {0, 1, 0, {"PHAS:BAL?"}, "PHASE|"},
        {0, 0, 0, {"CURR:LIM:PEAK:HIGH?", "CURR:LIM:PEAK:MODE?", "FUNC:THD:FORM?", "VOLT:RESP?", "PHAS:MODE?",
                    "OUTP:IMP?", "OUTP:IMP:IND? L1", "OUTP:IMP:RES L1,1", "OUTP:MON:AMPL?", "OUTP:MON:SOUR1?",
                    "OUTP:PON?", "OUTP:REL 0", "PAR:NUMB?", "PAR:ENAB?"}, "|" + kSystem},
        {0, 0, 0, {"CURR:LIM:RMS:MODE?"}, "+1|"},
        {0, 1, 0, {"PAR:NUMB 2.5"}, "|" + kParameter},
        {0, 1, 0, {"PAR:NUMB 3;NUMB?;NUMB 2;NUMB?"}, "3;2|"},
        {0, 0, 0, {"PAR:POS?;:OUTP?"}, "Slave;+0|"},
        {0, 0, 0, {"OUTP:PROT:CLE"}, "|"},
        {0, 0, 1, {"OUTP:REL?;:PAR:NUMB?"}, "+1;2|"},
        {2, 1, 0, {"SYST:CONF:TRIG:OUTP:SOUR 1", "MEAS:PEAK:CLE L2"}, "|"},
    };
    for (const auto& c : cases) {
        SetPhaseMode(c.wiring);
        SetParallelPosition(c.position);
        g_ServiceFlags.threePhase1P2W.store(c.override);
        for (const char* message : c.messages)
            EXPECT_EQ(ch.Run(message), c.expect) << c.wiring << " " << message;
    }
    // The selected line is the one the phase-specific commands address.
    EXPECT_EQ(core::SelectedPhase(), 2u);
    // The accepted clear of L2 chose it, asked the stage for the clear and told the panel.
    EXPECT_EQ(GetPeakClearItem(), 2);
    EXPECT_EQ(g_OutputShadow[0][core::kShwPeakClear].load(), 1u);
    char text[64];
    MsgQueue_CopyText(text, sizeof text);
    EXPECT_STREQ(text, "Peak Hold Clear \nSuccess");
}

// ALL sets L1 and copies it to L2 and L3; the value is in tenths, whatever the record's scale; tenths
// beyond 32 bits are refused, not converted.
TEST_F(OutputCommands, ImpedanceOfAllPhases) {
    scpitest::ExpectRuns(ch, {{"OUTP:IMP:IND ALL,1.25;IND? ALL", "+1.3,+1.3,+1.3|"},
                              {"OUTP:IMP:RES L2,MAX;RES? L2;RES? L1", "+1.0;+0.1|"},
                              {"OUTP:IMP:RES L2,1e12", "|" + kRange}, {"OUTP:IMP:RES L2,-429496729.6", "|" + kRange},
                              {"OUTP:IMP:RES L2,MIN;RES? L2,MAX", "+1.0|"}, {"OUTP:IMP:RES? L2", "+0.0|"},
                              {"OUTP:IMP:IND 4,1", "|" + kParameter}, {"OUTP:IMP:IND -1,1", "|" + kParameter}});
    EXPECT_EQ(paramGetValue(kParamInductanceL1, 0), 13);
    EXPECT_EQ(paramGetValue(kParamInductanceL3, 0), 13);
}

// OFF during a SEQ/SIM run asks the runner to stop; a switch to the state the output is in does nothing,
// not even the hand-shake. Called on the handler: the control task that takes the hand-shake is not run.
TEST_F(OutputCommands, OutputSwitchStopsARunAndIgnoresNoChange) {
    core::SysStatusReset();
    const auto field = [] { return (g_SysStatus.load() >> kSysReconfigLow) & 3u; };
    OutputFlagSet(kOutFlagOutputOn);
    EXPECT_EQ(ch.Call(scpi::CmdOutpStat, false, kItemChoice, 1), "|0");
    EXPECT_EQ(field(), 0u);
    g_SeqSimBlock[0].flags = kRunFlagRunning;
    g_SeqSimBlock[0].runWord = kRunReady << 9;
    EXPECT_EQ(ch.Call(scpi::CmdOutpStat, false, kItemChoice, 0), "|0");
    EXPECT_EQ(SeqSimRunStateIsStop(), 0);
    EXPECT_EQ((g_SeqSimBlock[0].runWord.load() >> 9) & 0xFFFFu, static_cast<uint32_t>(kRunStop));
    EXPECT_EQ(field(), 1u);
    g_SeqSimBlock[0].flags = 0;
    g_SeqSimBlock[0].runWord = 0;
    OutputFlagClear(kOutFlagOutputOn);
    EXPECT_EQ(ch.Call(scpi::CmdOutpStat, false, kItemInt, -1), "|53");
    core::SysStatusReset();
}

}  // namespace
