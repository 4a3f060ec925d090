#include "panel/edit/digit_cursor.h"

#include <cstdlib>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu/home_field_rows.h"

namespace {

// 1 six digits or more, 2 five, 3 fewer.
int WidthClass(int32_t v) {
    const int64_t a = std::llabs(static_cast<int64_t>(v));
    return a >= 100000 ? 1 : a >= 10000 ? 2 : 3;
}

// The home fields that show five-digit values at full resolution, and the SEQ/SIM frequency editors of
// the three phases.
bool KeepsFiveDigits(uint32_t state) {
    if (const panel::home::HomeFieldRow* row = panel::home::HomeFieldOf(state)) return row->keepsFiveDigits;
    return (state >= kMenuSeqEditFset && state < kMenuSeqEditFset + 3) ||
           (state >= kSimEditFreq && state < kSimEditFreq + 3);
}

}  // namespace

void menuKeepDigitCursor(int32_t digits) {
    const int32_t work = g_EditParam.workValue.load(std::memory_order_relaxed);
    const int o = WidthClass(g_EditParam.startValue), n = WidthClass(work);
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    const bool special = KeepsFiveDigits(state);
    uint32_t cursor = g_EditParam.cursor;
    if (o == n) return;
    if (o < n) {
        if (special && o == 2 && n == 3) return;
        if (static_cast<int64_t>(cursor) < digits) ++cursor;
        g_EditParam.cursor = cursor;
        return;
    }
    if (special && n == 2) return;
    uint32_t down = 1;
    if (state == kParamAcvLine && GetPhaseLineView() == 1 && o == 3 && n == 1) down = 2;
    cursor = cursor > down ? cursor - down : 0;
    g_EditParam.cursor = cursor;
    int32_t truncated = work / 10 * 10;
    if (n < o - 1) truncated = truncated / 100 * 100;
    g_EditParam.workValue.store(truncated, std::memory_order_relaxed);
}
