// The SIMulation field commands on a capturing fake channel over the SIM engine: what a query leaves
// untouched (it runs on a channel thread beside the panel's edits), which states a set writes, and the
// values refused before anything is written.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "engine/seqsim/seqsim_data.h"
#include "engine/sim/sim_access.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/commands/scpi_handler_table.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"

namespace {

using namespace scpi;

class SimCmds : public ::testing::Test {
  protected:
    SimCmds() {
        test::EnterSim();
        Suffix(1);
    }
    // The NORMal and TRANsition suffix, at the second header level.
    void Suffix(int32_t n) {
        ch.cmd->suffixCount = 3;
        ch.cmd->suffix[0] = -1;
        ch.cmd->suffix[1] = n;
        ch.cmd->suffix[2] = -1;
    }
    test::SeqSimEnv env_;
    scpitest::FakeChannel ch{kChanLan};
};

const std::string kRangeRow = "|" + std::to_string(kScpiErrDataOutOfRange);

// {handler, suffix, reply}: each query, from another current state and a clean mark, answers the state
// it names and leaves both as they were.
TEST_F(SimCmds, QueryReadsTheNamedStateAndChangesNothing) {
    engine::SimRecAt(kSimAbnormal, 0).freq = 5500;
    engine::SimRecAt(kSimTrans1, 0).freq = 4000;
    engine::SimRecAt(kSimNormal2, 0).time = 20000;
    engine::SimRecAt(kSimTrans2, 0).syncCode = 2;
    engine::SimRecAt(kSimNormal1, 0).acv = 12345;
    const struct {
        int (*handler)(ScpiInterface*);
        int32_t suffix;
        const char* expect;
    } cases[] = {
        {CmdSourSim<kCmdSourSimAbnFreq>, 1, "+55.00|0"}, {CmdSourSim<kCmdSourSimNormTime>, 2, "+2.0000|0"},
        {CmdSourSim<kCmdSourSimTranCode>, 2, "+2|0"},    {CmdSourSim<kCmdSourSimNormVolt>, 1, "+123.45|0"},
        {CmdSourSim<kCmdSourSimRepCoun>, 1, "+0|0"},     {CmdSourSim<kCmdSourSimInitPhasStarEnab>, 1, "+0|0"},
    };
    for (const auto& c : cases) {
        SeqSimSetCurStep(kSimTrans2);
        SeqSimClearDirty();
        Suffix(c.suffix);
        EXPECT_EQ(ch.Call(c.handler, true), c.expect);
        EXPECT_EQ(SeqSimGetCurStep(), static_cast<uint32_t>(kSimTrans2)) << c.expect;
        EXPECT_EQ(SeqSimIsDirty(), 0) << c.expect;
    }
}

// A set of the shared voltage writes each state of its group, in its order, and ends on the named one.
TEST_F(SimCmds, SharedValuesGoIntoEveryStateOfTheGroup) {
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimNormVolt>, false, kItemInt, 100), "|0");
    for (uint32_t s : {kSimNormal1, kSimTrans2, kSimNormal2})
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(engine::SimRecAt(s, p).acv, 10000u) << s << " " << p;
    EXPECT_EQ(SeqSimGetCurStep(), static_cast<uint32_t>(kSimNormal1));
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimAbnFreq>, false, kItemReal, 55.0), "|0");
    EXPECT_EQ(engine::SimRecAt(kSimTrans1, 0).freq, 5500u);
    EXPECT_EQ(engine::SimRecAt(kSimAbnormal, 0).freq, 5500u);
    EXPECT_EQ(SeqSimGetCurStep(), static_cast<uint32_t>(kSimAbnormal));
    // The run ends on the end state, which holds Initial's voltage: it follows each write of it, in the
    // record and in the stage's step copy.
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimInitVolt>, false, kItemInt, 70), "|0");
    for (uint32_t p = 0; p < 3; ++p) {
        EXPECT_EQ(engine::SimRecAt(kSimNoState, static_cast<int>(p)).acv, 7000u) << p;
        EXPECT_NE(test::StepWord(775 + p, kSimInitial), 0u) << p;
        EXPECT_EQ(test::StepWord(775 + p, kSimNoState), test::StepWord(775 + p, kSimInitial)) << p;
    }
    EXPECT_EQ(SeqSimGetCurStep(), static_cast<uint32_t>(kSimInitial));
    Suffix(2);
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimNormVolt>, false, kItemInt, 50),
              "|" + std::to_string(kScpiErrUndefinedHeader));
    EXPECT_EQ(engine::SimRecAt(kSimNormal2, 0).acv, 10000u);
}

// {handler, type, value}: negatives, values whose steps leave 32 bits and values beyond a limit of any
// state or phase the command writes are refused with nothing written: the Normal 1 group, the Abnormal
// pair, and L1's write of all three phases, where L3's 600 Hz allows no angle above 359.0.
TEST_F(SimCmds, RefusedValuesWriteNothing) {
    SeqSimSetCurStep(kSimNormal1);
    const uint32_t time = engine::SimRecAt(kSimNormal1, 0).time;
    const struct {
        int (*handler)(ScpiInterface*);
        uint8_t type;
        double real;
        int32_t integer;
    } cases[] = {
        {CmdSourSim<kCmdSourSimNormTime>, kItemReal, -0.5, 0},
        {CmdSourSim<kCmdSourSimNormTime>, kItemReal, 214749.0, 0},  // 2147490000 steps
        {CmdSourSim<kCmdSourSimNormTime>, kItemInt, 0, 214749},
        {CmdSourSim<kCmdSourSimNormTime>, kItemInt, 0, -1},
    };
    for (const auto& c : cases) {
        SeqSimClearDirty();
        const std::string got = c.type == kItemReal ? ch.Call(c.handler, false, c.type, c.real)
                                                    : ch.Call(c.handler, false, c.type, c.integer);
        EXPECT_EQ(got, kRangeRow) << c.real << " " << c.integer;
        EXPECT_EQ(engine::SimRecAt(kSimNormal1, 0).time, time);
        EXPECT_EQ(SeqSimIsDirty(), 0);
    }
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimNormPhasStarEnab>, false, kItemInt, -1), kRangeRow);
    EXPECT_EQ(engine::SimRecAt(kSimNormal1, 0).flags & kSimEnOnPhase, 0u);
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimInitCode>, false, kItemInt, 4), kRangeRow);
    EXPECT_EQ(engine::SimRecAt(kSimInitial, 0).syncCode, 0u) << "not stored at the limit";

    engine::SimRecAt(kSimNormal1, 2).freq = 60000;
    const struct {
        int (*handler)(ScpiInterface*);
        double value;
    } beyond[] = {
        {CmdSourSim<kCmdSourSimNormVolt>, 1000.0},       {CmdSourSim<kCmdSourSimAbnVolt>, 1000.0},
        {CmdSourSim<kCmdSourSimNormFreq>, 99999.0},      {CmdSourSim<kCmdSourSimAbnFreq>, 0.5},
        {CmdSourSim<kCmdSourSimNormPhasStarImm>, 359.5}, {CmdSourSim<kCmdSourSimNormTime>, 0.0},
    };
    for (const auto& c : beyond) {
        SeqSimSetCurStep(kSimNormal1);
        SeqSimClearDirty();
        SimStepRecord before[kSimSlots][3];
        for (uint32_t st = 0; st < kSimSlots; ++st)
            for (int p = 0; p < 3; ++p)
                before[st][p] = engine::SimRecAt(st, p);
        EXPECT_EQ(ch.Call(c.handler, false, kItemReal, c.value), kRangeRow) << c.value;
        for (uint32_t st = 0; st < kSimSlots; ++st)
            for (int p = 0; p < 3; ++p)
                EXPECT_EQ(std::memcmp(&before[st][p], &engine::SimRecAt(st, p), sizeof before[st][p]), 0)
                    << c.value << ": state " << st << ", phase " << p;
        EXPECT_EQ(SeqSimIsDirty(), 0) << c.value;
    }
    // The limit itself is taken, by every phase.
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimNormPhasStarImm>, false, kItemReal, 359.0), "|0");
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(engine::SimRecAt(kSimNormal1, p).onPhase, 3590u) << p;
}

// {state, repeat enable, repeat count, remote phase, handler, reply|error row}: the status queries.
TEST_F(SimCmds, StatusQueriesByStateAndRepeat) {
    const struct {
        int32_t state, enable, count;
        uint32_t phase;
        int (*handler)(ScpiInterface*);
        const char* expect;
    } cases[] = {
        {kSimNormal2, 1, 0, 0, CmdSourSim<kCmdSourSimCrepCoun>, "+5,Inf|0"},
        {kSimNormal2, 0, 0, 0, CmdSourSim<kCmdSourSimCrepCoun>, "+5,-1|0"},
        {kSimAbnormal, 1, 0, 0, CmdSourSim<kCmdSourSimCrepCoun>, "+3,-1|0"},
        {kSimAbnormal, 0, 0, 0, CmdSourSim<kCmdSourSimCst>, "+3|0"},
        {kSimTrans1, 0, 0, 0, CmdSourSim<kCmdSourSimCtim>, "+2,+0,+0,+0|0"},
        {kSimTrans1, 0, 0, 0, CmdSourSim<kCmdSourSimCond>, "+0|0"},
        {kSimTrans1, 0, 0, 2, CmdSourSim<kCmdSourSimInstSel>, "L3|0"},
    };
    for (const auto& c : cases) {
        SeqSimSetCurStep(kSimNormal2);
        SimSetEnRepeat(c.enable);
        SimSetRepeat(c.count);
        SeqSimSetCurStep(c.state);
        g_SeqSimRemoteSel[1].store(c.phase, std::memory_order_release);
        EXPECT_EQ(ch.Call(c.handler, true), c.expect);
    }
    g_SeqSimRemoteSel[1].store(0, std::memory_order_release);
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimInstSel>, false, kItemChoice, 1),
              "|" + std::to_string(kScpiErrUndefinedHeader));
    SeqSimSetMode(1);
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimCst>, true), "|" + std::to_string(kScpiErrSystem));
    EXPECT_EQ(ch.Call(CmdSourSim<kCmdSourSimCtim>, true), "+2,+0,+0,+0|0") << "in every mode";
}

// The command table runs a SIM query with the step tables held: while the runner or the panel holds them,
// the query on its channel thread waits and then reads the finished step, never one half-written.
TEST_F(SimCmds, TableRowWaitsForTheStepTablesHeldElsewhere) {
    engine::SimRecAt(kSimAbnormal, 0).freq = 5500;
    std::atomic<int> phase{0};
    std::thread holder([&] {
        std::lock_guard<std::recursive_mutex> tables(g_SeqSimTableLock);
        phase.store(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        engine::SimRecAt(kSimAbnormal, 0).freq = 6000;  // the edit the query must not cut into
        phase.store(2);
    });
    for (int i = 0; i < 2000 && phase.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(phase.load(), 1);
    const std::string reply = ch.Call(kMainHandlers[kCmdSourSimAbnFreq].handler, true);
    EXPECT_EQ(phase.load(), 2) << "the query ran while the tables were held";
    EXPECT_EQ(reply, "+60.00|0");
    holder.join();
}

}  // namespace
