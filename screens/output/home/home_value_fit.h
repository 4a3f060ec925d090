#pragma once
// The values the home page's settings panel shows within the bounds it shows them in: in the LINE view the
// line voltages within the selected phase's limits as line-to-line values, and an ON or OFF phase of whole
// degrees at 359 at most. The painters show a value so and only read the store; the menu/control thread,
// which owns the records, writes the bounds and the value back once a pass, after its keys and set commands.
#include <climits>
#include <cstdint>

#include "core/params/settings/angle_bounds.h"

namespace home {


struct LineBounds {
    int32_t max;
    int32_t min;
    bool ownMin;  // the line record takes the minimum too
};
// The line AC voltage reaches the phase maximum as a line-to-line value: sqrt(3) times it in 3P4W, twice it
// otherwise; no minimum of its own.
LineBounds LineAcvBounds(uint32_t phase);
// The line DC voltage: twice the phase's limits.
LineBounds LineDcvBounds(uint32_t phase);
// value held within the bounds (a minimum above the maximum wins).
int32_t WithinLine(int32_t value, const LineBounds& b);
// An angle shown in whole degrees stops at 359.
inline int32_t ShownAngle(int32_t value, int32_t decimals) {
    return decimals == 0 && value > settings::kAngleMaxWholeDegrees ? settings::kAngleMaxWholeDegrees : value;
}

// Menu/control thread, once a pass: for each value the panel shows now (its page, the output mode's rows,
// the view), the record takes the bounds and the value it is shown with; a record is written only where it
// differs.
void HomeValues_Fit();

}  // namespace home
