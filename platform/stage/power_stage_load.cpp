#include "platform/stage/power_stage_load.h"

#include <algorithm>
#include <cmath>

#include "platform/stage/wiring_codes.h"

namespace plat {
namespace {

constexpr int kTotalRow = 6;

// The line-to-line rows: L1-L2, L2-L3, L3-L1.
constexpr int kLinePairs[3][2] = {{0, 1}, {1, 2}, {2, 0}};

bool Plays(const PhaseDrive& d) {
    return d.shape != nullptr && d.ac > 0.0f;
}

// The voltage folded back by k (< 1), the waveform's shape kept.
PhaseDrive FoldedBack(const PhaseDrive& in, double k) {
    PhaseDrive d = in;
    d.ac = static_cast<float>(d.ac * k);
    d.dc = static_cast<float>(d.dc * k);
    return d;
}

double PhaseIrms(const PhaseDrive& d) {
    return d.ohms > 0.0f ? DriveRms(d) / d.ohms : 0.0;
}

void SetRow(StageMeasures& m, int row, const PhaseDrive& d) {
    auto& q = m.row;
    const bool plays = Plays(d);
    const double vrms = DriveRms(d);
    const double vavg = d.dc + (plays ? d.ac * d.shape->mean : 0.0);
    const double vmax = d.dc + (plays ? d.ac * d.shape->max : 0.0);
    const double vmin = d.dc + (plays ? d.ac * d.shape->min : 0.0);
    q[kQVrms][row] = static_cast<float>(vrms);
    q[kQVavg][row] = static_cast<float>(vavg);
    q[kQVmax][row] = static_cast<float>(vmax);
    q[kQVmin][row] = static_cast<float>(vmin);
    q[kQVpkHold][row] = static_cast<float>(std::max(std::fabs(vmax), std::fabs(vmin)));
    if (d.ohms <= 0.0f) return;  // nothing connected: no current, no power
    const double r = d.ohms;
    const double irms = vrms / r;
    q[kQIrms][row] = static_cast<float>(irms);
    q[kQIavg][row] = static_cast<float>(vavg / r);
    q[kQImax][row] = static_cast<float>(vmax / r);
    q[kQImin][row] = static_cast<float>(vmin / r);
    const double ipk = std::max(std::fabs(vmax), std::fabs(vmin)) / r;
    q[kQIpkHold][row] = static_cast<float>(ipk);
    q[kQPower][row] = static_cast<float>(vrms * irms);
    q[kQApparent][row] = static_cast<float>(vrms * irms);
    q[kQPowerFactor][row] = irms > 0.0 ? 1000.0f : 0.0f;
    q[kQCrestFactor][row] = irms > 0.0 ? static_cast<float>(std::lround(ipk / irms * 100.0)) : 0.0f;
}

// The difference of two phases: point by point over the common period when they play one frequency; of
// two frequencies the waves drift against each other and only their means correlate.
void SetLineRow(StageMeasures& m, int row, const PhaseDrive& a, const PhaseDrive& b) {
    auto& q = m.row;
    if (!Plays(a) || !Plays(b) || a.freq == b.freq) {
        double sum = 0.0, squares = 0.0, hi = -HUGE_VAL, lo = HUGE_VAL;
        const PeriodReader va(a), vb(b);
        for (uint32_t i = 0; i < kShapePoints; ++i) {
            const double v = va(i) - vb(i);
            sum += v;
            squares += v * v;
            hi = std::max(hi, v);
            lo = std::min(lo, v);
        }
        q[kQVrms][row] = static_cast<float>(std::sqrt(squares / kShapePoints));
        q[kQVavg][row] = static_cast<float>(sum / kShapePoints);
        q[kQVmax][row] = static_cast<float>(hi);
        q[kQVmin][row] = static_cast<float>(lo);
        return;
    }
    const double ra = DriveRms(a), rb = DriveRms(b);
    const double ma = a.dc + a.ac * a.shape->mean, mb = b.dc + b.ac * b.shape->mean;
    q[kQVrms][row] = static_cast<float>(std::sqrt(std::max(0.0, ra * ra + rb * rb - 2.0 * ma * mb)));
    q[kQVavg][row] = static_cast<float>(ma - mb);
    q[kQVmax][row] = static_cast<float>(a.dc + a.ac * a.shape->max - (b.dc + b.ac * b.shape->min));
    q[kQVmin][row] = static_cast<float>(a.dc + a.ac * a.shape->min - (b.dc + b.ac * b.shape->max));
}

// The phases a wiring plays: 1P3W leaves L3 idle; in 1P2W the three modules feed one output.
int PhasesInUse(uint32_t wiring) {
    return wiring == kWiring1P3W ? 2 : 3;
}

void SetTotalRow(StageMeasures& m, uint32_t wiring) {
    auto& q = m.row;
    const int n = PhasesInUse(wiring);
    auto sum = [&](StageQuantity s) {
        float t = 0.0f;
        for (int p = 0; p < n; ++p)
            t += q[s][p];
        return t;
    };
    auto largest = [&](StageQuantity s) { return *std::max_element(q[s], q[s] + n); };
    for (StageQuantity s : {kQIrms, kQIavg, kQImax, kQImin, kQPower, kQApparent, kQReactive})
        q[s][kTotalRow] = sum(s);
    const float irms = q[kQIrms][kTotalRow];
    if (wiring == kWiring1P2W) {
        // One output: its voltage is L1's, its current the modules' currents added, which play one shape in
        // step, so their peaks add too.
        for (StageQuantity s : {kQVrms, kQVavg, kQVmax, kQVmin, kQVpkHold})
            q[s][kTotalRow] = q[s][0];
        const float ipk = std::max(std::fabs(q[kQImax][kTotalRow]), std::fabs(q[kQImin][kTotalRow]));
        q[kQIpkHold][kTotalRow] = ipk;
        q[kQCrestFactor][kTotalRow] = irms > 0.0f ? std::round(ipk / irms * 100.0f) : 0.0f;
    } else {
        for (StageQuantity s : {kQVrms, kQVavg})
            q[s][kTotalRow] = sum(s) / static_cast<float>(n);
        for (StageQuantity s : {kQVmax, kQVpkHold, kQIpkHold})
            q[s][kTotalRow] = largest(s);
        q[kQVmin][kTotalRow] = *std::min_element(q[kQVmin], q[kQVmin] + n);
        // Separate lines have no common peak: the total is the worst line's crest factor.
        q[kQCrestFactor][kTotalRow] = largest(kQCrestFactor);
    }
    const float s = q[kQApparent][kTotalRow];
    q[kQPowerFactor][kTotalRow] = s > 0.0f ? std::round(q[kQPower][kTotalRow] / s * 1000.0f) : 0.0f;
}

}  // namespace

PeriodReader::PeriodReader(const PhaseDrive& d) : d_(d) {
    // The angle delays the wave by a fraction of a point as well: between two points it is interpolated.
    const double n = kShapePoints;
    double delay = std::fmod(d.angleDeg / 360.0 * n, n);
    if (delay < 0.0) delay += n;
    const auto whole = static_cast<uint32_t>(delay);
    frac_ = whole + 1.0 - delay;  // weight of the later point
    start_ = kShapePoints - whole - 1;
}

double PeriodReader::operator()(uint32_t i) const {
    if (d_.shape == nullptr || d_.ac <= 0.0f) return d_.dc;
    constexpr uint32_t kMask = kShapePoints - 1;
    const float* point = d_.shape->point;
    const uint32_t a = (i + start_) & kMask;
    const double u = point[a] * (1.0 - frac_) + point[(a + 1) & kMask] * frac_;
    return d_.dc + static_cast<double>(d_.ac) * u;
}

double DriveRms(const PhaseDrive& d) {
    if (!Plays(d)) return std::fabs(d.dc);
    // The waveform has an rms of 1 and its own mean, which the DC part adds to.
    const double dc = d.dc, ac = d.ac;
    return std::sqrt(std::max(0.0, dc * dc + 2.0 * dc * ac * d.shape->mean + ac * ac));
}

void LimitDrives(const PhaseDrive (&in)[3], uint32_t wiring, PhaseDrive (&out)[3], bool (&limited)[3]) {
    for (int p = 0; p < 3; ++p) {
        out[p] = in[p];
        limited[p] = false;
    }
    if (wiring == kWiring1P2W) {
        const double limit = in[0].irmsLimit;
        const double irms = PhaseIrms(in[0]) + PhaseIrms(in[1]) + PhaseIrms(in[2]);
        if (limit <= 0.0 || irms <= limit) return;
        // The one output's voltage comes down until the loads together draw the limit.
        for (int p = 0; p < 3; ++p)
            out[p] = FoldedBack(in[p], limit / irms);
        limited[0] = true;
        return;
    }
    for (int p = 0; p < 3; ++p) {
        const double irms = PhaseIrms(in[p]);
        if (in[p].irmsLimit <= 0.0f || irms <= in[p].irmsLimit) continue;
        // The stage lowers the phase's voltage until its current is back at the limit.
        out[p] = FoldedBack(in[p], in[p].irmsLimit / irms);
        limited[p] = true;
    }
}

StageMeasures ComputeMeasures(const PhaseDrive (&phase)[3], uint32_t wiring) {
    StageMeasures m;
    PhaseDrive driven[3];
    LimitDrives(phase, wiring, driven, m.limited);
    for (int p = 0; p < 3; ++p)
        SetRow(m, p, driven[p]);
    for (int l = 0; l < 3; ++l)
        SetLineRow(m, 3 + l, driven[kLinePairs[l][0]], driven[kLinePairs[l][1]]);
    SetTotalRow(m, wiring);
    m.freq = Plays(driven[0]) ? driven[0].freq : 0.0f;
    return m;
}

}  // namespace plat
