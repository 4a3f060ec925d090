// The settings panel's openers: which edit state the enter key opens on each panel row in each output
// mode, and the conditions some of them keep.
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "engine/run/seqsim_run.h"
#include "panel/edit/param_enter.h"
#include "panel/menu/home_fields.h"
#include "platform/stage/wiring_codes.h"

namespace {
constexpr uint32_t kLineView = 1;
constexpr uint32_t kSeqMode = 1;

// Opens a panel field and moves the panel row to it.
void OpenField(uint32_t state) {
    if (menuEnterParamState(state) == 0) menuSyncHomePanelRow();
}
// A voltage field: its line-to-line field in the LINE view.
uint32_t ByView(uint32_t phaseState, uint32_t lineState) {
    return static_cast<uint32_t>(GetPhaseLineView()) == kLineView ? lineState : phaseState;
}

void Nothing() {}
void PhaseMode() {
    const uint32_t wiring = GetPhaseMode();
    const uint32_t mode = GetOutputMode();
    // 1P3W changes its view only where both lines carry the internal or synchronised waveform.
    const bool open =
        wiring == kWiring3P4W || (wiring == kWiring1P3W && IsAcIntOrSyncMode(mode));
    if (open) OpenField(kParamPhaseMode);
}
void MainMode() {
    OpenField(kParamMainMode);
}
void Acv() {
    g_HomePage.acvField.store(1, std::memory_order_relaxed);
    OpenField(ByView(kParamAcv, kParamAcvLine));
}
void Dcv() {
    OpenField(ByView(kParamDcv, kParamDcvLine));
}
void Dcv2() {
    OpenField(ByView(kParamDcv2, kParamDcvLine));
}
void Gain() {
    OpenField(kParamGain);
}
void Gain2() {
    OpenField(kParamGain2);
}
void Curr() {
    OpenField(kParamCurrLimit);
}
void Curr2() {
    OpenField(kParamCurrLimit2);
}
void Freq() {
    OpenField(kParamFreq);
}
void Sig() {
    OpenField(kParamMainSig);
}
void Src() {
    OpenField(kParamMainSrc);
}
void Src4() {
    OpenField(kParamMainSrc + 3);
}
void Src5() {
    OpenField(kParamMainSrc + 4);
}
void Balance() {
    if (GetPhaseMode() != kWiring1P2W) OpenField(kParamBalance);
}
void Balance2() {
    OpenField(kParamBalance2);
}
void Balance3() {
    OpenField(kParamBalance3);
}
void OnPhase() {
    OpenField(kParamOnPhase);
}
void OnPhaseAll() {
    OpenField(kParamOnPhaseAll);
}
void OffPhase() {
    OpenField(kParamOffPhase);
}
void OffPhaseAll() {
    OpenField(kParamOffPhaseAll);
}
void Wave() {
    OpenField(kParamWaveShape);
}
void Wave2() {
    OpenField(kParamWaveShape2);
}
void Duty() {
    OpenField(kParamWaveDuty);
}
void DutyAll() {
    OpenField(kParamWaveDutyAll);
}
void SyncPhase() {
    OpenField(kParamSyncPhase);
}
// The same as the SEQUENCE key: refused with its message while the output is on or in AUTO.
void Sequence() {
    SeqSimEnterMode(kSeqMode);
}

using F = MenuEntryFn;
constexpr F _ = Nothing;
}  // namespace

// Columns: ACDC-INT, AC-INT, DC-INT, ACDC-EXT, AC-EXT, ACDC-ADD, AC-ADD, ACDC-SYNC, AC-SYNC, AC-VCA.
constexpr MenuEntryFn g_HomeFieldEnterMatrix[kLayoutRows][core::kModes] = {
    {PhaseMode, PhaseMode, PhaseMode, PhaseMode, PhaseMode, PhaseMode, PhaseMode, PhaseMode, PhaseMode,
     PhaseMode},
    {MainMode, MainMode, MainMode, MainMode, MainMode, MainMode, MainMode, MainMode, MainMode, MainMode},
    {Acv, Acv, Dcv, Gain, Gain, Acv, Acv, Acv, Acv, Gain},
    {Dcv2, _, Curr, Curr, Curr, Dcv2, _, Dcv2, _, _},
    {Freq, Freq, Sequence, Src, Src, Freq, Freq, Sig, Sig, Freq},
    {Curr2, Curr2, Balance, _, _, Curr2, Curr2, Curr2, Curr2, Curr2},
    {OnPhase, OnPhase, _, _, _, Gain2, Gain2, OnPhase, OnPhase, OnPhase},
    {OffPhase, OffPhase, _, _, _, OnPhaseAll, OnPhaseAll, OffPhase, OffPhase, OffPhase},
    {Wave, Wave, _, _, _, OffPhaseAll, OffPhaseAll, Wave, Wave, Wave},
    {Duty, Duty, _, _, _, Wave2, Wave2, Duty, Duty, Duty},
    {Sequence, Sequence, _, _, _, DutyAll, DutyAll, SyncPhase, SyncPhase, Src5},
    {Balance2, Balance2, _, _, _, Src4, Src4, Balance2, Balance2, Balance2},
    {Balance3, Balance3, _, _, _, _, _, Balance3, Balance3, Balance3},
    {_, _, _, _, _, _, _, _, _, _},
};

namespace {

// The openers of an item: its setting, in the ADD modes its all-phase field, in the EXT modes the current
// limit of its own record and the source of the mode's phase. The end row of DC-INT opens the balance
// mode, which has no row of its own there.
constexpr bool Opens(PanelItem item, MenuEntryFn f) {
    switch (item) {
        case kItemPhase: return f == PhaseMode;
        case kItemMode: return f == MainMode;
        case kItemAcv: return f == Acv;
        case kItemDcv: return f == Dcv || f == Dcv2;
        case kItemFreq: return f == Freq;
        case kItemIrms: return f == Curr2 || f == Curr;
        case kItemI: return f == Curr;
        case kItemOnPhase: return f == OnPhase || f == OnPhaseAll;
        case kItemOffPhase: return f == OffPhase || f == OffPhaseAll;
        case kItemGain: return f == Gain || f == Gain2;
        case kItemSig: return f == Sig;
        case kItemSeqTest: return f == Sequence;
        case kItemWave: return f == Wave || f == Wave2;
        case kItemDuty: return f == Duty || f == DutyAll;
        case kItemAngleL2: return f == Balance2;
        case kItemAngleL3: return f == Balance3;
        case kItemSrc: return f == Src || f == Src4 || f == Src5;
        case kItemSyncPhase: return f == SyncPhase;
        case kItemFiller: return f == _;
        case kItemEnd: return f == _ || f == Balance;
        default: return false;
    }
}

constexpr bool OpenersFitTheLayout() {
    for (uint32_t row = 0; row < kLayoutRows; ++row)
        for (uint32_t mode = 0; mode < core::kModes; ++mode)
            if (!Opens(SettingsItemCode(SettingsLayoutTables.a, row, mode),
                       g_HomeFieldEnterMatrix[row][mode]))
                return false;
    return true;
}
// GCC cannot compare function addresses while compiling with UndefinedBehaviorSanitizer (VRN_UBSAN): this
// check is left to the other builds.
#ifndef VRN_UBSAN
static_assert(OpenersFitTheLayout());
#endif

}  // namespace
