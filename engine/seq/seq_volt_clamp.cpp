#include "engine/seq/seq_volt_clamp.h"

#include "core/params/limits/limit_checks.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"

using namespace engine;

int SeqStepVoltClamp(int32_t) {
    const int32_t acv = SeqGetAcv(0);
    const int32_t dcv = SeqGetDcv(0);
    int32_t out[kStepLimitWords];
    SeqStepVoltLimits(out, SeqKind(), SeqRange(), SeqRec(0).wave, acv, dcv);
    int changed = 0;
    if (acv > out[kStepAcvMax] || acv < out[kStepAcvMin]) {
        SeqStoreAcv(out[kStepAcvMin], 0);
        ++changed;
    }
    if (dcv > out[kStepDcvMax] || dcv < out[kStepDcvMin]) {
        SeqStoreDcv(out[kStepDcvMin], 0);
        ++changed;
    }
    return changed;
}
