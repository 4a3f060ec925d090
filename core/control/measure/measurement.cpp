// The measurement chain: three state objects stepped once per pass of the periodic services. The voltage
// object reads the voltages on every step; the current object reads the currents on every step and, on
// every second one, the powers, then publishes the records.
#include "core/control/measure/measurement.h"

#include "core/control/calibration/calibration.h"
#include "core/control/measure/meas_average.h"
#include "core/control/measure/meas_internal.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/util/step_obj.h"

namespace {

constexpr uint32_t kMsgStart = 1;
constexpr uint32_t kMsgRun = 2;
constexpr uint32_t kMsgPowers = 9;
constexpr uint32_t kStateRun = 2;

// Live fields the current object clears when it starts: the current values and the peak holds.
constexpr int kClearedAtStart[] = {25, 34, 35, 37, 38, 39, 40, 41, 42, 45};

bool CalibrationMeasuring() {
    return (g_CalState.measuring.load(std::memory_order_relaxed) & 1u) != 0;
}

int32_t MeasVolt_Start(StepRow* row, uint32_t msg) {
    // The stage's mode, waveform and wiring are stored once more before the first reading.
    SetOutputMode(GetOutputMode());
    SetWaveformSel(GetWaveformSel());
    SetPhaseMode(GetPhaseMode());
    StepRowSetNext(kStateRun, row);
    return static_cast<int32_t>(msg);
}

int32_t MeasVolt_Run(StepRow*, uint32_t msg) {
    meas::ReadVoltages();
    return static_cast<int32_t>(msg);
}

int32_t MeasCurr_Start(StepRow* row, uint32_t msg) {
    if (msg != kMsgStart) return static_cast<int32_t>(msg);
    for (MeterRow& m : g_MeterRows)
        Put(m.irms, 0.0f);
    for (MeasRec& rec : g_MeasLive) {
        for (int f : kClearedAtStart)
            rec.Set(f, 0.0f);
    }
    StepObjPostState(kStateRun, kMsgRun, row);
    return static_cast<int32_t>(msg);
}

uint32_t g_currRemembered = 0;

int32_t MeasCurr_Run(StepRow* row, uint32_t msg) {
    meas::ReadCurrents();
    if (msg == kMsgRun) {
        g_currRemembered = kMsgRun;
        StepObjPostMsg(kMsgPowers, row);
    } else if (msg == kMsgPowers) {
        meas::ReadPowers();
        if (!CalibrationMeasuring()) meas::AverageAndPublish();
        StepObjPostMsg(g_currRemembered, row);
        g_currRemembered = 0;
    }
    return static_cast<int32_t>(msg);
}

StepRow g_voltRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, MeasVolt_Start}, {{0}, {0}, MeasVolt_Run},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},    {{0}, {0}, StepRowIdle},
};
StepRow g_currRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, MeasCurr_Start}, {{0}, {0}, MeasCurr_Run},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},    {{0}, {0}, StepRowIdle},
};
StepObj g_MeasVoltObj{{1}, {0}, g_voltRows};
StepObj g_MeasCurrObj{{1}, {kMsgStart}, g_currRows};

int32_t Meas_Start(StepRow* row, uint32_t msg) {
    if (msg == kMsgStart) StepObjPostState(kStateRun, kMsgRun, row);
    return static_cast<int32_t>(msg);
}

int32_t Meas_Run(StepRow*, uint32_t msg) {
    if (msg != kMsgRun) return static_cast<int32_t>(msg);
    if (CalibrationMeasuring()) {
        meas::ReadCalibrationValues();
    } else {
        StepObjRun(&g_MeasVoltObj);
        meas::ReadFrequency();
        StepObjRun(&g_MeasCurrObj);
    }
    return static_cast<int32_t>(msg);
}

StepRow g_measRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, Meas_Start},  {{0}, {0}, Meas_Run},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};
StepObj g_MeasObj{{1}, {kMsgStart}, g_measRows};


}  // namespace

void Meas_Service() {
    if (g_PhaseFault.load(std::memory_order_relaxed) != 0) return;
    StepObjRun(&g_MeasObj);
}

namespace core {
void MeasurementReset() {
    StepObjRewind(&g_MeasObj, 1, kMsgStart);
    StepObjRewind(&g_MeasVoltObj, 1, 0);
    StepObjRewind(&g_MeasCurrObj, 1, kMsgStart);
    g_currRemembered = 0;
    for (MeterRow& m : g_MeterRows) {
        for (MeterValue* v :
             {&m.vrms,    &m.vavg,      &m.irms,      &m.iavg,   &m.p,       &m.imax,   &m.imin,
              &m.vpkHold, &m.ipkHold,   &m.vmax,      &m.vmin,   &m.freq,    &m.s,      &m.q,
              &m.aux,     &m.vrmsTotal, &m.irmsTotal, &m.pTotal, &m.pfTotal, &m.sTotal, &m.qTotal})
            Put(*v, 0.0f);
        m.pfx1000.store(0);
        m.cfx100.store(0);
    }
    for (int r = 0; r < kMeasRows; ++r) {
        for (int f = 0; f < kMeasFields; ++f) {
            g_MeasLive[r].Set(f, 0.0f);
            g_DispCache[r].Set(f, 0.0f);
        }
    }
    MeasAvgClearAll();
    MeasUpdateRateReset();
}
}  // namespace core
