#pragma once
// The measurement records: the raw meter rows read from the power stage, the live records the
// measurement service publishes (g_MeasLive) and their display copy (g_DispCache), with the same field
// numbers. Rows and records: 0-2 phases L1-L3, 3-5 line-to-line L1-L2, L2-L3, L3-L1, 6 the total row.
//
// The menu/control thread writes the meter rows and the live records; the GUI thread writes the display
// copy; any thread reads them. Every field is a value on its own, so each is a relaxed atomic: a reader
// may see a record partly updated, never a torn field.
#include <atomic>
#include <cstdint>

inline constexpr int kMeasRows = 7;
inline constexpr int kMeasFields = 75;

struct MeasRec {
    std::atomic<float> field[kMeasFields];
    float Get(int i) const { return field[i].load(std::memory_order_relaxed); }
    void Set(int i, float v) { field[i].store(v, std::memory_order_relaxed); }
};

// Field numbers of a record.
enum MeasField : int {
    kMfPageId = 0,  // record 0 of the display copy: the page on screen
    kMfVrms = 30,
    kMfVavg = 31,
    kMfVrmsRaw = 32,
    kMfIrms = 34,
    kMfIavg = 35,
    kMfImax = 37,
    kMfImin = 38,
    kMfIpkHold = 42,
    kMfVmax = 43,
    kMfVmin = 44,
    kMfVpkHold = 45,
    kMfPower = 47,
    kMfApparent = 48,
    kMfReactive = 51,
    kMfPF = 52,
    kMfCF = 53,
    kMfAux = 54,
    kMfVrmsTotal = 55,  // 55-60 in record 0 only
    kMfIrmsTotal = 56,
    kMfPowerTotal = 57,
    kMfPFTotal = 58,
    kMfApparentTotal = 59,
    kMfReactiveTotal = 60,
    kMfFreq = 61,
    kMfThdV = 62,  // percent, -0.1 when not available
    kMfThdI = 63,
};

extern MeasRec g_MeasLive[kMeasRows];
extern MeasRec g_DispCache[kMeasRows];

using MeterValue = std::atomic<float>;

// The last raw readings of one row.
struct MeterRow {
    MeterValue vrms, vavg, irms, iavg, p, imax, imin, vpkHold, ipkHold, vmax, vmin, freq;
    MeterValue s, q, aux;
    std::atomic<int32_t> pfx1000, cfx100;
    // Row 0 only.
    MeterValue vrmsTotal, irmsTotal, pTotal, pfTotal, sTotal, qTotal;
};
extern MeterRow g_MeterRows[kMeasRows];

inline float Val(const MeterValue& v) {
    return v.load(std::memory_order_relaxed);
}
inline void Put(MeterValue& v, float x) {
    v.store(x, std::memory_order_relaxed);
}

// The page that should be on screen: field 0 of record 0 of the display copy, holding the id as a number
// (-1 for none, read back as kPageNone). The page manager and the pages' create operations write it; the
// phase-configuration command reads it.
inline constexpr uint32_t kPageNone = 0xFFFFFFFFu;
struct PageIdSlot {
    uint32_t load() const {
        const float v = g_DispCache[0].Get(kMfPageId);
        return v < 0.0f ? kPageNone : static_cast<uint32_t>(v);
    }
    void store(uint32_t id) { g_DispCache[0].Set(kMfPageId, id == kPageNone ? -1.0f : static_cast<float>(id)); }
};
inline PageIdSlot g_PageId;

// Copies the measured fields of every live record into the display copy; field 0 of record 0, the page
// id, stays.
// Tests take the display copy at once through it instead of waiting for the display pass.
void MeasDispCacheRefresh();

namespace core {
// Records, meter rows, averages, pacing and the measurement objects as at process start (tests).
// Tests start each case from a clean state through it.
void MeasurementReset();
}  // namespace core
