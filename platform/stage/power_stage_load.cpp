#include "platform/stage/power_stage_load.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace plat {
namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr int kTotalRow = 6;

// The line-to-line rows: L1-L2, L2-L3, L3-L1.
constexpr int kLinePairs[3][2] = {{0, 1}, {1, 2}, {2, 0}};

std::complex<double> Phasor(const PhaseDrive& d) {
    return std::polar(static_cast<double>(d.ac), -d.angleDeg * kDegToRad);
}

void SetRow(StageMeasures& m, int row, const PhaseDrive& d) {
    auto& q = m.row;
    const double vrms = std::hypot(d.ac, d.dc);
    const double vmax = d.dc + d.ac * d.crest;
    const double vmin = d.dc - d.ac * d.crest;
    q[kQVrms][row] = static_cast<float>(vrms);
    q[kQVavg][row] = d.dc;
    q[kQVmax][row] = static_cast<float>(vmax);
    q[kQVmin][row] = static_cast<float>(vmin);
    q[kQVpkHold][row] = static_cast<float>(std::max(std::fabs(vmax), std::fabs(vmin)));
    if (d.ohms <= 0.0f) return;  // nothing connected: no current, no power
    const double r = d.ohms;
    const double irms = vrms / r;
    q[kQIrms][row] = static_cast<float>(irms);
    q[kQIavg][row] = static_cast<float>(d.dc / r);
    q[kQImax][row] = static_cast<float>(vmax / r);
    q[kQImin][row] = static_cast<float>(vmin / r);
    const double ipk = std::max(std::fabs(vmax), std::fabs(vmin)) / r;
    q[kQIpkHold][row] = static_cast<float>(ipk);
    q[kQPower][row] = static_cast<float>(vrms * irms);
    q[kQApparent][row] = static_cast<float>(vrms * irms);
    q[kQPowerFactor][row] = irms > 0.0 ? 1000.0f : 0.0f;
    q[kQCrestFactor][row] = irms > 0.0 ? static_cast<float>(std::lround(ipk / irms * 100.0)) : 0.0f;
}

void SetLineRow(StageMeasures& m, int row, const PhaseDrive& a, const PhaseDrive& b) {
    const double ac = std::abs(Phasor(a) - Phasor(b));
    const double dc = static_cast<double>(a.dc) - b.dc;
    m.row[kQVrms][row] = static_cast<float>(std::hypot(ac, dc));
    m.row[kQVavg][row] = static_cast<float>(dc);
    m.row[kQVmax][row] = static_cast<float>(dc + ac * a.crest);
    m.row[kQVmin][row] = static_cast<float>(dc - ac * a.crest);
}

void SetTotalRow(StageMeasures& m, uint32_t wiring) {
    auto& q = m.row;
    for (StageQuantity s : {kQIrms, kQIavg, kQImax, kQImin, kQPower, kQApparent, kQReactive})
        q[s][kTotalRow] = q[s][0] + q[s][1] + q[s][2];
    for (StageQuantity s : {kQIpkHold, kQVpkHold, kQVmax})
        q[s][kTotalRow] = std::max({q[s][0], q[s][1], q[s][2]});
    q[kQVmin][kTotalRow] = std::min({q[kQVmin][0], q[kQVmin][1], q[kQVmin][2]});
    for (StageQuantity s : {kQVrms, kQVavg})
        q[s][kTotalRow] = wiring == 1 ? q[s][0] : (q[s][0] + q[s][1] + q[s][2]) / 3.0f;
    if (wiring == 1) {
        q[kQVmax][kTotalRow] = q[kQVmax][0];
        q[kQVmin][kTotalRow] = q[kQVmin][0];
        q[kQVpkHold][kTotalRow] = q[kQVpkHold][0];
    }
    const float s = q[kQApparent][kTotalRow];
    q[kQPowerFactor][kTotalRow] = s > 0.0f ? std::round(q[kQPower][kTotalRow] / s * 1000.0f) : 0.0f;
    const float irms = q[kQIrms][kTotalRow];
    q[kQCrestFactor][kTotalRow] = irms > 0.0f ? std::round(q[kQIpkHold][kTotalRow] / irms * 100.0f) : 0.0f;
}

}  // namespace

PhaseDrive LimitedDrive(const PhaseDrive& in, bool* limited) {
    PhaseDrive d = in;
    *limited = false;
    if (d.ohms <= 0.0f || d.irmsLimit <= 0.0f) return d;
    const double irms = std::hypot(d.ac, d.dc) / d.ohms;
    if (irms <= d.irmsLimit) return d;
    // The stage lowers its voltage until the current is back at the limit.
    const double k = d.irmsLimit / irms;
    d.ac = static_cast<float>(d.ac * k);
    d.dc = static_cast<float>(d.dc * k);
    *limited = true;
    return d;
}

StageMeasures ComputeMeasures(const PhaseDrive (&phase)[3], uint32_t wiring) {
    StageMeasures m;
    PhaseDrive driven[3];
    for (int p = 0; p < 3; ++p) {
        driven[p] = LimitedDrive(phase[p], &m.limited[p]);
        SetRow(m, p, driven[p]);
    }
    for (int l = 0; l < 3; ++l)
        SetLineRow(m, 3 + l, driven[kLinePairs[l][0]], driven[kLinePairs[l][1]]);
    SetTotalRow(m, wiring);
    return m;
}

}  // namespace plat
