#pragma once
// The names of the measurement items as the home screen's lists and keys show them: one table per item
// row 1-4, another set in DC-INT, indexed by the row's item number.
#include <array>
#include <cstdint>

namespace home {

struct MeasItemNames {
    std::array<const char*, 13> names;
    int32_t count;
};

// [DC-INT][row 0-3]
inline constexpr MeasItemNames kMeasItemNames[2][4] = {
    {
        {{"Vrms", "Vavg", "Vmax", "Vmin", "VpkH", "VLL rms", "VLL avg", "VLL max", "VLL min", "P", "S", "Q",
          "THDv"},
         13},
        {{"Irms", "Iavg", "Imax", "Imin", "IpkH", "PF", "CF", "Vavg", "THDi"}, 9},
        {{"P", "S", "Q", "IpkH", "PF", "CF", "Freq"}, 7},
        {{"VLL rms", "VLL avg", "VLL max", "VLL min", "P", "S", "Q", "PF", "CF"}, 9},
    },
    {
        {{"Vrms", "Vavg", "Vmax", "Vmin", "VpkH", "P"}, 6},
        {{"Irms", "Iavg", "Imax", "Imin", "IpkH", "Vavg"}, 6},
        {{"P", "IpkH"}, 2},
        {{"Irms", "Iavg", "Imax", "Imin", "P", "IpkH"}, 6},
    },
};

// The number of items of row 0-3 in the output mode (0 for another row).
constexpr int32_t MeasItemCount(uint32_t row, uint32_t outputMode) {
    return row > 3 ? 0 : kMeasItemNames[outputMode == 2 ? 1 : 0][row].count;
}

// The name of item `item` of row 0-3 in the output mode, or "" for an item the row lacks.
constexpr const char* MeasItemName(uint32_t row, uint32_t outputMode, int32_t item) {
    if (item < 0 || item >= MeasItemCount(row, outputMode)) return "";
    return kMeasItemNames[outputMode == 2 ? 1 : 0][row].names[static_cast<size_t>(item)];
}

}  // namespace home
