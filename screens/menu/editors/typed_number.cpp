#include "screens/menu/editors/typed_number.h"

#include <cmath>

#include "core/system/state/edit_state.h"
#include "panel/edit/edit_common.h"

bool TypedWholeWithin(int32_t lo, int32_t hi, int32_t* out) {
    if (!panel::edit::EntryPending()) return false;
    const double whole = std::trunc(g_EditBuf.entryValue);
    if (!std::isfinite(whole) || whole < lo || whole > hi) return false;
    *out = static_cast<int32_t>(whole);
    return true;
}
