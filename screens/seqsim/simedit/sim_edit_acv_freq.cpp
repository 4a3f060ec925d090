// The SIMULATE AC voltage and frequency editors: digit bands that follow the width of the value, the
// shared DEF1/DEF2 values of the home settings, and the states that follow an edited voltage or frequency.
#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "panel/edit/digit_cursor.h"
#include "screens/seqsim/seqedit/seq_edit_band.h"
#include "screens/seqsim/seqedit/seq_edit_def.h"
#include "screens/seqsim/sim/sim_derive.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/simedit/sim_edit_common.h"
#include "screens/seqsim/simedit/sim_edit_words.h"
#include "screens/seqsim/simedit/sim_field_editors.h"

using namespace simedit;

namespace {

constexpr int32_t kAcvBandTop = 5;  // the highest cursor index of the voltage band rule

// The field's rules beside the common pattern.
struct AcvFreqField {
    uint32_t firstState;
    uint32_t defId;   // the home setting whose DEF1/DEF2 and record the editor shares
    int32_t message;  // limit message
    int32_t (*lower)();
    int32_t (*upper)();    // of the knob
    int32_t (*softMax)();  // soft key 3
    int32_t (*softMin)();  // soft key 4
    int32_t (*set)(int32_t value, int phase);
    PhaseLimits limits;  // of the setter
    int (*check)(int32_t state, int phase, int engine);
    void (*back)(int phase);
    SimDeriveFrom deriveL1, derivePhase;
    bool zeroDcv;
};

int32_t FreqDigits() {
    ParamRec rec{};
    paramGetRecord(kParamFreq, &rec, 0);
    return rec.digits;
}

// Cursor positions and knob step factor of the value's band.
struct Band {
    int32_t positions, factor;
};
Band AcvBand(int32_t w) {
    if (w <= 9999) return {5, 1};
    if (w <= 99999) return {4, 10};
    return {3, 100};
}
Band FreqBand(int32_t w) {
    const int32_t d = FreqDigits();
    return w <= 99999 ? Band{d, 1} : Band{d - 1, 10};
}

bool IsAcv(const AcvFreqField& f) {
    return f.firstState == kSimEditAcv;
}
Band BandOf(const AcvFreqField& f, int32_t w) {
    return IsAcv(f) ? AcvBand(w) : FreqBand(w);
}
// The digit cursor after the value moved to another band (soft keys and DEF recall). The band rules follow
// the previous value this editor keeps in the edit copy.
void AdjustBand(const AcvFreqField& f) {
    g_SeqEditPrevValue = Previous();
    if (IsAcv(f))
        SeqEdit_AdjustDigitBand(kAcvBandTop);
    else
        SeqEdit_AdjustFsetDigitBand(FreqDigits());
}

// A value set by a soft key: working and saved value; the band follows when it moved from the previous.
void TakeValue(const AcvFreqField& f, int32_t v) {
    SetWork(v);
    SetSaved(v);
    if (Work() != Previous()) {
        AdjustBand(f);
        SetPrevious(Work());
    }
}

void Knob(const AcvFreqField& f, int8_t delta) {
    const Band band = BandOf(f, Work());
    SetWork(EditValueStep(Work(), static_cast<int32_t>(Cursor()), delta * band.factor, f.upper(), f.lower()));
    if (Work() != Previous()) {
        if (IsAcv(f)) {
            g_SeqEditPrevValue = Previous();
            SeqEdit_AdjustDigitBand(kAcvBandTop);
        } else {
            menuKeepDigitCursor(FreqDigits());
        }
        SetPrevious(Work());
    }
    if (Work() == Saved())
        MsgQueue_PostId(f.message);
    else
        SetSaved(Work());
}

void RecallDef(const AcvFreqField& f, int which) {
    const int32_t v = SeqEdit_DefValue(f.defId, which == 1);
    // The frequency takes only a DEF value within the SIM frequency limits.
    if (!IsAcv(f) && (v < SeqGetFsetMin() || v > SeqGetFsetMax())) {
        MsgQueue_PostId(f.message);
        return;
    }
    SetWork(v);
    SetSaved(v);
    if (v == Previous()) {
        MsgQueue_PostId(f.message);
        return;
    }
    AdjustBand(f);
    SetPrevious(Work());
}

void SoftKey(const AcvFreqField& f, uint8_t code) {
    switch (code) {
        case kKeySoft1:
        case kKeySoft2:
            RecallDef(f, code == kKeySoft1 ? 1 : 2);
            break;
        case kKeySoft3:
            TakeValue(f, f.softMax());
            break;
        case kKeySoft4:
            TakeValue(f, f.softMin());
            break;
        case kKeyLongSoft1:
        case kKeyLongSoft2:
            SeqEdit_StoreDef(f.defId, code == kKeyLongSoft1, f.message);
            break;
        default:
            break;
    }
}

void EnterKey(const AcvFreqField& f, int phase) {
    const uint32_t state = engine::SimState();
    if (EntryPending()) {
        int32_t v = 0;
        if (!TypedValue(Typed::kHundredths, TypedNumber(), &v)) return RefuseTyped(f.message);
        if (!WritePhases(f.set, f.limits, v, phase, true)) MsgQueue_PostId(f.message);
    } else {
        WritePhases(f.set, f.limits, Work(), phase, true);
    }
    f.back(phase);
    if (f.zeroDcv) SimZeroDcv();
    Sim_RederiveAfterWrite(phase == 0 ? f.deriveL1 : f.derivePhase, phase);
    AfterWrite(f.check(static_cast<int32_t>(state), phase, kEngineSim));
}

void Run(const AcvFreqField& f, uint32_t* ev) {
    const Key k = Decode(ev);
    const uint32_t offset = g_MenuState.load(std::memory_order_acquire) - f.firstState;
    const int phase = offset <= 2 ? static_cast<int>(offset) : 0;
    if (ExitKey(k, f.back, phase)) return;
    if (k.cls == kClassKeypad && k.code == kKeyEnter) {
        EnterKey(f, phase);
    } else if (k.cls == kClassSoft) {
        SoftKey(f, k.code);
    } else if (k.cls == kClassCursor && k.code == kKeyKnob) {
        Knob(f, k.delta);
    } else if (k.cls == kClassCursor && (k.code == kKeyLeft || k.code == kKeyRight)) {
        const Band band = BandOf(f, Work());
        SetCursor(static_cast<uint32_t>(
            WrapIndex(static_cast<int32_t>(Cursor()), k.code == kKeyLeft ? 1 : -1, band.positions)));
    }
}

constexpr AcvFreqField kAcv{
    .firstState = kSimEditAcv,
    .defId = kParamAcv,
    .message = kMsgVoltageLimited,
    .lower = SimGetAcvMin,
    .upper = SimGetAcvMax,
    .softMax = SimGetAcvMax,
    .softMin = SimGetAcvMin,
    .set = SimSetAcv,
    .limits = {[](int) { return SimGetAcvMin(); },
               [](int p) { return SeqSimAcvIsVpp(p) ? SimGetAcvVppMax() : SimGetAcvMax(); }},
    .check = SeqSimVerifyAcv,
    .back = [](int p) { Enter_menuSimulationAcv(p); },
    .deriveL1 = SimDeriveFrom::kAcvL1,
    .derivePhase = SimDeriveFrom::kAcvPhase,
    .zeroDcv = true};
// The knob and the typed value keep within the SEQ frequency limits, soft keys 3 and 4 take the SIM ones.
constexpr AcvFreqField kFreq{
    .firstState = kSimEditFreq,
    .defId = kParamFreq,
    .message = kMsgFrequencyLimited,
    .lower = SeqGetFsetMin,
    .upper = SeqGetFsetMax,
    .softMax = SimGetFreqMax,
    .softMin = SimGetFreqMin,
    .set = SimSetFreq,
    .limits = {[](int) { return SimGetFreqMin(); }, [](int) { return SimGetFreqMax(); }},
    .check = SeqSimVerifyFset,
    .back = [](int p) { Enter_menuSimulationFreq(p); },
    .deriveL1 = SimDeriveFrom::kFreqL1,
    .derivePhase = SimDeriveFrom::kFreqPhase,
    .zeroDcv = false};

}  // namespace

void menuEditSimulationACV(uint32_t* ev) {
    Run(kAcv, ev);
}
void menuEditSimulationFreq(uint32_t* ev) {
    Run(kFreq, ev);
}
