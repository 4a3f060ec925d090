// What the simulated stage plays: each phase's waveform at its settings into its load, as its measurement
// registers and its capture show it, and the program its sequencer runs. Expected values are the shapes'
// physics, worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <iterator>
#include <vector>

#include "tests/platform/stage/stage_play_fixture.h"

using namespace regmap;
using test::StagePlay;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Amplitude of order k in one captured period of a phase (a plain DFT).
double Order(const StagePlay& s, uint32_t phase, int k, int kind = 0) {
    std::complex<double> sum;
    for (uint32_t i = 0; i < plat::kCaptureSamples; ++i)
        sum += s.Captured(phase, i, kind) * std::polar(1.0, -2.0 * kPi * k * i / plat::kCaptureSamples);
    return std::abs(sum);
}

// 100 V into 10 ohm: the ideal shapes' peak, rms, crest factor and power.
TEST(StagePlay, StandardShapesAndUnitsGiveTheirPhysics) {
    struct Case {
        const char* what;
        uint32_t wave;
        bool vpp;
        float acv, dc;
        double vrms, vavg, vmax, vmin;
        int crestX100;
    };
    const double s3 = std::sqrt(3.0), s2 = std::sqrt(2.0);
    const Case cases[] = {
        {"sine", kWaveCodeSin, false, 100, 0, 100, 0, 100 * s2, -100 * s2, 141},
        {"square", kWaveCodeSqu, false, 100, 0, 100, 0, 100, -100, 100},
        {"triangle", kWaveCodeTri, false, 100, 0, 100, 0, 100 * s3, -100 * s3, 173},
        // Vpp: twice the peak; the sine and the square keep an rms.
        {"triangle 200 Vpp", kWaveCodeTri, true, 200, 0, 100 / s3, 0, 100, -100, 173},
        {"sine with Vpp unit", kWaveCodeSin, true, 100, 0, 100, 0, 100 * s2, -100 * s2, 141},
        {"sine on 20 V DC", kWaveCodeSin, false, 100, 20, std::hypot(100.0, 20.0), 20, 20 + 100 * s2,
         20 - 100 * s2, 158},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StagePlay s;
        s.Write(kVoltUnit, c.vpp ? 1 : 0);
        s.Play(c.wave, c.acv, c.dc);
        for (uint32_t p = 0; p < 3; ++p) {
            EXPECT_NEAR(s.Read(kVrms + p), c.vrms, 0.02);
            EXPECT_NEAR(s.Read(kVavg + p), c.vavg, 0.02);
            EXPECT_NEAR(s.Read(kVmax + p), c.vmax, 0.02);
            EXPECT_NEAR(s.Read(kVmin + p), c.vmin, 0.02);
            EXPECT_NEAR(s.Read(kIrms + p), c.vrms / 10, 0.002);
            EXPECT_NEAR(s.Read(kPower + p), c.vrms * c.vrms / 10, 0.2);
            EXPECT_EQ(s.ReadInt(kCrestFactor + p), c.crestX100);
        }
    }
}

// The capture holds the played period: a square's odd orders fall as 1/k, a triangle's as 1/k^2, a
// sine has none; the current is the voltage over the load.
TEST(StagePlay, CaptureHoldsTheShapesHarmonics) {
    struct Case {
        uint32_t wave;
        double pct3, pct5;
    };
    for (const Case& c : {Case{kWaveCodeSqu, 100.0 / 3, 20.0}, Case{kWaveCodeTri, 100.0 / 9, 4.0},
                          Case{kWaveCodeSin, 0.0, 0.0}}) {
        SCOPED_TRACE(c.wave);
        StagePlay s;
        s.Play(c.wave, 100);
        s.Write(kHarmCapture, 7);
        EXPECT_EQ(s.regs.Get(kHarmStatus, 0), 7u);
        for (uint32_t p = 0; p < 3; ++p) {
            const double v1 = Order(s, p, 1);
            EXPECT_NEAR(Order(s, p, 3) / v1 * 100, c.pct3, 0.1);
            EXPECT_NEAR(Order(s, p, 5) / v1 * 100, c.pct5, 0.1);
            EXPECT_NEAR(Order(s, p, 2) / v1 * 100, 0.0, 0.05);
            EXPECT_NEAR(Order(s, p, 1, 1) / v1, 0.1, 0.001) << "current of a 10 ohm load";
        }
    }
}

// A square's duty (1024 and 409 of 4096) is one duty for the readings and the captured period: 25 % high
// is a quarter of the samples at +A; the mean is 100 (2d - 1) (the square's rms is its amplitude), and
// order k's amplitude falls as |sin(pi k d)| / k, near the spectrum's zero at 10 for 10 %.
TEST(StagePlay, SquareDutyIsOneDutyForReadingsAndCapture) {
    for (const uint32_t duty : {1024u, 409u}) {
        SCOPED_TRACE(duty);
        StagePlay s;
        for (uint32_t p = 0; p < 3; ++p)
            s.Write(kDuty.at(p), duty);
        s.Play(kWaveCodeSqu, 100);
        const double d = duty / 4096.0;
        EXPECT_NEAR(s.Read(kVavg), 100 * (2 * d - 1), 0.01);
        EXPECT_NEAR(s.Read(kVmax), 100.0, 0.05);
        s.Write(kHarmCapture, 7);
        double mean = 0.0;
        int high = 0;
        for (uint32_t i = 0; i < plat::kCaptureSamples; ++i) {
            mean += s.Captured(0, i, 0) / plat::kCaptureSamples;
            high += s.Captured(0, i, 0) > 0 ? 1 : 0;
        }
        EXPECT_NEAR(mean, 100 * (2 * d - 1), 0.02) << "the capture's duty is the reading's";
        if (duty == 1024u) {
            EXPECT_EQ(high, 256);
        }
        const double v1 = Order(s, 0, 1);
        for (int k : {3, 9, 10, 11, 20}) {
            const double ratio = std::fabs(std::sin(kPi * k * d)) / (k * std::sin(kPi * d));
            EXPECT_NEAR(Order(s, 0, k) / v1, ratio, 0.0005) << "order " << k;
        }
    }
}

// A held peak stays until it is cleared or a higher one comes, also one played between two reads only;
// clear bits 0-3 are the voltage holds of L1, L2, L3 and the total, bits 4-7 the currents'.
TEST(StagePlay, PeakHoldHoldsUntilClearedOrExceeded) {
    const double s2 = std::sqrt(2.0);
    StagePlay s;
    // {volts played, clear mask written after, L1 and L2 current hold, L1 and L2 voltage hold}
    struct Point {
        float volts;
        uint32_t clear;
        double i1, i2, v1, v2;
    };
    const Point points[] = {
        {100, 0, 10 * s2, 10 * s2, 100 * s2, 100 * s2},
        {50, 0, 10 * s2, 10 * s2, 100 * s2, 100 * s2},   // lower: held
        {50, 0x11, 5 * s2, 10 * s2, 50 * s2, 100 * s2},  // L1 cleared, held again at what plays
        {50, 0x20, 5 * s2, 5 * s2, 50 * s2, 100 * s2},   // L2's current only
        {150, 0, 15 * s2, 15 * s2, 150 * s2, 150 * s2},  // higher: taken
        {50, 0xFF, 5 * s2, 5 * s2, 50 * s2, 50 * s2},
    };
    for (const Point& pt : points) {
        SCOPED_TRACE(pt.volts);
        SCOPED_TRACE(pt.clear);
        s.Play(kWaveCodeSin, pt.volts);
        if (pt.clear != 0) s.Write(kPeakHoldClear, pt.clear);
        EXPECT_NEAR(s.Read(kIpkHold), pt.i1, 0.005);
        EXPECT_NEAR(s.Read(kIpkHold + 1), pt.i2, 0.005);
        EXPECT_NEAR(s.Read(kVpkHold), pt.v1, 0.05);
        EXPECT_NEAR(s.Read(kVpkHold + 1), pt.v2, 0.05);
        EXPECT_NEAR(s.Read(kImax), pt.volts * s2 / 10, 0.005) << "the present peak";
    }
    s.Play(kWaveCodeSin, 200);
    s.Play(kWaveCodeSin, 50);
    EXPECT_NEAR(s.Read(kIpkHold + 2), 20 * s2, 0.005) << "a peak played between two reads";
    EXPECT_NEAR(s.Read(kIpkHold + kTotalRow), 20 * s2, 0.005);
    EXPECT_NEAR(s.Read(kVpkHold + 3), 200 * s2, 0.05);
}

// Every measurement register of every row against the phasors of one loaded sine case per wiring: 100 V
// a phase into 10, 20 and 40 ohm. 3P4W plays three lines 120 degrees apart; 1P3W L1 and L2 180 degrees
// apart with L3 idle, its totals over the two; 1P2W one output fed by the three modules, its current
// their sum. Where an rms current limit holds, the voltage played is worked out here from the loads.
TEST(StagePlay, EveryRegisterOfEachWiringAgreesWithThePhysics) {
    struct Case {
        const char* what;
        uint32_t wiring;
        double angle[3];  // degrees, lagging L1
        float acv[3];
        float irmsLimit[3];  // A, the phases' limit registers; 0: none
        double played[3];    // V rms each phase plays
    };
    const Case cases[] = {
        {"3P4W", 0, {0, 120, 240}, {100, 100, 100}, {}, {100, 100, 100}},
        {"1P3W", 2, {0, 180, 240}, {100, 100, 0}, {}, {100, 100, 0}},
        {"1P2W", 1, {0, 0, 0}, {100, 100, 100}, {}, {100, 100, 100}},
        // Each line at its own limit: L1 would draw 100 V / 10 ohm = 10 A, held at 5 A it plays
        // 5 A x 10 ohm = 50 V; L3 would draw 2.5 A, held at 1 A it plays 40 V; L2 has none.
        {"3P4W held", 0, {0, 120, 240}, {100, 100, 100}, {5, 0, 1}, {50, 100, 40}},
        // One output into the three loads in parallel: 1/R = 1/10 + 1/20 + 1/40 = 0.175 S, so 100 V would
        // draw 17.5 A; L1's limit, the output's, holds the sum at 10.5 A: V = 10.5 A / 0.175 S = 60 V
        // (6 + 3 + 1.5 A). The 4 A of L2's and L3's registers take no part (alone, L2's module would
        // sit at 80 V).
        {"1P2W held", 1, {0, 0, 0}, {100, 100, 100}, {10.5f, 4, 4}, {60, 60, 60}},
        // Loads drawing exactly their limits (10, 5, 2.5 A; 17.5 A the one output) are not held.
        {"3P4W at its limits", 0, {0, 120, 240}, {100, 100, 100}, {10, 5, 2.5f}, {100, 100, 100}},
        {"1P2W at its limit", 1, {0, 0, 0}, {100, 100, 100}, {17.5f, 4, 4}, {100, 100, 100}},
    };
    const double ohms[3] = {10, 20, 40}, s2 = std::sqrt(2.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StagePlay s;
        s.Write(kPhaseMode, c.wiring);
        s.WriteFloat(kPhaseAngleL2, static_cast<float>(360 - c.angle[1]));
        s.WriteFloat(kPhaseAngleL3, static_cast<float>(360 - c.angle[2]));
        bool held = false;
        for (uint32_t p = 0; p < 3; ++p) {
            s.Write(kWaveform.at(p), kWaveCodeSin);
            s.WriteFloat(kAcv.at(p), c.acv[p]);
            s.WriteFloat(kIrmsLimit.at(p), c.irmsLimit[p]);
            s.Write(kOutputFreq.at(p), 50 * 10000);
            s.m.loadOhms[p] = static_cast<float>(ohms[p]);
            held = held || c.played[p] != c.acv[p];
        }
        s.Write(kApply, 1);
        // Expected per row: vrms, vavg, vmax, vmin, irms, iavg, imax, imin, ipk hold, P, S, Q, PF x 1000,
        // CF x 100 (a sine's 1.41).
        double want[7][14] = {};
        std::complex<double> phasor[3];
        const int used = c.wiring == 2 ? 2 : 3;
        double vTotal = 0, iTotal = 0, pTotal = 0, largestIpk = 0, largestVpk = 0;
        for (int p = 0; p < 3; ++p) {
            const double v = c.played[p], i = v / ohms[p], on = v > 0 ? 1 : 0;
            phasor[p] = std::polar(v * s2, -c.angle[p] * kPi / 180);
            const double row[14] = {v,       0,      v * s2, -v * s2, i, 0,         i * s2,
                                    -i * s2, i * s2, v * i,  v * i,   0, 1000 * on, 141 * on};
            std::copy(std::begin(row), std::end(row), want[p]);
            if (p >= used) continue;
            vTotal += v / used;
            iTotal += i;
            pTotal += v * i;
            largestIpk = std::max(largestIpk, i * s2);
            largestVpk = std::max(largestVpk, v * s2);
        }
        for (int l = 0; l < 3; ++l) {
            const double peak = std::abs(phasor[l] - phasor[(l + 1) % 3]);
            want[3 + l][0] = peak / s2;
            want[3 + l][2] = peak;
            want[3 + l][3] = -peak;
        }
        // The currents' peaks add (the sums of maxima); the held peak is the one output's in 1P2W, else the
        // largest line's. The one output's voltage is L1's; separate lines total the used phases' mean rms
        // and their largest peaks.
        const bool one = c.wiring == 1;
        const double ipkHold = one ? iTotal * s2 : largestIpk, vpk = one ? c.played[0] * s2 : largestVpk;
        const double total[14] = {one ? c.played[0] : vTotal, 0, vpk, -vpk, iTotal, 0, iTotal * s2,
                                  -iTotal * s2, ipkHold, pTotal, pTotal, 0, 1000, 141};
        std::copy(std::begin(total), std::end(total), want[6]);
        const Block blocks[14] = {kVrms, kVavg,    kVmax,  kVmin,     kIrms,     kIavg,        kImax,
                                  kImin, kIpkHold, kPower, kApparent, kReactive, kPowerFactor, kCrestFactor};
        for (uint32_t row = 0; row < 7; ++row) {
            for (int q = 0; q < 14; ++q) {
                const uint32_t reg = blocks[q].at(row);
                const double got = q >= 12 ? s.ReadInt(reg) : s.Read(reg);
                EXPECT_NEAR(got, want[row][q], 0.02 + std::fabs(want[row][q]) * 2e-4) << "register " << reg;
            }
        }
        for (uint32_t r = 0; r < 4; ++r)
            EXPECT_NEAR(s.Read(kVpkHold.at(r)), r < 3 ? want[r][2] : vpk, 0.02)
                << "register " << kVpkHold.at(r);
        EXPECT_FLOAT_EQ(s.Read(kMeasFreq), 50.0f);
        EXPECT_EQ((s.m.Read(s.regs, kOutputStatus, 0) >> 5) & 1u, held ? 1u : 0u) << "current-limit bit";
        // The capture plays the same: L1's current at its peak, a quarter period in.
        s.Write(kHarmCapture, 7);
        EXPECT_NEAR(s.Captured(0, plat::kCaptureSamples / 4, 1), want[0][6], 0.01);
    }
}

// An arbitrary waveform is played from the table it was downloaded, once the download is reported: a
// sine clipped at half its amplitude, with the peak and rms of its own samples.
TEST(StagePlay, DownloadedArbitraryWaveformPlaysItsOwnSamples) {
    StagePlay s;
    s.Play(test::kArb1, 100);
    EXPECT_EQ(s.Read(kVrms), 0.0f) << "ARB1 is silent until downloaded";
    std::vector<int32_t> table(4096);
    double squares = 0.0;
    int32_t peak = 0;
    for (uint32_t i = 0; i < table.size(); ++i) {
        const double v = std::sin(2 * kPi * i / 4096);
        table[i] = static_cast<int32_t>(std::trunc(32767 * std::clamp(v, -0.5, 0.5)));
        s.regs.Set(kArbTable.at(0), i, static_cast<uint32_t>(table[i]));
        squares += double(table[i]) * table[i];
        peak = std::max(peak, std::abs(table[i]));
    }
    const double crest = peak / std::sqrt(squares / 4096);
    EXPECT_EQ(s.Read(kVrms), 0.0f) << "taken only when the download is reported";
    s.Write(kArbUpdate, 1);
    EXPECT_NEAR(s.Read(kVrms), 100.0, 0.01);
    EXPECT_NEAR(s.Read(kVmax), 100 * crest, 0.02);
    EXPECT_NEAR(s.ReadInt(kCrestFactor), std::lround(crest * 100), 0.5);
    // With the Vpp unit the table's largest excursion makes half the set voltage.
    s.Write(kVoltUnit, 1);
    s.Play(test::kArb1, 100);
    EXPECT_NEAR(s.Read(kVmax), 50.0, 0.01);
    EXPECT_NEAR(s.Read(kVrms), 50.0 / crest, 0.01);
}

// Step registers of step `step` and every phase.
void Step(StagePlay& s, uint32_t step, uint32_t ctrl, float acv, float hz, uint32_t time, uint32_t status) {
    s.regs.Set(kStepStatus, step, status);
    s.regs.Set(kStepTime, step, time);
    for (uint32_t p = 0; p < 3; ++p) {
        s.regs.Set(kStepCtrl.at(p), step, ctrl);
        s.regs.Set(kStepAcv.at(p), step, std::bit_cast<uint32_t>(acv));
        s.regs.Set(kStepFreq.at(p), step, std::bit_cast<uint32_t>(hz));
    }
}

// A program: 100 ms of a 100 V 50 Hz sine, then 100 ms sweeping a square to 200 V and 60 Hz, then a
// step that keeps both and ends. Held, the values stay; ended, they stay until the next apply.
TEST(StagePlay, OutputFollowsTheRunningProgram) {
    constexpr uint32_t kCt = (1u << 0) | (1u << 3) | (1u << 15), kSp = (1u << 0) | (1u << 5) | (1u << 17);
    constexpr uint32_t kKp = (1u << 0) | (1u << 4) | (1u << 16), kConti = 8, kEnd = 32;
    StagePlay s;
    s.Play(kWaveCodeSin, 10, 0, 50);
    Step(s, 0, kCt | (kWaveCodeSin << 6), 100, 50, 1000, kConti);
    Step(s, 1, kSp | (kWaveCodeSqu << 6), 200, 60, 1000, kConti);
    Step(s, 2, kKp | (kWaveCodeSqu << 6), 0, 0, 1000, kEnd);
    s.Write(kSeqSimCmd, 1);
    struct Point {
        uint64_t ms;
        uint32_t command;  // 0 none, 4 hold, 1 resume
        float vrms, vmax, hz;
    };
    const Point points[] = {
        {50, 0, 100, 141.42f, 50}, {150, 0, 150, 150, 55},    {150, 4, 150, 150, 55}, {170, 0, 150, 150, 55},
        {175, 1, 150, 150, 55},    {200, 0, 175, 175, 57.5f}, {260, 0, 200, 200, 60}, {500, 0, 200, 200, 60},
    };
    for (const Point& pt : points) {
        SCOPED_TRACE(pt.ms);
        test::g_stageNowUs = pt.ms * 1000;
        if (pt.command != 0) s.Write(kSeqSimCmd, pt.command);
        EXPECT_NEAR(s.Read(kVrms + 2), pt.vrms, 0.05);
        EXPECT_NEAR(s.Read(kVmax), pt.vmax, 0.05);
        EXPECT_NEAR(s.Read(kMeasFreq), pt.hz, 0.01);
    }
    EXPECT_EQ(s.m.SequencerRead(s.regs, kRunState), 0u) << "ended";
    s.Write(kApply, 1);
    EXPECT_NEAR(s.Read(kVrms), 10.0, 0.01) << "the settings take the output back";
}

// A stop in the middle of a sweep leaves the output where the sweep was.
TEST(StagePlay, StoppedRunKeepsItsValues) {
    StagePlay s;
    Step(s, 0, (1u << 5) | (kWaveCodeSin << 6), 100, 50, 1000, 8);
    s.Write(kSeqSimCmd, 1);
    test::g_stageNowUs = 40'000;
    s.Write(kSeqSimCmd, 2);
    test::g_stageNowUs = 90'000;
    EXPECT_NEAR(s.Read(kVrms), 40.0, 0.05);
}

}  // namespace
