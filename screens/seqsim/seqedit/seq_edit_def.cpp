#include "screens/seqsim/seqedit/seq_edit_def.h"

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "panel/edit/edit_common.h"

namespace {
// The stored rounding constant is single precision.
constexpr double kHalfHundredth = static_cast<double>(0.005f);
}  // namespace

int32_t SeqEdit_DefValue(uint32_t id, bool first) {
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    return first ? rec.def1 : rec.def2;
}

bool SeqEdit_StoreDef(uint32_t id, bool first, int32_t limitMessage) {
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    int32_t value = g_EditParam.workValue.load(std::memory_order_relaxed);
    if (panel::edit::EntryPending()) {
        const double x = g_EditBuf.entryValue;
        // Compared before the conversion, so a number beyond 32 bits is refused rather than wrapped.
        const double steps =
            (x >= 0 ? x + kHalfHundredth : x - kHalfHundredth) / static_cast<double>(rec.scale);
        if (!(steps < static_cast<double>(rec.max) + 1.0 && steps > static_cast<double>(rec.min) - 1.0)) {
            MsgQueue_PostId(limitMessage);
            return false;
        }
        value = static_cast<int32_t>(steps);
        if (value > rec.max || value < rec.min) {
            MsgQueue_PostId(limitMessage);
            return false;
        }
    }
    (first ? rec.def1 : rec.def2) = value;
    ShowMessage(2, first ? "Saved to DEF1" : "Saved to DEF2");
    paramPutRecord(id, &rec, 0);
    menuResetEdit();
    return true;
}
