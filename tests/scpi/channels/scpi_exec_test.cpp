// The execution loop of a channel with its real parts: the parser, the handlers, the set-command
// hand-over through the message queue to the menu/control thread's pass, and the transmit queue. Each
// send of the port arrives as one record ("|" between records).
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>

#include "core/control/calibration/cal_state.h"
#include "core/control/sync/output_pending.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/model_table.h"
#include "core/system/links/remote_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/stage_status.h"
#include "core/system/state/sys_status.h"
#include "panel/menu_thread.h"
#include "platform/host/clock.h"
#include "platform/stage/power_stage_sim.h"
#include "platform/stage/reg_map.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/parser/scpi_errors.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/default_store.h"
#include "tests/support/temp_root.h"

namespace {

using scpitest::FakeChannel;

class ExecLoop : public ::testing::Test {
  protected:
    testsupport::TempRoot root;  // what the menu/control thread's start writes goes here
    scpitest::MenuEnv env;
    FakeChannel a{kChanLan};
    FakeChannel b{kChanUsbGpib};
    const std::string idn = g_IdnBuf;
};

// Replies, errors and status through the real handlers: {program messages, records sent, errors}.
TEST_F(ExecLoop, MessagesThroughTheRealHandlers) {
    EXPECT_EQ(idn, "QX-ORVANE,VRN,,1.06");
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"*OPC;*ESR?;*ESR?\n", "+1;+0\n", ""},  // *ESR? is cleared by reading
        {"*IDN?\n*STB?\n", idn + "\n|+0\n", ""},
        {"*IDN?;*ESE 256\n", idn + "\n", "-222,\"Data out of range\""},  // a failing set keeps the reply
        {"*ESE?\n", "+0\n", ""},
        // Register values are checked by type and range.
        // A command refused at execution leaves the rest of the message: the query is answered.
        {"*ESE 255;*ESE -1;*ESE?\n", "+255\n", "-222,\"Data out of range\""},
        {"*ESE?\n", "+255\n", ""},
        {"*ESE #H20\n*ESE ON\n*ESE 1.5\n", "",
         "-148,\"Character data not allowed\" | -120,\"Numeric data error\""},
        {"*ESE \"7\"\n*ESE #13abc\n", "",
         "-158,\"String data not allowed\" | -168,\"Block data not allowed\""},
        {"*ESE\n*ESE 1,2\n*ESE?\n", "+32\n",
         "-109,\"Missing parameter\" | -115,\"Unexpected number of parameters\""},
        // Forms a handler does not implement are undefined headers.
        {"*IDN\n*ESR\n*STB\nSYST:ERR\n*CAL\n", "",
         "-113,\"Undefined header\" | -113,\"Undefined header\" | -113,\"Undefined header\" | "
         "-113,\"Undefined header\" | -113,\"Undefined header\""},
        {"*OPC 1\n", "", "-108,\"Parameter not allowed\""},
        {"VOLTA\n*CLS;*ESR?;SYST:ERR?\n", "+0;+0,\"No error\"\n", ""},  // *CLS travels through the queue
    };
    for (const auto& [in, sent, errors] : cases) {
        EXPECT_EQ(a.Exec(in), sent) << in;
        EXPECT_EQ(a.PopErrors(), errors) << in;
    }
    // The alternate set runs the main handlers.
    g_ScpiCmdSetSel.store(1);
    EXPECT_EQ(a.Exec("*IDN?;*ESE 16;*ESE?\n"), idn + ";+16\n");
}

// *OPC? waits while the instrument is busy, but not for good: a stage that never gets ready would hold the
// channel. After a minute it gives up with an error and an empty line, never a late "1" that a client would
// misread.
TEST_F(ExecLoop, OperationCompleteQueryGivesUpOnAnInstrumentThatStaysBusy) {
    plat::SetTimeScale(2000.0);  // the minute passes in 30 ms
    g_BusHold.store(1);
    const std::string stuck = a.Exec("*OPC?\n");
    g_BusHold.store(0);
    plat::SetTimeScale(1.0);
    EXPECT_EQ(stuck, "\n");
    EXPECT_EQ(a.PopErrors(), "-200,\"Execution error\"");
    EXPECT_EQ(a.Exec("*OPC?\n"), "1\n");
}

TEST_F(ExecLoop, SetCommandWaitsForItsCompletionAndNothingIsReadMeanwhile) {
    a.Feed("*ESE 8;*ESE?\n");
    for (int i = 0; i < 4 && a.parse.state != kParsePosted; ++i)
        a.Pass();
    ASSERT_EQ(a.parse.state, static_cast<uint32_t>(kParsePosted));
    const size_t consumed = a.inputPos;
    for (int i = 0; i < 3; ++i)
        a.Pass();
    EXPECT_EQ(a.inputPos, consumed);  // one command in flight: the rest of the message waits
    EXPECT_EQ(scpiEseGet(&a.status), 0);
    // The menu/control thread runs the handler, on its own thread, and completes the command.
    std::thread menu([] { MenuThread_Pass(); });
    menu.join();
    EXPECT_EQ(scpiEseGet(&a.status), 8);
    EXPECT_EQ(a.Exec(""), "+8\n");
}

TEST_F(ExecLoop, CompletionsGoToTheChannelThatPostedTheCommand) {
    a.Feed("*ESE 1\n");
    a.Pass();
    b.Feed("*ESE 2\n");
    b.Pass();
    ASSERT_EQ(a.parse.state, static_cast<uint32_t>(kParsePosted));
    ASSERT_EQ(b.parse.state, static_cast<uint32_t>(kParsePosted));
    MenuThread_Pass();  // a's command
    b.Pass();
    EXPECT_EQ(b.parse.state, static_cast<uint32_t>(kParsePosted));  // a's completion is not b's
    a.Exec("");
    EXPECT_EQ(scpiEseGet(&a.status), 1);
    b.Exec("");
    EXPECT_EQ(scpiEseGet(&b.status), 2);
    // The error queue and the status stay on their channel.
    a.Exec("VOLTA 100\n*ESE 300\n");
    EXPECT_EQ(b.Exec("SYST:ERR?\n"), "+0,\"No error\"\n");
    EXPECT_EQ(a.Exec("SYST:ERR?;ERR?;ERR?\n"),
              "-113,\"Undefined header\";-222,\"Data out of range\";+0,\"No error\"\n");
}

TEST_F(ExecLoop, SetCommandWhileARebootIsPendingIsRefusedWithoutBeingPosted) {
    SysStatusSet(kSysSetCommandsBarred);
    EXPECT_EQ(a.Run("*ESE 4"), "|" + scpitest::kSystem);
    EXPECT_EQ(scpiEseGet(&a.status), 0);
    SysMsg msg{};
    EXPECT_EQ(MsgQueueRecv(&msg, kMsgSetCommand), -1);
    // Not run in the middle: nothing after it runs; the query before it is answered, the one after it
    // gets its empty field.
    EXPECT_EQ(a.Run("*IDN?;*ESE 4;*STB?"), idn + ";|" + scpitest::kSystem);
}

// Replies too large for the queue are never sent cut short: the message is answered with an empty line.
TEST_F(ExecLoop, RepliesTooLargeForTheQueueAreRefusedWhole) {
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += "*IDN?;";
    many.back() = '\n';
    EXPECT_EQ(a.Exec(many), "\n");
    EXPECT_EQ(a.PopErrors(), "-223,\"Too much data\"");
    EXPECT_EQ(a.port.txq.ring.used, 0);
    EXPECT_EQ(a.Exec("*IDN?\n"), idn + "\n");
    // An error that could not be answered stays queued.
    a.Exec("VOLTA\n");
    a.port.txq.ring.used = static_cast<int32_t>(kTxRingSize);  // no room at all
    a.Exec("SYST:ERR?\n");
    a.port.txq = ScpiTxQueue{};
    EXPECT_EQ(a.PopErrors(), "-113,\"Undefined header\" | -223,\"Too much data\"");
}

// A dropped session leaves nothing for the next client: a committed reply and a half-read header, a large
// reply queued by reference (its shared buffer released, as it is once sent), a posted command (the drop
// returns only once the menu/control thread is done with it). A channel started again, as a restarted LAN
// session starts it, begins with an empty command log.
TEST_F(ExecLoop, DroppedSessionLeavesNothingForTheNextClient) {
    a.Feed("*IDN?\n*ES");
    while (a.inputPos < a.input.size())
        a.Pass();  // the reply is committed, not sent; a header is half read
    scpi::ChannelDropSession(&a.ifc);
    EXPECT_EQ(a.Transmit(), "");
    EXPECT_EQ(a.Run("E?"), "|-113,\"Undefined header\"");  // "E?" alone, not the rest of "*ESE?"

    uint8_t* buf = a.PrepareLargeReply(3000);
    ASSERT_NE(buf, nullptr);
    EXPECT_EQ(a.Exec(""), std::string(3000, 'z') + "|\n");
    EXPECT_EQ(SharedBufClaim(), buf);
    core::SharedBufFree();
    ASSERT_NE(buf = a.PrepareLargeReply(100000), nullptr);
    a.Pass();  // queued and committed, not sent: the client is gone
    ASSERT_EQ(a.ifc.deferredState, 2u);
    scpi::ChannelDropSession(&a.ifc);
    EXPECT_EQ(SharedBufClaim(), buf);
    core::SharedBufFree();
    EXPECT_EQ(a.Exec("*STB?\n"), "+0\n");

    a.Feed("*ESE 64\n");
    a.Pass();
    ASSERT_EQ(a.parse.state, static_cast<uint32_t>(kParsePosted));
    std::thread menu([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        MenuThread_Pass();
    });
    scpi::ChannelDropSession(&a.ifc);
    menu.join();
    EXPECT_EQ(a.parse.state, static_cast<uint32_t>(kParseHeader));
    EXPECT_EQ(scpiEseGet(&a.status), 64);
    SysMsg msg{};
    EXPECT_EQ(MsgQueueRecv(&msg, kMsgCompletionBase + long{kChanLan}), -1);

    a.Reset();
    char dump[scpi::kScpiLogDumpSize];
    scpi::LogDump(&a.ifc, dump, sizeof dump);
    EXPECT_STREQ(dump, "No Command Record Data\n");
}

// A set command the menu/control thread cannot run (no channel context to run it with) completes as
// failed; one it never takes is given up after the channel's longest wait and does not run later.
// Either way the command reports "-310" and the channel serves the next client.
TEST_F(ExecLoop, SetCommandThatIsDroppedOrNeverTakenFailsAndTheChannelGoesOn) {
    const ScpiHandoverOps* ops = g_ScpiHandoverOps.exchange(nullptr);
    EXPECT_EQ(a.Run("*ESE 64"), "|" + scpitest::kSystem);
    g_ScpiHandoverOps.store(ops);
    EXPECT_EQ(a.Exec("*ESE 16;*ESE?\n"), "+16\n");

    plat::SetTimeScale(1000);
    a.Feed("*ESE 32\n");
    a.Pass();
    ASSERT_EQ(a.parse.state, static_cast<uint32_t>(kParsePosted));
    std::atomic<bool> returned{false};
    std::thread client([&] {
        scpi::ChannelDropSession(&a.ifc);
        returned.store(true);
    });
    for (int i = 0; i < 500 && !returned.load(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(returned.load()) << "the channel still waits for a command nobody took";
    while (!returned.load()) {  // lets the waiting channel go all the same
        SysMsg failed{};
        failed.word0 = 1;
        MsgQueueSend(&failed, kMsgCompletionBase + long{kChanLan});
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    client.join();
    plat::SetTimeScale(1);
    EXPECT_EQ(a.PopErrors(), "-310,\"System error\"");
    MenuThread_Pass();  // takes the withdrawn message: it must not run
    EXPECT_EQ(a.Exec("*ESE?\n"), "+16\n");
}

// A unit without a model type has no parallel position of its own and is refused the master's settings as
// a slave is; its error says why, a slave's stays the plain system error. Both are device errors.
TEST_F(ExecLoop, SettingRefusedForWantOfAModelTypeSaysSo) {
    const uint32_t model = g_ModelId.load();
    SetParallelPosition(0);
    for (const uint32_t id : {0u, model}) {
        g_ModelId.store(id);
        const std::string error = id == 0 ? "-310,\"System error;no model type\"" : "-310,\"System error\"";
        EXPECT_EQ(a.Exec("*CLS;SYST:CONF:MODE SEQ;*ESR?;:SYST:ERR?\n"), "+8;" + error + "\n") << id;
        EXPECT_EQ(a.Exec("SYST:CONF:TRIG:OUTP:WIDT?;:SYST:ERR?\n"), ";" + error + "\n") << id;
    }
    SetParallelPosition(1);
}

TEST_F(ExecLoop, RecognisedCommandSwitchesTheLocalPanelToRemoteExceptRlState) {
    a.parse.state = kParseExecute;
    a.cmd->cmdId = 189;
    EXPECT_EQ(EnterRemoteOnCommand(&a.ifc), 0u);
    EXPECT_EQ(RemoteStateGet(), static_cast<uint32_t>(kRemoteLocal));
    a.cmd->cmdId = 5;
    EXPECT_EQ(EnterRemoteOnCommand(&a.ifc), 1u);
    EXPECT_EQ(RemoteStateGet(), static_cast<uint32_t>(kRemoteRemote));
    a.parse.state = kParseHeader;
}

// A LAN channel reads its socket only while the parser needs the next byte: within a header, within the
// parameters (a message cut between two segments) and while it skips the rest of a failed message; never
// while a command runs, waits for the menu/control thread or drains a large reply.
TEST(ChannelInput, WaitsForInputOnlyWhereTheParserNeedsTheNextByte) {
    FakeChannel ch{kChanLan};
    const struct {
        uint32_t state;
        bool waits;
    } rows[] = {{kParseHeader, true},    {kParseParams, true},    {kParseSkip, true},
                {kParseExecute, false},  {kParsePosted, false},   {kParseFinished, false},
                {kParseDeferred, false}};
    for (const auto& row : rows) {
        ch.parse.state = row.state;
        EXPECT_EQ(scpi::WaitsForInput(&ch.ifc), row.waits) << row.state;
    }
    ch.parse.state = kParseHeader;
}

TEST(ScpiFormatInt, Modes) {
    // {value, mode, text}
    const std::tuple<int32_t, uint32_t, const char*> cases[] = {
        {-1234, 0x80, "-1.234"}, {5, 0, "0.005"},     {-42, 1, "-42"},
        {7, 0x81, "+7"},         {0, 0x81, "+0"},     {-2147483647 - 1, 0x81, "-2147483648"},
        {255, 2, "000000FF"},    {-1, 2, "FFFFFFFF"}, {-255, 0x82, "-000000FF"},
    };
    for (const auto& [value, mode, text] : cases) {
        char buf[24];
        EXPECT_EQ(scpiFormatInt(buf, value, mode), static_cast<int>(std::strlen(text)));
        EXPECT_STREQ(buf, text) << value << " mode " << mode;
    }
}

// The commands of one program message take effect in their order, though the menu/control thread takes
// each as soon as it is handed over, between its passes: a change the control task answers by rewriting
// other settings completes only once the task has done so. {message, query, reply after the message and
// the task's passes}.
class MessageOrder : public ::testing::Test {
  protected:
    testsupport::TempRoot root;
    test::DefaultStore store;
    scpitest::MenuEnv env;
    FakeChannel ch{kChanLan};
};

TEST_F(MessageOrder, ASettingAfterAChangeTheControlTaskAnswersHolds) {
    const struct {
        const char* message;
        const char* query;
        const char* reply;
    } cases[] = {
        {"FUNC TRI;:VOLT 100", "VOLT?", "+100.0000|"},
        {"OUTP OFF;:MODE ACDC-INT;:FUNC SQU;:VOLT 50", "VOLT?", "+50.0000|"},
        {"SYST:ACV:UNIT 1;:OUTP ON", "OUTP?", "+1|"},
    };
    ch.HandOverBetweenPasses();
    // A power stage that has not booted keeps the output off: no success is reported.
    EXPECT_EQ(ch.Run("OUTP ON"), "|" + scpitest::kExecution);
    g_PowerStageBootStatus.store(1);
    for (const auto& c : cases) {
        EXPECT_EQ(ch.RunTaken(c.message), "|") << c.message;
        EXPECT_EQ(ch.Run(c.query), c.reply) << c.message;
    }
    g_PowerStageBootStatus.store(0);
}

// A per-phase setting reaches the stage though the message selects another line before the control task's
// next pass: every phase's change is played, whichever line is selected when the message ends. {message,
// register, word played: volts, amperes and degrees as floats, the frequency in 0.0001 Hz}.
TEST_F(MessageOrder, EveryPhasesChangeReachesTheStageWhicheverLineIsSelectedAtTheEnd) {
    constexpr auto F = [](float v) { return std::bit_cast<uint32_t>(v); };
    ch.HandOverBetweenPasses();
    ASSERT_EQ(ch.Run("MODE ACDC-INT;:INST:EDIT EACH"), "|");
    const struct {
        const char* message;
        uint32_t reg;
        uint32_t word;
    } cases[] = {
        {"INST:SEL L2;:VOLT 88;:INST:SEL L1", regmap::kAcv + 1, F(88)},
        {"INST:SEL L3;:VOLT 45;:INST:SEL L1;:VOLT 34", regmap::kAcv + 2, F(45)},
        {"INST:SEL L3;:VOLT 45;:INST:SEL L1;:VOLT 34", regmap::kAcv + 0, F(34)},
        {"INST:SEL L2;:VOLT:OFFS 7;:INST:SEL L3", regmap::kDcv + 1, F(7)},
        {"INST:SEL L3;:CURR:LIM:RMS 5;:INST:SEL L2", regmap::kIrmsLimit + 2, F(5)},
        {"INST:SEL L2;:CURR:LIM:PEAK:HIGH 60;:INST:SEL L1", regmap::kIpkLimitHigh + 1, F(60)},
        {"INST:SEL L3;:PHAS:STAR 90;:INST:SEL L1", regmap::kOnPhase + 4, F(90)},
        {"INST:SEL L2;:FREQ 55;:INST:SEL L1", regmap::kOutputFreq + 1, 550000},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ch.RunTaken(c.message), "|") << c.message;
        EXPECT_EQ(plat::PowerStage().Applied(c.reg), c.word) << c.message << ": register " << c.reg;
    }
    EXPECT_EQ(ch.Run("INST:SEL L2;:VOLT?;:INST:SEL L1;:VOLT?"), "+88.0000;+34.0000|");
}

// *OPC? waits for the changes of its own channel, not for the unit to fall idle: it answers while another
// client's set commands keep the control task writing, once its own frequency is played. The other thread
// is the menu/control thread, which runs the other client's commands before its passes; after the bound it
// runs its passes alone, so that a wait that needs a quiet unit ends too.
TEST_F(MessageOrder, OperationCompleteWaitsForItsOwnChangesNotForAnotherClients) {
    ch.HandOverBetweenPasses();
    ASSERT_EQ(ch.Run("FREQ 55"), "|");  // taken between passes: not yet played
    std::atomic<bool> answered{false};
    bool answeredWhileSetting = false;
    std::thread menu([&] {
        const uint64_t endMs = plat::NowMs() + 5000;
        for (int32_t limit = 500; !answered.load() && plat::NowMs() < endMs; limit ^= 1) {
            SetCurrLimit(limit, 1);
            core::NoteSettingsChange();
            MenuThread_Pass();
        }
        answeredWhileSetting = answered.load();
        while (!answered.load())
            MenuThread_Pass();
    });
    const std::string reply = ch.Run("*OPC?");
    answered.store(true);
    menu.join();
    EXPECT_EQ(reply, "1|");
    EXPECT_TRUE(answeredWhileSetting);
    EXPECT_EQ(plat::PowerStage().Applied(regmap::kOutputFreq), 550000u);
}

// A command that writes nothing the stage plays is done at once: *OPC? after it waits neither for the
// control task nor for another channel's change the task has not taken up (no pass runs here).
TEST_F(MessageOrder, StatusRegisterSetIsCompleteAtOnce) {
    FakeChannel other{kChanUsbGpib};
    ASSERT_EQ(ch.Run("FREQ 55"), "|");
    plat::SetTimeScale(2000.0);  // a wait for the task gives up within 30 ms
    const std::string reply = other.Run("*ESE 1;*OPC?;*SRE 1;*OPC?;:STAT:OPER:ENAB 1;*OPC?");
    plat::SetTimeScale(1.0);
    EXPECT_EQ(reply, "1;1;1|");
}

// While a calibration is in progress a command that would change the page or reconfigure the output is
// refused before its handler runs, in both command sets; other settings and the queries still run.
TEST_F(MessageOrder, ACalibrationRefusesPageAndOutputChangesBeforeTheyRun) {
    const std::string conflict = "|-221,\"Settings conflict\"";
    const std::string before = ch.Run("MODE?;:VOLT:RANG?;:SYST:CONF?;:SYST:CONF:PHAS?");
    ASSERT_EQ(before, "ACDC-INT;100;CONT;3P4W|");
    g_CalState.mode.store(0x11);
    for (const char* change : {"MODE DC-INT", "VOLT:RANG 200", "SYST:CONF SEQ", "SYST:CONF:PHAS 1", "*RST",
                               "*RCL 1", "MEM:RCL 1", "INIT:NAME MEM", "*TRG", "DISP:DES:MODE SIMP",
                               "TRIG:MEM", "ZCAL:MTYP \"A\""})
        EXPECT_EQ(ch.Run(change), conflict) << change;
    g_ScpiCmdSetSel.store(1);
    EXPECT_EQ(ch.Run("MD 2"), conflict);
    g_ScpiCmdSetSel.store(0);
    EXPECT_EQ(ch.Run("MODE?;:VOLT:RANG?;:SYST:CONF?;:SYST:CONF:PHAS?"), before);
    EXPECT_EQ(ch.Run("VOLT 20;:VOLT?"), "+20.0000|");
    g_CalState.mode.store(0);
    EXPECT_EQ(ch.Run("MODE DC-INT;:MODE?"), "DC-INT|");
}

}  // namespace
