// The knob and the cursor keys of a home-screen field: the knob changes the digit under the cursor and
// applies the value at once.
#include <cstdlib>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_rows.h"
#include "core/params/settings/setting_write.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/digit_cursor.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"

using namespace panel::edit;

namespace {

// Positions of the digit cursor: the display drops the last digit of a five-digit value (except in the
// fine fields) and another of a six-digit one; leftwards, a six-digit value loses one more position
// unless the field is fine.
int32_t CursorPositions(int64_t absValue, int32_t d, bool fine, bool up) {
    if (absValue < 10000) return d;
    if (absValue < 100000) return fine ? d : d - 1;
    if (up) return d - 1;
    return fine ? d - 1 : d - 2;
}

int32_t KnobStep(int64_t absValue, int32_t delta, uint32_t id) {
    if (absValue < 10000) return delta;
    if (absValue < 100000) return IsFineId(id) ? delta : delta * 10;
    const bool acv = GetPhaseLineView() == 1 || (id >= kParamAcv && id <= kParamAcv + 2);
    return delta * (acv ? 100 : 10);
}

}  // namespace

int32_t menuEditParamKnobKey(uint32_t* ev, uint32_t id) {
    const uint32_t unit = EditPhase();
    AlignFieldLimits(id);
    const ParamRec rec = ReadFieldRecord(id, unit);
    int32_t d = rec.digits;
    if (id == kParamCurrLimit2) d = g_ParallelActive.load(std::memory_order_relaxed) != 0 ? 5 : 4;

    const uint8_t code = KeyEventCode(*ev);
    const int32_t work = g_EditParam.workValue.load(std::memory_order_relaxed);
    const int64_t absWork = std::llabs(static_cast<int64_t>(work));
    if (code == kKeyLeft || code == kKeyRight) {
        const bool up = code == kKeyLeft;
        g_EditParam.cursor =
            static_cast<uint32_t>(WrapIndex(static_cast<int32_t>(g_EditParam.cursor), up ? 1 : -1,
                                            CursorPositions(absWork, d, IsFineId(id), up)));
        return 0;
    }
    if (code != kKeyKnob) return 0;

    int32_t step = KnobStep(absWork, KeyEventDelta(*ev), id);
    // Angles in whole degrees and the duty without decimals step by whole units of what they show.
    const settings::Bounds bounds = settings::BoundsOf(id);
    if ((bounds == settings::Bounds::kAngle || bounds == settings::Bounds::kDuty) && rec.decimals == 0) step *= 10;
    const auto cursor = static_cast<int32_t>(g_EditParam.cursor);
    const int32_t next = EditValueStep(work, cursor, step, FieldMax(id, rec, unit), FieldMin(id, rec, unit));
    g_EditParam.workValue.store(next, std::memory_order_relaxed);
    // The phases are tested with the value the step aims at, before the field's bounds held it.
    const int64_t lookahead =
        static_cast<int64_t>(work) +
        static_cast<int64_t>(step) * (cursor >= 0 && cursor <= 9 ? core::kPowerTable[cursor] : 0);
    const bool changed = next != g_EditParam.startValue;
    if (changed) {
        menuKeepDigitCursor(d);
        g_EditParam.startValue = next;
    }
    const settings::SetResult set =
        SetField(id, next, unit, {settings::PanelKey::kKnob, SaturateI32(lookahead), changed});
    return set == settings::SetResult::kWritten ? 1 : 2;
}
