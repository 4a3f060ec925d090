// Publishing: the meter rows, averaged where the quantity is averaged, into the live records.
#include "core/control/measure/harmonics.h"
#include "core/control/measure/meas_average.h"
#include "core/control/measure/meas_internal.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"

namespace meas {
namespace {

constexpr int kPhases = 3;
constexpr int kTotalRow = 6;
constexpr float kThdUnavailable = -0.1f;
constexpr uint32_t kStatusOutputOn = 1u << 0;

struct Averaged {
    int field;
    int slot;
    float (*read)(const MeterRow&);
};

// The averaged quantities of the phase and total records beyond the voltages.
const Averaged kCurrentAndPower[] = {
    {kMfIrms, kAvgIrms, [](const MeterRow& m) { return Val(m.irms); }},
    {kMfIavg, kAvgIavg, [](const MeterRow& m) { return Val(m.iavg); }},
    {kMfImax, kAvgImax, [](const MeterRow& m) { return Val(m.imax); }},
    {kMfImin, kAvgImin, [](const MeterRow& m) { return Val(m.imin); }},
    {kMfPower, kAvgPower, [](const MeterRow& m) { return Val(m.p); }},
    {kMfApparent, kAvgApparent, [](const MeterRow& m) { return Val(m.s); }},
    {kMfReactive, kAvgReactive, [](const MeterRow& m) { return Val(m.q); }},
    {kMfPF, kAvgPF, [](const MeterRow& m) { return static_cast<float>(m.pfx1000.load()) / 1000.0f; }},
    {kMfCF, kAvgCF, [](const MeterRow& m) { return static_cast<float>(m.cfx100.load()) / 100.0f; }},
};

// The totals of record 0.
const Averaged kTotals[] = {
    {kMfVrmsTotal, kAvgTotals + 0, [](const MeterRow& m) { return Val(m.vrmsTotal); }},
    {kMfIrmsTotal, kAvgTotals + 1, [](const MeterRow& m) { return Val(m.irmsTotal); }},
    {kMfPowerTotal, kAvgTotals + 2, [](const MeterRow& m) { return Val(m.pTotal); }},
    {kMfPFTotal, kAvgTotals + 3, [](const MeterRow& m) { return Val(m.pfTotal); }},
    {kMfApparentTotal, kAvgTotals + 4, [](const MeterRow& m) { return Val(m.sTotal); }},
    {kMfReactiveTotal, kAvgTotals + 5, [](const MeterRow& m) { return Val(m.qTotal); }},
};

void Publish(MeasRec& rec, int row, const Averaged& a) {
    rec.Set(a.field, MeasAvg_Update(a.slot, row, a.read(g_MeterRows[row])));
}

}  // namespace

void AverageAndPublish() {
    const bool thdShown =
        IsAcIntNoSeqSim() != 0 && (core::g_OutputStatusMirror.load() & kStatusOutputOn) != 0;
    for (int r = 0; r < kMeasRows; ++r) {
        const MeterRow& m = g_MeterRows[r];
        MeasRec& rec = g_MeasLive[r];
        rec.Set(kMfVrms, MeasAvg_Update(kAvgVrms, r, Val(m.vrms)));
        rec.Set(kMfVavg, MeasAvg_Update(kAvgVavg, r, Val(m.vavg)));
        rec.Set(kMfVmax, MeasAvg_Update(kAvgVmax, r, Val(m.vmax)));
        rec.Set(kMfVmin, MeasAvg_Update(kAvgVmin, r, Val(m.vmin)));
        rec.Set(kMfVrmsRaw, Val(m.vrms));
        if (r >= kPhases && r != kTotalRow) continue;  // line-to-line records carry the voltages only
        for (const Averaged& a : kCurrentAndPower)
            Publish(rec, r, a);
        rec.Set(kMfVpkHold, Val(m.vpkHold));
        rec.Set(kMfIpkHold, Val(m.ipkHold));
        rec.Set(kMfFreq, Val(m.freq));
        rec.Set(kMfAux, Val(m.aux));
        if (r >= kPhases) continue;
        const HarmResult& h = g_HarmResult[r];
        const bool vValid = thdShown && h.VInvalid.load(std::memory_order_relaxed) == 0;
        const bool iValid = thdShown && h.IInvalid.load(std::memory_order_relaxed) == 0;
        rec.Set(kMfThdV, vValid ? h.VPct[0].load(std::memory_order_relaxed) : kThdUnavailable);
        rec.Set(kMfThdI, iValid ? h.IPct[0].load(std::memory_order_relaxed) : kThdUnavailable);
    }
    for (const Averaged& a : kTotals)
        Publish(g_MeasLive[0], 0, a);
}

}  // namespace meas
