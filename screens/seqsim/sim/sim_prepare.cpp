#include "screens/seqsim/sim/sim_prepare.h"

#include "core/control/output_request.h"
#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "engine/run/seqsim_download.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "storage/image_hold.h"

namespace {
constexpr auto kAcqRel = std::memory_order_acq_rel;

SeqSimBlock& L1() {
    return g_SeqSimBlock[0];
}

void ClearErrors() {
    g_SeqSimErrors.simCount.store(0, std::memory_order_relaxed);
    g_SeqSimErrors.simStep.store(0, std::memory_order_relaxed);
}

void StoreRangeBits() {
    SeqSimBlock& b = L1();
    b.simOptions =
        static_cast<uint8_t>((b.simOptions & ~6u) | ((static_cast<uint32_t>(GetVoltRange()) & 3u) << 1));
}

void Report() {
    const int32_t count = g_SeqSimErrors.simCount.load(std::memory_order_relaxed);
    const int32_t state = g_SeqSimErrors.simStep.load(std::memory_order_relaxed);
    if (state + count != 0) {
        ShowMessage(2, "SIM Err.(%d, %d)", state, count);
    } else {
        const uint32_t flag = g_SeqSimErrors.simInvalid.exchange(0, kAcqRel);
        if (flag == 0)
            ShowMessage(2, "Simulation is ready.");
        else if (flag == 1)
            ShowMessage(2, "SIM%d Data Out of Range!\n Set To Limited.",
                        static_cast<int>(L1().simRecallSlot));
        else
            ShowMessage(2, "Data Out of Range!\n Set To Limited.");
    }
    ClearErrors();
}
}  // namespace

void Sim_DownloadPrepared() {
    g_SeqSimErrors.simCount.store(0, std::memory_order_relaxed);
    StoreRangeBits();
    const SimSavedConfig c = SimSavedConfigCopy();
    BusReg_SetPhaseMode(static_cast<int32_t>(c.wiring));
    BusReg_SetVoltRange(static_cast<int32_t>(c.range));
    SimDownloadAll();
    // The system-busy test sees the change from the end of the download until Initial is current again.
    L1().prepFlags.fetch_or(kSeqPrepChangePending, kAcqRel);
    if (SimPrepRequest.load(std::memory_order_acquire) == 0) {
        L1().prepFlags.fetch_and(static_cast<uint8_t>(~kSeqPrepChangePending), kAcqRel);
        return;
    }
    L1().curStep.store(kSimInitial, std::memory_order_release);
    SeqSimSetDirty();
    const uint8_t before =
        L1().prepFlags.fetch_and(static_cast<uint8_t>(~(kSeqPrepChangePending | kSeqPrepOutputOn)), kAcqRel);
    if (before & kSeqPrepOutputOn) OutputToggle();
    BusReg_ApplyAfterSeqSim();
}

void Sim_PreparationStep() {
    if (SimPrepRequest.load(std::memory_order_acquire) == 0) return;
    // The download reads the state tables the runner thread selects; busy, it waits for the next pass.
    const storage::ImageHold tables(g_SeqSimTableLock);
    if (!tables.owns_lock()) return;
    ShowMessageHold("Simulation preparation...");
    Sim_DownloadPrepared();
    MsgQueue_Clear();
    MsgPopup_Close();
    SimPrepRequest.store(0, std::memory_order_release);
    Report();
}

void Sim_AfterFieldWrite(int mismatch) {
    if (mismatch != 0) {
        SimReportErrors();
        ClearErrors();
    } else if (SeqSimGetCurStep() == kSimInitial) {
        BusReg_ApplyAfterSeqSim();
    }
}
