// Builds every record of the parameter store from the default tables.
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/params/limits/wave_crest.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/config/model_table.h"

using namespace core;

std::atomic<const ParamTableSet*> g_DefaultTables{&kParamDefaultTables};

namespace {

const ParamDefaultRow& MiscRowOf(uint32_t id) {
    for (const MiscRow& r : kMiscRows) {
        if (r.id == id) return r.row;
    }
    return kMiscRows[0].row;  // not reached: every id asked for is in the table
}

const ParamDefaultRow& Row(ParamTableId table, uint32_t index) {
    return (*g_DefaultTables.load(std::memory_order_relaxed))[table].rows[index];
}

void BuildPhaseRecords(uint32_t m) {
    for (uint32_t u = 0; u < kUnits; ++u) {
        ParamModeBlock& b = g_ParamStore.unit[u].mode[m];
        ParamRecInit(&b.onPhase, kOnOffPhaseRow);
        ParamRecInit(&b.offPhase, kOnOffPhaseRow);
    }
    ParamModeBlock& b0 = g_ParamStore.unit[0].mode[m];
    for (uint32_t k = 0; k < 3; ++k)
        ParamRecInit(&b0.phaseAngle[k], kPhaseAngleRows[k]);
    ParamRecInit(&b0.syncPhase, kSyncPhaseRow);
    for (uint32_t u = 0; u < kUnits; ++u) {
        ParamModeBlock& b = g_ParamStore.unit[u].mode[m];
        b.onPhase.state = 1;
        b.onPhase.value = 0;
        b.offPhase.state = 1;
        b.offPhase.value = 0;
    }
    for (uint32_t k = 0; k < 3; ++k)
        b0.phaseAngle[k].state = 1;
}

void BuildFreqRecords(uint32_t m, bool parallel) {
    const ParamDefaultRow* rows = parallel ? kFreqRowsParallel : kFreqRowsSingle;
    const uint32_t cls = FreqClassOfMode(m);
    for (uint32_t u = 0; u < kUnits; ++u) {
        ParamModeBlock& b = g_ParamStore.unit[u].mode[m];
        ParamRecInit(&b.freq, rows[kFreqValue + cls]);
        ParamRecInit(&b.freqHi, rows[kFreqHi + cls]);
        ParamRecInit(&b.freqLo, rows[kFreqLo + cls]);
    }
    ParamRec& f0 = g_ParamStore.unit[0].mode[m].freq;
    f0.def1 = 5000;
    f0.def2 = 6000;
}

void BuildRangeRecords(uint32_t m, uint32_t modelClass) {
    for (uint32_t r = 0; r < kRangeVariants; ++r) {
        for (uint32_t u = 0; u < kUnits; ++u) {
            ParamCurrArea& c = g_ParamStore.unit[u].mode[m].curr[r];
            ParamRecInit(&c.irms, Row(kTabIrms, CurrRow(modelClass, r)));
            ParamRecInit(&c.ipkMax, Row(kTabIpkMax, CurrRow(modelClass, r)));
            ParamRecInit(&c.ipkMin, Row(kTabIpkMin, CurrRow(modelClass, r)));
        }
    }
    // The voltage-class settings exist for the 100 V area and for the area of every other range code.
    for (uint32_t area = 0; area < kVoltAreas; ++area) {
        for (uint32_t u = 0; u < kUnits; ++u) {
            ParamVoltArea& a = g_ParamStore.unit[u].mode[m].volt[area];
            ParamRecInit(&a.gain, Row(kTabGain, area));
            ParamRecInit(&a.sig, kSigRow);
            ParamRecInit(&a.src, kSrcRow);
            ParamRecInit(&a.voltLimit[0], Row(kTabVoltLimit, VoltRow(0, area)));
            ParamRecInit(&a.voltLimit[1], Row(kTabVoltLimit, VoltRow(1, area)));
            ParamRecInit(&a.vpkMax, Row(kTabVpkMax, area));
            ParamRecInit(&a.vpkMin, Row(kTabVpkMin, area));
        }
        ParamRec& g0 = g_ParamStore.unit[0].mode[m].volt[area].gain;
        g0.def1 = 1000;
        g0.def2 = 2000;
    }
}

void BuildVoltageRecords(uint32_t m) {
    for (uint32_t area = 0; area < kVoltAreas; ++area) {
        for (uint32_t u = 0; u < kUnits; ++u) {
            ParamVoltArea& a = g_ParamStore.unit[u].mode[m].volt[area];
            for (uint32_t set = 0; set < 2; ++set) {
                const ParamDefaultRow& acv = Row(kTabAcv, VoltRow(set, area));
                const ParamDefaultRow& dcv = Row(kTabDcv, area);
                for (uint32_t w = 0; w < kWaveforms; ++w) {
                    ParamRecInit(&a.acv[set][w], acv);
                    ParamRecInit(&a.dcv[set][w], dcv);
                    a.acv[set][w].peakFactor = g_ParamStore.waveFactor[w];
                    if (u == 0) {
                        a.acv[set][w].def1 = a.dcv[set][w].def1 = 0;
                        a.acv[set][w].def2 = a.dcv[set][w].def2 = area == 0 ? 10000 : 20000;
                    }
                }
            }
        }
    }
}

}  // namespace

int ParamTableInit() {
    const uint32_t modelClass = g_ModelClass.load(std::memory_order_relaxed);
    if (modelClass >= kCurrModelClasses) return -1;
    const uint32_t model = g_ModelId.load(std::memory_order_relaxed);
    const bool parallel = IsParallelSystem(model);

    float factors[kWaveforms];
    for (uint32_t w = 0; w < kWaveforms; ++w)
        factors[w] = WaveCrestFactor(w);
    {
        std::lock_guard<std::mutex> lock(g_ParamLock);
        for (ParamUnit& u : g_ParamStore.unit) {
            ParamRecInit(&u.waveform, MiscRowOf(kParamWaveShape));
            ParamRecInit(&u.duty, MiscRowOf(kParamWaveDuty));
        }
        for (uint32_t w = 0; w < kWaveforms; ++w)
            g_ParamStore.waveFactor[w] = factors[w];
        g_ArbChanged.flags.fetch_or(kArbWriteFactorTable, std::memory_order_relaxed);

        for (uint32_t m = 0; m < kModes; ++m) {
            const uint32_t group = MeasGroupOfMode(m);
            for (uint32_t k = 0; k < kMeasItems; ++k) {
                ParamRecInit(&g_ParamStore.unit[0].mode[m].meas[k], kMeasRows[group * kMeasItems + k]);
            }
            BuildPhaseRecords(m);
            BuildFreqRecords(m, parallel);
            BuildRangeRecords(m, modelClass);
            BuildVoltageRecords(m);
        }

        const uint32_t group = g_ModelTable[modelClass + 1].caliCurrGroup;
        for (uint32_t k = 0; k < kCaliPoints; ++k) {
            ParamRecInit(&g_ParamStore.caliVolt[k], Row(kTabCaliVolt, k));
            ParamRecInit(&g_ParamStore.caliCurr[k], Row(kTabCaliCurr, group * kCaliPoints + k));
        }
    }
    ZeroAllVoltages();
    return 0;
}
