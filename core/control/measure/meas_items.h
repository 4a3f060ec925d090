#pragma once
// The four measurement items of the home screen: each item row stores a slot of its own list of
// quantities, and the lists differ between DC-INT and the other output modes. The screens draw the
// slot's quantity, the remote commands name it.
#include <cstddef>
#include <cstdint>

#include "core/params/param_ranges.h"

// The quantities by their remote choice value (VRMS 0 ... LMIN 21).
enum MeasItemChoice : int32_t {
    kMeasVrms,
    kMeasVavg,
    kMeasVmax,
    kMeasVmin,
    kMeasVpkh,
    kMeasIrms,
    kMeasIavg,
    kMeasImax,
    kMeasImin,
    kMeasIpkh,
    kMeasRpow,
    kMeasSpow,
    kMeasQpow,
    kMeasFreq,
    kMeasPfac,
    kMeasCfac,
    kMeasThdv,
    kMeasThdi,
    kMeasLrms,
    kMeasLavg,
    kMeasLmax,
    kMeasLmin,
    kMeasChoiceCount
};

namespace meas_items {

inline constexpr size_t kMaxSlots = 13;

struct ItemList {
    int8_t slot[kMaxSlots];
    size_t count;
};

// [item row 0-3][0 other modes, 1 DC-INT]
inline constexpr ItemList kLists[4][2] = {
    {{{kMeasVrms, kMeasVavg, kMeasVmax, kMeasVmin, kMeasVpkh, kMeasLrms, kMeasLavg, kMeasLmax, kMeasLmin,
       kMeasRpow, kMeasSpow, kMeasQpow, kMeasThdv},
      13},
     {{kMeasVrms, kMeasVavg, kMeasVmax, kMeasVmin, kMeasVpkh, kMeasRpow}, 6}},
    {{{kMeasIrms, kMeasIavg, kMeasImax, kMeasImin, kMeasIpkh, kMeasPfac, kMeasCfac, kMeasVavg, kMeasThdi}, 9},
     {{kMeasIrms, kMeasIavg, kMeasImax, kMeasImin, kMeasIpkh, kMeasVavg}, 6}},
    {{{kMeasRpow, kMeasSpow, kMeasQpow, kMeasIpkh, kMeasPfac, kMeasCfac, kMeasFreq}, 7},
     {{kMeasRpow, kMeasIpkh}, 2}},
    {{{kMeasLrms, kMeasLavg, kMeasLmax, kMeasLmin, kMeasRpow, kMeasSpow, kMeasQpow, kMeasPfac, kMeasCfac}, 9},
     {{kMeasIrms, kMeasIavg, kMeasImax, kMeasImin, kMeasRpow, kMeasIpkh}, 6}},
};

constexpr const ItemList& ListOf(uint32_t row, uint32_t outputMode) {
    return kLists[row][outputMode == kModeDcInt ? 1 : 0];
}

}  // namespace meas_items

// The quantity in `slot` of item row 0-3's list for the output mode, or -1 outside the list.
constexpr int32_t MeasItemQuantity(uint32_t row, uint32_t outputMode, int32_t slot) {
    if (row > 3 || slot < 0) return -1;
    const meas_items::ItemList& list = meas_items::ListOf(row, outputMode);
    return static_cast<size_t>(slot) < list.count ? list.slot[slot] : -1;
}

// A line-to-line quantity (VLL rms, avg, max, min).
constexpr bool MeasIsLineToLine(int32_t quantity) {
    return quantity >= kMeasLrms && quantity <= kMeasLmin;
}
