// Reading the power stage's measurement registers into the meter rows.
#include "core/control/measure/meas_internal.h"
#include "core/control/measure/meas_records.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/regbus/regbus.h"
#include "core/system/state/service_flags.h"

namespace meas {
namespace {

constexpr int kPhases = 3;
constexpr int kTotalRow = 6;
constexpr uint32_t kWiring1P2W = 1;

// The peak-hold and auxiliary registers exist for the phases (and the peak hold for the total), not for
// the line-to-line rows: a row without a register reads 0 instead of a neighbouring quantity.
float VpkHoldOfRow(int r) {
    if (r < kPhases) return BusReg_GetVpkHold(r);
    return r == kTotalRow ? BusReg_GetVpkHoldTotal() : 0.0f;
}
float AuxOfRow(int r) {
    return r < kPhases ? BusReg_GetMeasWord54(r) : 0.0f;
}

}  // namespace

bool SingleRowWiring() {
    return GetPhaseMode() == kWiring1P2W &&
           g_ServiceFlags.threePhase1P2W.load(std::memory_order_relaxed) == 0;
}

void ReadVoltages() {
    if (SingleRowWiring()) {
        MeterRow& m = g_MeterRows[0];
        Put(m.vrms, BusReg_GetVrmsTotal());
        Put(m.vavg, BusReg_GetVavgTotal());
        Put(m.vmax, BusReg_GetVmaxTotal());
        Put(m.vmin, BusReg_GetVminTotal());
        return;
    }
    for (int r = 0; r < kMeasRows; ++r) {
        MeterRow& m = g_MeterRows[r];
        Put(m.vrms, BusReg_GetVrms(r));
        Put(m.vavg, BusReg_GetVavg(r));
        Put(m.vmax, BusReg_GetVmax(r));
        Put(m.vmin, BusReg_GetVmin(r));
    }
}

void ReadCurrents() {
    if (SingleRowWiring()) {
        MeterRow& m = g_MeterRows[0];
        Put(m.irms, BusReg_GetIrmsTotal());
        Put(m.iavg, BusReg_GetIavgTotal());
        Put(m.imax, BusReg_GetImaxTotal());
        Put(m.imin, BusReg_GetIminTotal());
        Put(m.vpkHold, BusReg_GetVpkHoldTotal());
        Put(m.ipkHold, BusReg_GetIpkHoldTotal());
        return;
    }
    for (int r = 0; r < kMeasRows; ++r) {
        MeterRow& m = g_MeterRows[r];
        Put(m.irms, BusReg_GetIrms(r));
        Put(m.iavg, BusReg_GetIavg(r));
        Put(m.imax, BusReg_GetImax(r));
        Put(m.imin, BusReg_GetImin(r));
        Put(m.vpkHold, VpkHoldOfRow(r));
        Put(m.ipkHold, BusReg_GetIpkHold(r));
    }
}

void ReadPowers() {
    if (SingleRowWiring()) {
        MeterRow& m = g_MeterRows[0];
        Put(m.p, BusReg_GetPowerTotal());
        Put(m.s, BusReg_GetApparentTotal());
        Put(m.q, BusReg_GetReactiveTotal());
        m.pfx1000.store(BusReg_GetPFTotal(), std::memory_order_relaxed);
        m.cfx100.store(BusReg_GetCFTotal(), std::memory_order_relaxed);
        Put(m.aux, AuxOfRow(0));
        return;
    }
    for (int r = 0; r < kMeasRows; ++r) {
        MeterRow& m = g_MeterRows[r];
        Put(m.p, BusReg_GetPower(r));
        Put(m.s, BusReg_GetApparent(r));
        Put(m.q, BusReg_GetReactive(r));
        Put(m.aux, AuxOfRow(r));
        const int32_t pf = r == kTotalRow ? BusReg_GetPFTotal() : BusReg_GetPF(r);
        const int32_t cf = r == kTotalRow ? BusReg_GetCFTotal() : BusReg_GetCF(r);
        m.pfx1000.store(pf, std::memory_order_relaxed);
        m.cfx100.store(cf, std::memory_order_relaxed);
    }
    MeterRow& t = g_MeterRows[0];
    Put(t.vrmsTotal, BusReg_GetVrmsTotal());
    Put(t.irmsTotal, BusReg_GetIrmsTotal());
    Put(t.pTotal, BusReg_GetPowerTotal());
    Put(t.pfTotal, static_cast<float>(BusReg_GetPFTotal()) / 1000.0f);
    Put(t.sTotal, BusReg_GetApparentTotal());
    Put(t.qTotal, BusReg_GetReactiveTotal());
}

void ReadFrequency() {
    const float f = BusReg_GetFreq();
    for (int r = 0; r < kPhases; ++r)
        Put(g_MeterRows[r].freq, f);
}

void ReadCalibrationValues() {
    for (int r = 0; r < kPhases; ++r) {
        MeterRow& m = g_MeterRows[r];
        Put(m.vrms, BusReg_GetVrms(r));
        Put(m.irms, BusReg_GetIrms(r));
        Put(m.imax, BusReg_GetImax(r));
    }
    ReadFrequency();
}

}  // namespace meas
