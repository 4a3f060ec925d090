#include "screens/seqsim/seq/seq_fields.h"

#include <array>

#include "core/params/access/param_access.h"
#include "engine/seq/seq_access.h"
#include "engine/seqsim/seqsim_data.h"
#include "platform/stage/wiring_codes.h"

namespace {

using F = SeqField;
using Getter = int32_t (*)(int phase);

// Which steps, output kinds and wirings show a field.
enum ShowBits : uint8_t {
    kFromStep1 = 1u << 0,  // not on step 0
    kKindAc = 1u << 1,     // output kinds AC+DC and AC
    kKindDc = 1u << 2,     // output kinds AC+DC and DC
    kOnly3P4W = 1u << 3,   // only with wiring 3P4W (a triple's L1 member shows with every wiring)
};

struct FieldRow {
    F field;
    uint16_t select;  // the L1 selection state of a triple
    bool triple;
    uint8_t show;
    Getter gate;        // shown only while this reads non-zero (null: no gate)
    Getter selectLoad;  // the value the selection state loads
    Getter editLoad;    // the value the edit state loads
};

int32_t Step(int) {
    return SeqGetAbsStep();
}
int32_t Zero(int) {
    return 0;
}
int32_t IsSquare(int p) {
    return SeqGetWave(p) == kWaveCodeSqu ? 1 : 0;
}
template <int32_t (*Fn)()>
int32_t Single(int) {
    return Fn();
}

constexpr uint8_t kAc = kKindAc | kOnly3P4W, kDc = kKindDc | kOnly3P4W;
constexpr FieldRow kFields[] = {
    {F::kStepIndex, kMenuSeqSetStepIndex, false, 0, nullptr, Step, Step},
    {F::kTime, kMenuSeqSetTimeStep, false, 0, nullptr, Single<SeqGetTime>, Single<SeqGetTime>},
    {F::kEnJumpto, kMenuSeqEnJumpto, false, kFromStep1, nullptr, Single<SeqGetEnJumpto>,
     Single<SeqGetEnJumpto>},
    {F::kJumpto, kMenuSeqSetJumpto, false, kFromStep1, Single<SeqGetEnJumpto>, Single<SeqGetJumpto>,
     Single<SeqGetJumpto>},
    {F::kJumpCnt, kMenuSeqSetJumpCnt, false, kFromStep1, nullptr, Single<SeqGetJumpCnt>,
     Single<SeqGetJumpCnt>},
    {F::kEnBranch1, kMenuSeqEnBranch1, false, kFromStep1, nullptr, Single<SeqGetEnBranch1>,
     Single<SeqGetEnBranch1>},
    {F::kBranch1, kMenuSeqSetBranch1, false, kFromStep1, Single<SeqGetEnBranch1>, Single<SeqGetBranch1>,
     Single<SeqGetBranch1>},
    {F::kEnBranch2, kMenuSeqEnBranch2, false, kFromStep1, nullptr, Single<SeqGetEnBranch2>,
     Single<SeqGetEnBranch2>},
    {F::kBranch2, kMenuSeqSetBranch2, false, kFromStep1, Single<SeqGetEnBranch2>, Single<SeqGetBranch2>,
     Single<SeqGetBranch2>},
    {F::kTerm, kMenuSeqSetStepterm, false, kFromStep1, nullptr, Single<SeqGetTerm>, Single<SeqGetTerm>},
    {F::kSync, kMenuSeqSetSyncCode, false, 0, nullptr, Single<SeqGetSyncCode>, Single<SeqGetSyncCode>},
    {F::kAcv, kMenuSeqSetACV, true, kAc, nullptr, SeqGetAcv, SeqGetAcv},
    {F::kAcvType, kMenuSeqSetACVType, true, kAc, nullptr, SeqGetAcvMode, SeqGetAcvMode},
    {F::kDcv, kMenuSeqSetDCV, true, kDc, nullptr, SeqGetDcv, SeqGetDcv},
    {F::kDcvType, kMenuSeqSetDCVType, true, kDc, nullptr, SeqGetDcvMode, SeqGetDcvMode},
    {F::kFset, kMenuSeqSetFset, true, kAc, nullptr, SeqGetFset, SeqGetFset},
    {F::kFsetType, kMenuSeqSetFsetType, true, kAc, nullptr, SeqGetFsetMode, SeqGetFsetMode},
    {F::kWave, kMenuSeqSetWave, true, kAc, nullptr, Zero, SeqGetWave},
    {F::kDuty, kMenuSeqSetDuty, true, kAc, IsSquare, SeqGetDuty, SeqGetDuty},
    {F::kEnOnPhase, kMenuSeqEnOnPhase, true, kAc, nullptr, SeqGetEnOnPhase, SeqGetEnOnPhase},
    {F::kOnPhase, kMenuSeqSetOnPhase, true, kAc, SeqGetEnOnPhase, SeqGetOnPhase, SeqGetOnPhase},
    {F::kEnOffPhase, kMenuSeqEnOffPhase, true, kAc, nullptr, SeqGetEnOffPhase, SeqGetEnOffPhase},
    {F::kOffPhase, kMenuSeqSetOffPhase, true, kAc, SeqGetEnOffPhase, SeqGetOffPhase, SeqGetOffPhase},
    {F::kBalanceL2, kMenuSeqBalanceL2, false, kKindAc | kOnly3P4W, nullptr, Single<SeqGetBalance_L2>,
     Single<SeqGetBalance_L2>},
    {F::kBalanceL3, kMenuSeqBalanceL3, false, kKindAc | kOnly3P4W, nullptr, Single<SeqGetBalance_L3>,
     Single<SeqGetBalance_L3>},
};

constexpr size_t kStateSpan = kSeqFieldStateLast - kSeqFieldStateFirst + 1;
struct StateSlot {
    uint8_t row;  // index into kFields + 1; 0 for no field
    uint8_t phase;
    bool edit;
};

constexpr std::array<StateSlot, kStateSpan> BuildStates() {
    std::array<StateSlot, kStateSpan> t{};
    for (size_t r = 0; r < std::size(kFields); ++r) {
        const FieldRow& f = kFields[r];
        const uint32_t n = f.triple ? 3 : 1;
        for (uint32_t p = 0; p < n; ++p) {
            t[f.select + p - kSeqFieldStateFirst] = {static_cast<uint8_t>(r + 1), static_cast<uint8_t>(p),
                                                     false};
            t[f.select + n + p - kSeqFieldStateFirst] = {static_cast<uint8_t>(r + 1), static_cast<uint8_t>(p),
                                                         true};
        }
    }
    return t;
}
constexpr std::array<StateSlot, kStateSpan> kStates = BuildStates();

const FieldRow* RowOf(uint32_t state, StateSlot* slot) {
    if (state < kSeqFieldStateFirst || state > kSeqFieldStateLast) return nullptr;
    *slot = kStates[state - kSeqFieldStateFirst];
    return slot->row == 0 ? nullptr : &kFields[slot->row - 1];
}

}  // namespace

SeqStateInfo SeqStateOf(uint32_t state) {
    StateSlot slot{};
    const FieldRow* f = RowOf(state, &slot);
    if (f == nullptr) return {F::kNone, 0, false, 0, 0};
    const uint32_t select = f->select + slot.phase;
    return {f->field, slot.phase, slot.edit, static_cast<uint16_t>(select),
            static_cast<uint16_t>(select + (f->triple ? 3 : 1))};
}

bool SeqFieldShown(uint32_t state) {
    StateSlot slot{};
    const FieldRow* f = RowOf(state, &slot);
    if (f == nullptr) return false;
    const uint32_t kind = GetOutputMode();
    if ((f->show & kFromStep1) && SeqGetAbsStep() == 0) return false;
    if ((f->show & (kKindAc | kKindDc)) != 0) {
        const bool ac = (f->show & kKindAc) && (kind == 0 || kind == 1);
        const bool dc = (f->show & kKindDc) && (kind == 0 || kind == 2);
        if (!ac && !dc) return false;
    }
    // L2 and L3 members (and the phase angles) need three phases.
    const bool perPhaseWiring = f->triple ? slot.phase != 0 : (f->show & kOnly3P4W) != 0;
    if (perPhaseWiring && GetPhaseMode() != kWiring3P4W) return false;
    return f->gate == nullptr || f->gate(slot.phase) != 0;
}

uint32_t SeqKnobNeighbour(uint32_t state, int32_t delta) {
    size_t at = kSeqKnobOrderCount;
    for (size_t i = 0; i < kSeqKnobOrderCount; ++i)
        if (kSeqKnobOrder[i] == state) at = i;
    if (at == kSeqKnobOrderCount) return 0;
    if (delta > 0) {
        for (size_t i = at + 1; i < kSeqKnobOrderCount; ++i)
            if (SeqFieldShown(kSeqKnobOrder[i])) return kSeqKnobOrder[i];
    } else {
        for (size_t i = at; i-- > 0;)
            if (SeqFieldShown(kSeqKnobOrder[i])) return kSeqKnobOrder[i];
    }
    return 0;
}

int32_t SeqFieldEntryValue(uint32_t state) {
    StateSlot slot{};
    const FieldRow* f = RowOf(state, &slot);
    if (f == nullptr) return 0;
    return (slot.edit ? f->editLoad : f->selectLoad)(slot.phase);
}
