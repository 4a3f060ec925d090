// The register accessors: per-phase addressing and the accessors with rules of their own.
#include <bit>
#include <functional>
#include <set>
#include <thread>
#include <tuple>

#include "core/control/alarms/fault_index.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "regbus_setup.h"

using namespace regmap;

// Also where two blocks interleave; a phase outside L1-L3 moves nothing.
TEST_F(RegBusTest, PhaseWritersAddressTheirPhase) {
    const std::pair<std::function<int(int)>, Block> cases[] = {
        {[](int p) { return BusReg_SetAcv(regbus::Phase(p), 100); }, kAcv},
        {[](int p) { return BusReg_SetOnPhase(900, regbus::Phase(p)); }, kOnPhase},
        {[](int p) { return BusReg_SetOffPhase(900, regbus::Phase(p)); }, kOffPhase},
        {[](int p) { return BusReg_SetWaveform(regbus::Phase(p), 17); }, kWaveform},
        {[](int p) { return BusReg_SetStepDuty(100, regbus::Phase(p)); }, kStepDuty},
    };
    for (const auto& [call, block] : cases) {
        for (int phase = 0; phase < 3; ++phase) {
            Clear();
            EXPECT_EQ(call(phase), 0);
            EXPECT_EQ(OnlyTransfer(Transfers()).reg, block.at(phase)) << block.first << " L" << phase + 1;
        }
        EXPECT_EQ(call(3), -1);
        EXPECT_EQ(call(-1), -1);
    }
    using Writer = int (*)(int32_t);
    for (auto [call, reg] : {std::pair<Writer, uint32_t>{BusReg_SetL2Inductance, kInductance.at(1)},
                             {BusReg_SetL2Resistance, kResistance.at(1)},
                             {BusReg_SetStepTime, kStepTime}}) {
        Clear();
        call(5);
        EXPECT_EQ(OnlyTransfer(Transfers()).reg, reg);
    }
}

TEST_F(RegBusTest, ReadersOutsideTheirPhasesOrRowsReadZeroWithoutATransfer) {
    EXPECT_EQ(BusReg_GetModuleWord(3), 0);
    EXPECT_EQ(BusReg_GetAlarmWord(-1), 0u);
    EXPECT_EQ(BusReg_GetSlaveCounter(6), 0);
    EXPECT_EQ(BusReg_GetLinkRxWord(6, 0), 0);
    EXPECT_EQ(Stage().ByteAccesses(), 0u);
}

TEST_F(RegBusTest, SeqSimCommandsSetTheCommandByte) {
    g_SeqSimCmd = 0x0300;  // the high byte is kept
    const std::pair<std::function<int()>, uint32_t> cases[] = {
        {BusReg_SeqSimRun, 0x0301},     {BusReg_SeqSimStop, 0x0302},    {BusReg_SeqSimHold, 0x0304},
        {BusReg_SeqSimBranch1, 0x0308}, {BusReg_SeqSimBranch2, 0x0310},
    };
    for (const auto& [call, word] : cases) {
        EXPECT_EQ(call(), 0);
        EXPECT_EQ(Stage().Stored(kSeqSimCmd, 0), word);
    }
    for (auto [mode, code] : {std::pair{0, 2}, {1, 0}, {2, 1}, {7, 0}}) {
        BusReg_SetSeqSimMode(mode);
        EXPECT_EQ(Stage().Stored(kSeqSimMode, 0), static_cast<uint32_t>(code)) << mode;
    }
}

// The modes without a trigger output (DC-INT, the external ones, SEQ/SIM) clear the width first.
TEST_F(RegBusTest, OutputModeCodesAndTheTriggerWidth) {
    std::set<uint32_t> codes;
    for (uint32_t mode = 0; mode < 10; ++mode) {
        Stage().Poke(kTrigWidth, 0, 77);
        BusReg_SetOutputMode(mode);
        codes.insert(Stage().Stored(kOutputMode, 0));
        const bool noTrigger = mode == 2 || mode == 3 || mode == 4;
        EXPECT_EQ(Stage().Stored(kTrigWidth, 0), noTrigger ? 0u : 77u) << mode;
        SetOutputMode(mode);
        BusReg_SetTrigWidth(150);
        EXPECT_EQ(Stage().Stored(kTrigWidth, 0), noTrigger ? 0u : 150u) << mode;
    }
    EXPECT_EQ(codes.size(), 10u);
    OutputFlagSet(kOutFlagSeqSimActive);
    BusReg_SetTrigWidth(150);
    EXPECT_EQ(Stage().Stored(kTrigWidth, 0), 0u);
    Clear();
    BusReg_SetOutputMode(9);
    EXPECT_EQ(Transfers().front().reg, kTrigWidth);
    EXPECT_EQ(Stage().Stored(kOutputMode, 0), 32u);
}

TEST_F(RegBusTest, PhaseAnglesFollowTheSynchronisationPhase) {
    const std::tuple<int32_t, uint32_t, int32_t, float> cases[] = {
        // {angle, mode, sync phase, sent}
        {1200, 8, 2500, 130.0f},  // 3600 - 1200 + 2500 - 3600
        {1200, 7, 1000, 340.0f},  // 3400 fits, nothing subtracted
        {1200, 7, 1200, 0.0f},    // 3600 exceeds 3599
        {1200, 8, 0, 240.0f},     // no synchronisation phase
        {1200, 1, 2500, 240.0f},  // not a synchronised mode
        {0, 0, 0, 360.0f},
    };
    for (const auto& [angle, mode, sync, sent] : cases) {
        SetOutputMode(mode);
        SetSyncPhase(sync);
        BusReg_SetPhaseAngleL2(angle);
        BusReg_SetPhaseAngleL3(angle);
        EXPECT_EQ(std::bit_cast<float>(Stage().Stored(kPhaseAngleL2, 0)), sent) << angle << " " << sync;
        EXPECT_EQ(std::bit_cast<float>(Stage().Stored(kPhaseAngleL3, 0)), sent) << angle << " " << sync;
    }
}

// Each register holds a value of its own, so a reader of the wrong one shows.
TEST_F(RegBusTest, ReadersReachTheirRegisterAndKeepTheirBits) {
    for (int phase = 0; phase < 3; ++phase) {
        Stage().SetRead(kAlarmWord.at(phase), 0, 1000u + phase);
        EXPECT_EQ(BusReg_GetAlarmWord(phase), 1000u + phase);
    }
    // The alarm monitor's burst puts each of its five words where the single readers find them.
    Stage().SetRead(kOutputStatus, 0, 2000u);
    Stage().SetRead(kAlarmWord2, 0, 3000u);
    const BusAlarmWords words = BusReg_GetAlarmWords();
    EXPECT_EQ(words.outputStatus, 2000u);
    EXPECT_EQ(words.phase[0], 1000u);
    EXPECT_EQ(words.phase[1], 1001u);
    EXPECT_EQ(words.phase[2], 1002u);
    EXPECT_EQ(words.system, 3000u);
    Stage().SetRead(kStatus, 0, 0x7FABCD);
    EXPECT_EQ(BusReg_GetStatusHigh(), 0xABu);
    Stage().SetRead(kModuleWord.at(2), 0, 0x1234);
    EXPECT_EQ(BusReg_GetModuleVersion(2), 0x12);
    Stage().SetRead(kHarmStatus, 0, 0x12345);
    EXPECT_EQ(BusReg_GetHarmStatus(), 0x2345u);
    // Selection 3 takes the frequency of the synchronisation input.
    Stage().SetReadFloat(kMeasFreq, 0, 50.0f);
    Stage().SetReadFloat(kSyncInputFreq, 0, 59.9f);
    EXPECT_EQ(BusReg_GetFreq(), 50.0f);
    SetMainSig(3, 0);
    EXPECT_EQ(BusReg_GetFreq(), 59.9f);
}

// Of twenty bits; in a parallel system the word of the last slave with a start-up error.
TEST_F(RegBusTest, FaultIndexIsTheLowestClearBit) {
    const std::pair<uint32_t, int> cases[] = {{0xFFFF, 16}, {0xFFFFF, 0},  {0xFFFFFFFF, 0},  {0xFFFFE, 0},
                                              {0xFFFFD, 1}, {0x7FFFF, 19}, {0xFFF7FFFF, 19}, {0xFFFFFF00, 0}};
    for (auto [word, index] : cases) {
        Stage().SetRead(kFaultWord, 0, word);
        EXPECT_EQ(BusReg_GetFaultIndex(), index) << word;
    }
    EXPECT_FALSE(SysStatusTest(kSysParallelLinkFault));
    g_ParallelLink.slave[2].startupError = 1;
    g_ParallelLink.slave[2].rawFault = 0xFFFFE;  // bit 0
    g_ParallelLink.slave[4].startupError = 2;
    g_ParallelLink.slave[4].rawFault = 0xFFFFB;  // bit 2
    g_ParallelLink.slave[5].rawFault = 0xFFFF7;  // no start-up error flagged
    Clear();
    EXPECT_EQ(BusReg_GetFaultIndex(), 2);
    EXPECT_TRUE(SysStatusTest(kSysParallelLinkFault));
    EXPECT_TRUE(Transfers().empty());  // the own fault word is not read
}

TEST_F(RegBusTest, FaultIndexWaitsForTheSlaveWord) {
    // Slow enough that a loaded machine still starts the link thread well inside the 250 ms of polls.
    plat::SetTimeScale(4.0);
    g_ParallelLink.slave[1].startupError = 1;
    std::thread link([] {
        plat::SleepMs(40);
        g_ParallelLink.slave[1].rawFault = 0xFFFDF;  // bit 5
    });
    EXPECT_EQ(BusReg_GetFaultIndex(), 5);
    link.join();

    // A word that never arrives: after 50 polls of 5 ms the empty word is taken.
    g_ParallelLink.slave[1].rawFault = 0;
    uint64_t start = plat::NowMs();
    EXPECT_EQ(BusReg_GetFaultIndex(), 0);
    EXPECT_GE(plat::NowMs() - start, 250u);
}
