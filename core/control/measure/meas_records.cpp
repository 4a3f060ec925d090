#include "core/control/measure/meas_records.h"

MeasRec g_MeasLive[kMeasRows];
MeasRec g_DispCache[kMeasRows];
MeterRow g_MeterRows[kMeasRows];

namespace {
// No page is wanted until the page manager builds the first one.
[[maybe_unused]] const bool g_pageIdAtStart = (g_PageId.store(kPageNone), true);
// The fields the measurement service fills; the header fields before them belong to the display.
constexpr int kFirstMeasuredField = 16;
}  // namespace

void MeasDispCacheRefresh() {
    for (int r = 0; r < kMeasRows; ++r) {
        for (int f = kFirstMeasuredField; f < kMeasFields; ++f)
            g_DispCache[r].Set(f, g_MeasLive[r].Get(f));
    }
}
