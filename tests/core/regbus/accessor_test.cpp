// The register map: which register each accessor reaches, and the accessors with rules of their own.
#include <bit>
#include <functional>
#include <thread>

#include "core/control/fault_index.h"
#include "core/control/setting_accessors.h"
#include "core/params/param_access.h"
#include "core/regbus/regbus.h"
#include "core/system/output_flags.h"
#include "core/system/parallel_link.h"
#include "core/system/sys_status.h"
#include "platform/clock.h"
#include "regbus_setup.h"

namespace {

uint32_t Bits(float f) {
    return std::bit_cast<uint32_t>(f);
}

struct WriteCase {
    const char* name;
    std::function<int()> call;
    uint16_t reg;
    uint32_t raw;
};

}  // namespace

TEST_F(RegBusTest, WriteAccessorsReachTheirRegisters) {
    const WriteCase cases[] = {
        {"Waveform L3", [] { return BusReg_SetWaveform(2, 17); }, 2339, 17},
        {"Apply", [] { return BusReg_Apply(0); }, 2340, 1},
        {"ApplyAfterSeqSim", [] { return BusReg_ApplyAfterSeqSim(); }, 2340, 1},
        {"VoltUnit", [] { return BusReg_SetVoltUnit(1); }, 2341, 1},
        {"Signal", [] { return BusReg_SetSignal(3); }, 2342, 3},
        {"VoltSlew", [] { return BusReg_SetVoltSlew(2); }, 2343, 2},
        {"PeakHoldClear", [] { return BusReg_PeakHoldClear(0x22); }, 2344, 0x22},
        {"AlarmClear", [] { return BusReg_AlarmClear(1); }, 2345, 1},
        {"OutputOnOff", [] { return BusReg_SetOutputOnOff(1); }, 2346, 1},
        {"VoltRange", [] { return BusReg_SetVoltRange(4); }, 2347, 4},
        {"ServiceFlags", [] { return BusReg_SetServiceFlags(0x81); }, 2348, 0x81},
        {"ModelType", [] { return BusReg_SetModelType(2); }, 2349, 3},
        {"CaliMode", [] { return BusReg_SetCaliMode(1); }, 2353, 1},
        {"CaliCmd", [] { return BusReg_SetCaliCmd(64); }, 2354, 64},
        {"PhaseMode", [] { return BusReg_SetPhaseMode(2); }, 2355, 2},
        {"PowerLimitTotal", [] { return BusReg_SetPowerLimitTotal(4500); }, 2358, Bits(4500.0f)},
        {"PowerLimitPhase", [] { return BusReg_SetPowerLimitPhase(1500); }, 2359, Bits(1500.0f)},
        {"FanSlew", [] { return BusReg_SetFanSlew(3); }, 2363, Bits(3.0f)},
        {"Source L2", [] { return BusReg_SetSource(1, 1); }, 2369, 1},
        {"TrigOutSource", [] { return BusReg_SetTrigOutSource(2); }, 2374, 2},
        {"OnPhase L1", [] { return BusReg_SetOnPhase(900, 0); }, 2375, Bits(90.0f)},
        {"OnPhase L3", [] { return BusReg_SetOnPhase(900, 2); }, 2379, Bits(90.0f)},
        {"OffPhase L1", [] { return BusReg_SetOffPhase(1800, 0); }, 2376, Bits(180.0f)},
        {"OffPhase L3", [] { return BusReg_SetOffPhase(1800, 2); }, 2380, Bits(180.0f)},
        {"SyncPhase", [] { return BusReg_SetSyncPhase(2500); }, 2381, Bits(250.0f)},
        {"Acv L2", [] { return BusReg_SetAcv(1, 11550); }, 2385, Bits(115.5f)},
        {"Dcv L3", [] { return BusReg_SetDcv(2, -5000); }, 2389, Bits(-50.0f)},
        {"Gain L1", [] { return BusReg_SetGain(15, 0); }, 2390, Bits(1.5f)},
        {"IrmsLimit L3", [] { return BusReg_SetIrmsLimit(2100, 2); }, 2398, Bits(21.0f)},
        {"IpkOffHigh L1", [] { return BusReg_SetIpkOffHigh(9000, 0); }, 2399, Bits(90.0f)},
        {"IpkOffLow L2", [] { return BusReg_SetIpkOffLow(-9000, 1); }, 2403, Bits(-90.0f)},
        {"IpkLimitHigh L3", [] { return BusReg_SetIpkLimitHigh(5000, 2); }, 2407, Bits(50.0f)},
        {"IpkLimitLow L1", [] { return BusReg_SetIpkLimitLow(-5000, 0); }, 2408, Bits(-50.0f)},
        {"Freq L2", [] { return BusReg_SetFreq(6000, 1); }, 2415, 600000},
        {"AvgCurrCompKp", [] { return BusReg_SetAvgCurrCompKp(250); }, 2436, Bits(0.25f)},
        {"AvgCurrCompKi", [] { return BusReg_SetAvgCurrCompKi(25); }, 2437, Bits(2.5f)},
        {"FanDutyMax", [] { return BusReg_SetFanDutyMax(9000); }, 2438, Bits(90.0f)},
        {"FanDutyMin", [] { return BusReg_SetFanDutyMin(2000); }, 2439, Bits(20.0f)},
        {"CaliAvgCount", [] { return BusReg_SetCaliAvgCount(16000); }, 2443, Bits(16.0f)},
        {"ArbUpdate", [] { return BusReg_SetArbUpdate(1); }, 2446, 1},
        {"BootCtrl", [] { return BusReg_SetBootCtrl(4); }, 2447, 4},
        {"MonitorSource", [] { return BusReg_SetMonitorSource(0x0A); }, 2448, 0x0A},
        {"MonitorScale1", [] { return BusReg_SetMonitorScale1(0.125f); }, 2449, Bits(0.125f)},
        {"MonitorScale2", [] { return BusReg_SetMonitorScale2(2.5f); }, 2450, Bits(2.5f)},
        {"HarmCapture", [] { return BusReg_SetHarmCapture(7); }, 2454, 7},
        {"L1Inductance", [] { return BusReg_SetL1Inductance(5); }, 2455, Bits(0.5f)},
        {"L1Resistance", [] { return BusReg_SetL1Resistance(5); }, 2456, Bits(0.5f)},
        {"L2Inductance", [] { return BusReg_SetL2Inductance(5); }, 2457, Bits(0.5f)},
        {"L2Resistance", [] { return BusReg_SetL2Resistance(5); }, 2458, Bits(0.5f)},
        {"L3Inductance", [] { return BusReg_SetL3Inductance(5); }, 2459, Bits(0.5f)},
        {"L3Resistance", [] { return BusReg_SetL3Resistance(5); }, 2460, Bits(0.5f)},
        {"Duty L1", [] { return BusReg_SetDuty(0, 500); }, 2461, 2048},
        {"RdDefine1", [] { return BusReg_SetRdDefine1(10); }, 2467, Bits(1.0f)},
        {"RdDefine5", [] { return BusReg_SetRdDefine5(10); }, 2471, Bits(1.0f)},
        {"PowerStageEnable", [] { return BusReg_SetPowerStageEnable(1); }, 2472, 1},
        {"ParallelCtrl", [] { return BusReg_SetParallelCtrl(3); }, 2480, 3},
        {"ParallelFrame", [] { return BusReg_SetParallelFrame(0x04240012u); }, 2481, 0x04240012u},
        {"SeqSimMode 0", [] { return BusReg_SetSeqSimMode(0); }, 2352, 2},
        {"SeqSimMode 1", [] { return BusReg_SetSeqSimMode(1); }, 2352, 0},
        {"SeqSimMode 2", [] { return BusReg_SetSeqSimMode(2); }, 2352, 1},
        {"SeqSimMode 7", [] { return BusReg_SetSeqSimMode(7); }, 2352, 0},
        {"StepStatus", [] { return BusReg_SetStepStatus(0x28); }, 768, 0x28},
        {"StepCtrl L2", [] { return BusReg_SetStepCtrl(0x11, 1); }, 770, 0x11},
        {"StepDcv L3", [] { return BusReg_SetStepDcv(1000, 2); }, 774, Bits(10.0f)},
        {"StepAcv L1", [] { return BusReg_SetStepAcv(23000, 0); }, 775, Bits(230.0f)},
        {"StepFreq L2", [] { return BusReg_SetStepFreq(5000, 1); }, 779, Bits(50.0f)},
        {"StepOnPhase L3", [] { return BusReg_SetStepOnPhase(900, 2); }, 783, 900},
        {"StepOffPhase L1", [] { return BusReg_SetStepOffPhase(1800, 0); }, 784, 1800},
        {"StepJumpTo", [] { return BusReg_SetStepJumpTo(17); }, 787, 17},
        {"StepJumpCount", [] { return BusReg_SetStepJumpCount(3); }, 788, 3},
        {"StepBranch1", [] { return BusReg_SetStepBranch1(4); }, 789, 4},
        {"StepBranch2", [] { return BusReg_SetStepBranch2(5); }, 790, 5},
        {"StepTime", [] { return BusReg_SetStepTime(10000); }, 791, 10000},
        {"StepWord798", [] { return BusReg_SetStepWord798(0); }, 798, Bits(0.0f)},
        {"StepPhaseL2", [] { return BusReg_SetStepPhaseL2(1200); }, 799, Bits(240.0f)},
        {"StepPhaseL3", [] { return BusReg_SetStepPhaseL3(2400); }, 800, Bits(120.0f)},
        {"StepDuty L2", [] { return BusReg_SetStepDuty(250, 1); }, 802, 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        EXPECT_EQ(c.call(), 0);
        plat::BusTransfer t = OnlyTransfer(Transfers());
        EXPECT_TRUE(t.write);
        EXPECT_EQ(t.reg, c.reg);
        EXPECT_EQ(t.raw, c.raw);
    }
    EXPECT_EQ(regbus::SeqSimModeCode(), 0);  // kept from the last mode written (7 -> 0)
}

TEST_F(RegBusTest, PhaseOutsideL1ToL3WritesNothing) {
    const std::function<int()> calls[] = {
        [] { return BusReg_SetAcv(3, 100); },     [] { return BusReg_SetDcv(-1, 100); },
        [] { return BusReg_SetOnPhase(10, 3); },  [] { return BusReg_SetFreq(5000, 3); },
        [] { return BusReg_SetWaveform(3, 17); }, [] { return BusReg_SetDuty(3, 500); },
        [] { return BusReg_SetStepAcv(100, 3); }, [] { return BusReg_SetStepDuty(500, -1); },
    };
    for (const auto& call : calls)
        EXPECT_EQ(call(), -1);
    EXPECT_EQ(BusReg_GetVrms(7), 0.0f);
    EXPECT_EQ(BusReg_GetModuleWord(3), 0);
    EXPECT_EQ(Stage().ByteAccesses(), 0u);
}

TEST_F(RegBusTest, PeakHoldTimeGoesTo2411Last) {
    BusReg_SetPeakHoldTime(2);
    using R = std::pair<uint16_t, uint16_t>;
    EXPECT_EQ(WrittenRegisters(Transfers()),
              (std::vector<R>{{2412, 0}, {2413, 0}, {2464, 0}, {2465, 0}, {2466, 0}, {2411, 0}}));
    for (const auto& t : Transfers())
        EXPECT_EQ(t.raw, 20000u);
}

TEST_F(RegBusTest, SeqSimCommandsSetTheCommandByte) {
    g_SeqSimCmd = 0x0300;  // the high byte is kept
    const std::pair<std::function<int()>, uint32_t> cases[] = {
        {BusReg_SeqSimRun, 0x0301},     {BusReg_SeqSimStop, 0x0302},    {BusReg_SeqSimHold, 0x0304},
        {BusReg_SeqSimBranch1, 0x0308}, {BusReg_SeqSimBranch2, 0x0310},
    };
    for (const auto& [call, word] : cases) {
        Clear();
        EXPECT_EQ(call(), 0);
        EXPECT_EQ(OnlyTransfer(Transfers()).reg, 2351);
        EXPECT_EQ(OnlyTransfer(Transfers()).raw, word);
        EXPECT_EQ(g_SeqSimCmd, word);
    }
}

TEST_F(RegBusTest, OutputModeCodes) {
    const uint32_t codes[] = {3, 2, 1, 7, 6, 15, 14, 19, 18, 66};
    for (uint32_t mode = 0; mode < 10; ++mode) {
        SCOPED_TRACE(mode);
        Clear();
        BusReg_SetOutputMode(mode);
        auto trace = Transfers();
        ASSERT_FALSE(trace.empty());
        EXPECT_EQ(trace.back().reg, 2336);
        EXPECT_EQ(trace.back().raw, codes[mode]);
        // DC-INT and the external modes have no trigger output: its width is cleared first.
        bool widthCleared = mode == 2 || mode == 3 || mode == 4;
        ASSERT_EQ(trace.size(), widthCleared ? 2u : 1u);
        if (widthCleared) {
            EXPECT_EQ(trace[0].reg, 2372);
            EXPECT_EQ(trace[0].raw, 0u);
        }
    }
    Clear();
    BusReg_SetOutputMode(12);
    EXPECT_EQ(OnlyTransfer(Transfers()).raw, 12u);
}

TEST_F(RegBusTest, OutputModeDuringSeqSimIs32AfterClearingTheTriggerWidth) {
    OutputFlagSet(kOutFlagSeqSimActive);
    for (uint32_t mode : {1u, 9u}) {
        Clear();
        BusReg_SetOutputMode(mode);
        using R = std::pair<uint16_t, uint16_t>;
        auto trace = Transfers();
        EXPECT_EQ(WrittenRegisters(trace), (std::vector<R>{{2372, 0}, {2336, 0}}));
        EXPECT_EQ(trace[0].raw, 0u);
        EXPECT_EQ(trace[1].raw, 32u);
    }
}

TEST_F(RegBusTest, TriggerWidthIsZeroWithoutATriggerOutput) {
    struct Case {
        uint32_t mode;
        bool seqSim;
        uint32_t sent;
    };
    const Case cases[] = {{0, false, 150}, {1, false, 150}, {2, false, 0}, {3, false, 0},
                          {4, false, 0},   {8, false, 150}, {1, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " seq/sim " << c.seqSim);
        SetOutputMode(c.mode);
        c.seqSim ? OutputFlagSet(kOutFlagSeqSimActive) : OutputFlagClear(kOutFlagSeqSimActive);
        Clear();
        BusReg_SetTrigWidth(150);
        EXPECT_EQ(OnlyTransfer(Transfers()).reg, 2372);
        EXPECT_EQ(OnlyTransfer(Transfers()).raw, c.sent);
    }
}

TEST_F(RegBusTest, PhaseAnglesFollowTheSynchronisationPhase) {
    struct Case {
        int32_t angle;
        uint32_t mode;
        int32_t sync;
        float sent;
    };
    const Case cases[] = {
        {1200, 8, 2500, 130.0f},  // 3600 - 1200 + 2500 - 3600
        {1200, 7, 1000, 340.0f},  // 3400 fits, nothing subtracted
        {1200, 7, 1200, 0.0f},    // 3600 exceeds 3599
        {1200, 8, 0, 240.0f},     // no synchronisation phase
        {1200, 1, 2500, 240.0f},  // not a synchronised mode
        {0, 0, 0, 360.0f},       {2400, 9, 900, 120.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.angle << " mode " << c.mode << " sync " << c.sync);
        SetOutputMode(c.mode);
        SetSyncPhase(c.sync);
        Clear();
        BusReg_SetPhaseAngleL2(c.angle);
        BusReg_SetPhaseAngleL3(c.angle);
        auto trace = Transfers();
        ASSERT_EQ(trace.size(), 2u);
        EXPECT_EQ(trace[0].reg, 2382);
        EXPECT_EQ(trace[1].reg, 2383);
        EXPECT_EQ(trace[0].value, c.sent);
        EXPECT_EQ(trace[1].value, c.sent);
    }
}

TEST_F(RegBusTest, ReadAccessorsReachTheirRegisters) {
    struct Case {
        const char* name;
        std::function<int64_t()> call;
        uint16_t reg;
        uint32_t staged;
        int64_t expected;
    };
    const Case cases[] = {
        {"Status", [] { return BusReg_GetStatus(); }, 2048, 0xABCD, 0xABCD},
        {"StatusHigh", [] { return BusReg_GetStatusHigh(); }, 2048, 0xABCD, 0xAB},
        {"StatusHigh ignores bits 16+", [] { return BusReg_GetStatusHigh(); }, 2048, 0x7F00FF, 0},
        {"ParallelStatus", [] { return BusReg_GetParallelStatus(); }, 2050, 0x10201, 0x10201},
        {"BootStatus", [] { return BusReg_GetBootStatus(); }, 2080, 5, 5},
        {"ModuleWord L2", [] { return BusReg_GetModuleWord(1); }, 2082, 399999, 399999},
        {"ModuleVersion L3", [] { return BusReg_GetModuleVersion(2); }, 2083, 0x1234, 0x12},
        {"OutputStatus", [] { return BusReg_GetOutputStatus(); }, 2085, 0xC081, 0xC081},
        {"AlarmWord L3", [] { return BusReg_GetAlarmWord(2); }, 2088, 0x40, 0x40},
        {"AlarmWord2", [] { return BusReg_GetAlarmWord2(); }, 2091, 0x8, 0x8},
        {"HarmStatus", [] { return BusReg_GetHarmStatus(); }, 2092, 0x12345, 0x2345},
        {"ModuleType L1", [] { return BusReg_GetModuleType(0); }, 2093, 2, 2},
        {"RunStep", [] { return BusReg_GetRunStep(); }, 2096, 17, 17},
        {"RunState", [] { return BusReg_GetRunState(); }, 2097, 3, 3},
        {"CaliStatus", [] { return BusReg_GetCaliStatus(); }, 2098, 0x11, 0x11},
        {"ModulePresent L2", [] { return BusReg_GetModulePresent(1); }, 2100, 0, 0},
        {"RepeatCount", [] { return BusReg_GetRepeatCount(); }, 2102, 9, 9},
        {"RunTime", [] { return BusReg_GetRunTime(); }, 2103, 372100000, 372100000},
        {"PF L3", [] { return BusReg_GetPF(2); }, 2214, 999, 999},
        {"PFTotal", [] { return BusReg_GetPFTotal(); }, 2218, 1000, 1000},
        {"CF L1", [] { return BusReg_GetCF(0); }, 2219, 141, 141},
        {"CFTotal", [] { return BusReg_GetCFTotal(); }, 2225, 173, 173},
        {"SlaveCounter 5", [] { return BusReg_GetSlaveCounter(5); }, 2251, 4095, 4095},
        {"HarmonicL2", [] { return BusReg_ReadHarmonic(1, 40); }, 1, 77, 77},
        {"HarmonicSysL3", [] { return BusReg_ReadHarmonicSys(2, 40); }, 5, 78, 78},
        {"LinkRx 5", [] { return BusReg_GetLinkRxWord(5, 40); }, 103, 79, 79},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t word = c.reg <= 103 ? 40 : 0;
        Stage().SetRead(c.reg, word, c.staged);
        Clear();
        EXPECT_EQ(c.call(), c.expected);
        plat::BusTransfer t = OnlyTransfer(Transfers());
        EXPECT_FALSE(t.write);
        EXPECT_EQ(t.reg, c.reg);
        EXPECT_EQ(t.word, word);
        Stage().ClearRead(c.reg, word);
    }
}

TEST_F(RegBusTest, MeasurementRowsAndTotals) {
    struct Quantity {
        uint16_t first;
        float (*row)(int);
        float (*total)();
    };
    const Quantity quantities[] = {
        {2128, BusReg_GetVrms, BusReg_GetVrmsTotal},
        {2135, BusReg_GetIrms, BusReg_GetIrmsTotal},
        {2142, BusReg_GetPower, BusReg_GetPowerTotal},
        {2149, BusReg_GetVmax, BusReg_GetVmaxTotal},
        {2156, BusReg_GetVmin, BusReg_GetVminTotal},
        {2163, BusReg_GetImax, BusReg_GetImaxTotal},
        {2170, BusReg_GetImin, BusReg_GetIminTotal},
        {2177, BusReg_GetIpkHold, BusReg_GetIpkHoldTotal},
        {2184, BusReg_GetVavg, BusReg_GetVavgTotal},
        {2191, BusReg_GetIavg, BusReg_GetIavgTotal},
        {2198, BusReg_GetApparent, BusReg_GetApparentTotal},
        {2205, BusReg_GetReactive, BusReg_GetReactiveTotal},
    };
    for (const auto& q : quantities) {
        for (int row = 0; row < 7; ++row)
            Stage().SetReadFloat(q.first + row, 0, q.first + row * 0.25f);
    }
    for (const auto& q : quantities) {
        SCOPED_TRACE(q.first);
        for (int row = 0; row < 7; ++row)
            EXPECT_EQ(q.row(row), q.first + row * 0.25f);
        EXPECT_EQ(q.total(), q.first + 6 * 0.25f);
    }
    for (int row = 0; row < 7; ++row)
        Stage().SetReadFloat(2226 + row, 0, 1.0f + row);
    EXPECT_EQ(BusReg_GetMeasWord54(2), 3.0f);
    EXPECT_EQ(BusReg_GetVpkHold(1), 5.0f);      // 2230
    EXPECT_EQ(BusReg_GetVpkHoldTotal(), 7.0f);  // 2232
    EXPECT_EQ(BusReg_Reserved0(), 0);
}

TEST_F(RegBusTest, FrequencyComesFromTheSyncInputWhenSelected) {
    Stage().SetReadFloat(2233, 0, 50.0f);
    Stage().SetReadFloat(2236, 0, 59.9f);
    EXPECT_EQ(BusReg_GetFreq(), 50.0f);
    SetMainSig(3, 0);
    EXPECT_EQ(BusReg_GetFreq(), 59.9f);
    SetMainSig(2, 0);
    EXPECT_EQ(BusReg_GetFreq(), 50.0f);
}

TEST_F(RegBusTest, FaultIndexIsTheLowestClearBit) {
    const std::pair<uint32_t, int> cases[] = {
        {0xFFFF, 16},                   // bits 0-15 set, 16 clear
        {0xFFFFF, 0},                   // all twenty set: no fault
        {0xFFFFFFFF, 0}, {0xFFFFE, 0},  // bit 0 clear
        {0xFFFFD, 1},    {0x7FFFF, 19}, {0xFFF7FFFF, 19}, {0xFFFFFF00, 0},
    };
    for (auto [word, index] : cases) {
        SCOPED_TRACE(word);
        Stage().SetRead(2090, 0, word);
        EXPECT_EQ(BusReg_GetFaultIndex(), index);
        EXPECT_EQ(regbus::LowestClearFaultBit(word), index);
    }
    EXPECT_FALSE(SysStatusTest(kSysParallelLinkFault));
}

TEST_F(RegBusTest, FaultIndexOfAParallelSystemUsesTheLastFaultedSlave) {
    Stage().SetRead(2090, 0, 0xFFFFF);
    g_ParallelLink.slave[2].startupError = 1;
    g_ParallelLink.slave[2].rawFault = 0xFFFFE;  // bit 0
    g_ParallelLink.slave[4].startupError = 2;
    g_ParallelLink.slave[4].rawFault = 0xFFFFB;  // bit 2
    g_ParallelLink.slave[5].startupError = 0;
    g_ParallelLink.slave[5].rawFault = 0xFFFF7;
    uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_GetFaultIndex(), 2);
    EXPECT_TRUE(SysStatusTest(kSysParallelLinkFault));
    EXPECT_EQ(Stage().ByteAccesses(), before);  // the own fault word is not read
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

TEST_F(RegBusTest, FloatTableFillsWords1To256) {
    EXPECT_EQ(BusReg_WriteFloatTable(), 0);
    auto trace = Transfers();
    ASSERT_EQ(trace.size(), 256u);
    for (size_t i = 0; i < trace.size(); ++i) {
        EXPECT_EQ(trace[i].reg, 104);
        EXPECT_EQ(trace[i].word, i + 1);
    }
}
