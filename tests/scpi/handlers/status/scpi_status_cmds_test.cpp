// *CLS, the registers of the four status groups and STATus:PRESet, and the preset commands' refusal in
// SEQ/SIM, on a capturing fake channel.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/control/alarms/alarm_state.h"
#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/status/scpi_status.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/scpi/channel_test_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/popup_passes.h"

namespace {

using namespace scpi;

struct Group {
    const char* name;
    int (*set)(ScpiStatusBlock*, uint32_t, uint16_t);
    int (*get)(const ScpiStatusBlock*, uint32_t);
    int (*eventQuery)(ScpiInterface*);
};

const Group kGroups[] = {
    {"OPERation", scpiOperRegSet, scpiOperRegGet, CmdStat<kCmdStatOperEven>},
    {"QUEStionable", scpiQuesRegSet, scpiQuesRegGet, CmdStat<kCmdStatQuesEven>},
    {"WARNing", scpiWarnRegSet, scpiWarnRegGet, CmdStat<kCmdStatWarnEven>},
    {"LOCK", scpiLockRegSet, scpiLockRegGet, CmdStat<kCmdStatLockEven>},
};

class StatusCommands : public test::CtrlTest {
  protected:
    scpitest::FakeChannel ch{kChanLan};
};

// An EVENt register is read and cleared: the next query finds only what happened since.
TEST_F(StatusCommands, EventRegistersAreClearedByTheirQueryAndCls) {
    for (const Group& g : kGroups) {
        g.set(&ch.status, kRegEvent, 0x0104);
        EXPECT_EQ(ch.Call(g.eventQuery, true), "+260|0") << g.name;
        EXPECT_EQ(ch.Call(g.eventQuery, true), "+0|0") << g.name;
        EXPECT_EQ(ch.Call(g.eventQuery, false, kItemInt, 1), "|12") << g.name;  // read-only
    }
    // *CLS: the error queue, the event status register and the four groups' EVENt registers, the protection
    // alarms (the stage is told to clear and the clear countdown starts) and a popup that waits to be closed.
    for (const Group& g : kGroups) {
        g.set(&ch.status, kRegEnable, 0x7FFF);
        g.set(&ch.status, kRegEvent, 0x0010);
    }
    scpiEsrSet(&ch.status, kEsrCme);
    scpiErrorQueuePush(&ch.ifc.errq, kScpiErrSyntax, "");
    ShowMessageHold("Held popup");
    testsupport::PopupPasses();
    ASSERT_EQ(MsgPopup_IsPersistent(), 1);
    core::g_AlarmClearCountdown = 0;
    ASSERT_FALSE(SysStatusTest(kSysAlarmLatched));
    test::ClearTrace();

    EXPECT_EQ(ch.Call(CmdCls, false), "|0");
    for (const Group& g : kGroups) {
        EXPECT_EQ(g.get(&ch.status, kRegEvent), 0) << g.name;
        EXPECT_EQ(g.get(&ch.status, kRegEnable), 0x7FFF) << g.name;  // enables are kept
    }
    EXPECT_EQ(scpiEsrGet(&ch.status), 0);
    EXPECT_EQ(scpiErrorQueueCount(&ch.ifc.errq), 0);
    EXPECT_EQ(core::g_AlarmClearCountdown.load(), core::kAlarmClearStart);
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0);
    EXPECT_EQ(ch.Call(CmdCls, true), "|12");
}

class StatusOverTheParser : public scpitest::ChannelTest {};

// A register keeps 15 bits of a value up to 65535; PRESet clears the enables and the negative transitions
// and sets the positive ones; CONDition and EVENt take no set. {program message, reply|errors}.
TEST_F(StatusOverTheParser, RegisterValuesAndPreset) {
    scpitest::ExpectRuns(ch, {
        {"STAT:OPER:ENAB 32768;ENAB?", "+0|"}, {"STAT:OPER:ENAB 65535;ENAB?", "+32767|"},
        {"STAT:QUES:ENAB 1.5", "|" + scpitest::kParameter}, {"STAT:WARN:ENAB 65536", "|" + scpitest::kRange},
        {"STAT:LOCK:NTR 5;:STAT:PRES;:STAT:LOCK:PTR?;NTR?;ENAB?", "+32767;+0;+0|"},
        {"STAT:OPER:COND", "|-113,\"Undefined header\""}, {"STAT:QUES?;:STAT:QUES:COND?", "+0;+0|"},
    });
}

// *RCL and *SAV are refused while SEQ/SIM is active: the live settings stay as they are.
TEST_F(StatusCommands, PresetCommandsAreRefusedInSeqSim) {
    ASSERT_EQ(ch.Call(CmdSav, false, kItemInt, 1), "|0");
    ASSERT_EQ(SetAcv(5000, 0), 5000);
    OutputFlagSet(kOutFlagSeqSimActive);
    MsgQueue_Clear();
    EXPECT_EQ(ch.Call(CmdRcl, false, kItemInt, 1), "|41");
    EXPECT_EQ(GetAcv(0), 5000);
    EXPECT_EQ(ch.Call(CmdSav, false, kItemInt, 2), "|41");
    EXPECT_EQ(MsgQueue_Count(), 0u);
    OutputFlagClear(kOutFlagSeqSimActive);
    // Outside SEQ/SIM the same recall takes the stored voltage back.
    EXPECT_EQ(ch.Call(CmdRcl, false, kItemInt, 1), "|0");
    EXPECT_NE(GetAcv(0), 5000);
    // *RCL and *SAV set the home words' indices their messages show before they post, and the current
    // preset, as the panel's save and recall keys do.
    g_HomePage.presetSel.store(7);
    ASSERT_EQ(ch.Call(CmdSav, false, kItemInt, 4), "|0");
    EXPECT_EQ(g_HomePage.saveIndex.load(), 4u);
    EXPECT_EQ(g_HomePage.presetSel.load(), 4u);
    ASSERT_EQ(ch.Call(CmdRcl, false, kItemInt, 3), "|0");
    EXPECT_EQ(g_HomePage.recallIndex.load(), 3u);
    EXPECT_EQ(g_HomePage.presetSel.load(), 3u);
    EXPECT_EQ(g_HomePage.saveIndex.load(), 4u);
}

}  // namespace
