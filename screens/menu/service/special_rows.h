#pragma once
// The texts of the special-function page's rows: the four service lists, each row with the value it
// shows. GUI thread only (one shared text buffer).
#include <cstdint>

// Row 0..26 of the service switch list with its live value; null when there is no such row.
const char* SpecialSwitchRowText(int row);
// Row 0..11 of the service data list with its live value; null when there is no such row.
const char* SpecialDataRowText(int row);

namespace special {

// The list a menu state shows: its row count and the text of a row (null outside the list).
enum class List : uint8_t { kNone, kModelBrand, kSwitches, kUpdate, kData };
List ListOfState(uint32_t state);
int RowCount(List list);
const char* RowText(List list, int row);

// The shown values of the switch and data lists, compared by the page to find a change it has not drawn.
struct ValueSnapshot {
    int32_t tuning[6];  // slew-rate time, fan slew, fan duty max and min, Kp, Ki
    int32_t rdDefine[5];
    uint32_t serviceWords[5];  // detail alarm, clear hw alarm, 1P2W three-phase, temperature, R&D test
    uint32_t flagWord;         // the service flag word
    uint32_t tuneBits;         // "Version in detail" and the other tuning bits
    int32_t alarmMonitor;
    uint32_t calDataUnit;
    bool operator==(const ValueSnapshot&) const = default;
};
ValueSnapshot TakeSnapshot();

}  // namespace special
