#include "screens/seqsim/seqsim_prepare.h"

#include "core/control/output_request.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_write.h"
#include "engine/run/seqsim_download.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "screens/seqsim/seqsim_words.h"

namespace {

void ClearErrors(std::atomic<int32_t>& count, std::atomic<int32_t>& step) {
    count.store(0, std::memory_order_relaxed);
    step.store(0, std::memory_order_relaxed);
}

void StoreRangeBits() {
    SeqSimBlock& b = g_SeqSimBlock[0];
    b.simOptions =
        static_cast<uint8_t>((b.simOptions & ~6u) | ((static_cast<uint32_t>(GetVoltRange()) & 3u) << 1));
}

}  // namespace

void Seq_DownloadPrepared() {
    if (SeqPrepStage.load(std::memory_order_acquire) != kSeqPrepDownload) return;
    ClearErrors(g_SeqSimErrors.seqCount, g_SeqSimErrors.seqStep);
    StoreRangeBits();
    const SeqSavedConfig c = SeqSavedConfigCopy();
    BusReg_SetPhaseMode(static_cast<int32_t>(c.wiring));
    BusReg_SetOutputMode(c.kind);
    BusReg_SetSeqSimMode(static_cast<int32_t>(c.kind));
    BusReg_SetVoltRange(static_cast<int32_t>(c.range));
    SeqDownloadAll();
    SeqSimBlock& b = g_SeqSimBlock[0];
    b.prepFlags.fetch_or(kSeqPrepChangePending, std::memory_order_acq_rel);
    SeqSimSetDirty();
    b.prepFlags.fetch_and(static_cast<uint8_t>(~kSeqPrepChangePending), std::memory_order_acq_rel);
    if (b.prepFlags.fetch_and(static_cast<uint8_t>(~kSeqPrepOutputOn), std::memory_order_acq_rel) &
        kSeqPrepOutputOn)
        OutputToggle();
    if (g_SeqSimErrors.seqCount.load(std::memory_order_relaxed) == 0 &&
        g_SeqSimErrors.seqStep.load(std::memory_order_relaxed) == 0)
        BusReg_ApplyAfterSeqSim();
}

void Seq_StopOrReset(int mismatch) {
    if (mismatch != 0) {
        SeqReportErrors();
        ClearErrors(g_SeqSimErrors.seqCount, g_SeqSimErrors.seqStep);
    } else if (SeqGetAbsStep() == 0) {
        BusReg_ApplyAfterSeqSim();
    }
}
