// The SIMULATE editors that follow the common pattern alone: time, sync code, repeat enable and count,
// waveform, the ON/OFF phase enables and the L2/L3 phase angles, one row of data each.
#include "core/params/access/key_entry.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_limits.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_setters.h"
#include "screens/seqsim/sim/sim_derive.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/simedit/sim_edit_common.h"
#include "screens/seqsim/simedit/sim_edit_words.h"
#include "screens/seqsim/simedit/sim_field_editors.h"

using namespace simedit;

namespace {

constexpr int kSim = kEngineSim;

// When the enter key writes the typed number: never, whenever an entry is pending, or when one is
// pending and the working value is still the saved value (a soft key pressed after the digits wins).
enum class Typing : uint8_t { kNever, kPending, kPendingUnchanged };
// What follows the write besides the check.
enum class After : uint8_t { kNone, kJumpBit, kKeepState, kWave, kSync };

// A soft key's value: a fixed one, the field's maximum or its minimum.
struct SoftValue {
    enum Kind : uint8_t { kNone, kFixed, kMax, kMin } kind = kNone;
    int32_t value = 0;
};
constexpr SoftValue Fixed(int32_t v) {
    return {SoftValue::kFixed, v};
}
constexpr SoftValue kMax{SoftValue::kMax, 0}, kMin{SoftValue::kMin, 0}, kNo{};

struct EditRow {
    uint32_t firstState;  // the L1 state of a triple
    int32_t (*lower)();
    int32_t (*upper)();
    int32_t (*set)(int32_t value, int phase);
    void (*back)(int phase);
    int (*check)(int32_t state, int phase) = nullptr;  // null: no read-back
    uint8_t positions = 0;   // digit positions cycled by the cursor keys; 0: they are ignored
    SoftValue soft[4] = {};  // 'Y', 'Z', '[', '\\'
    Typing typing = Typing::kNever;
    Typed rule = Typed::kWhole;
    bool allPhases = false;      // the L1 member writes phases 0-2
    int32_t message = 0;         // posted when a typed value was refused (0: none)
    bool messageAlways = false;  // ... or any value
    After after = After::kNone;
};

int32_t Sin() {
    return kWaveCodeSin;
}

constexpr EditRow kTime{.firstState = kSimEditTime,
                        .lower = SimGetTimeMin,
                        .upper = SimGetTimeMax,
                        .set = [](int32_t v, int) { return SimSetTime(v); },
                        .back = [](int) { Enter_menuSimulationTime(); },
                        .check = [](int32_t s, int) { return SeqSimVerifyTime(s, kSim); },
                        .positions = 8,
                        .soft = {kNo, kNo, kMax, kMin},
                        .typing = Typing::kPendingUnchanged,
                        .rule = Typed::kTenthMs,
                        .after = After::kJumpBit};
constexpr EditRow kSync{.firstState = kSimEditSyncCode,
                        .lower = SimGetSyncCodeMin,
                        .upper = SimGetSyncCodeMax,
                        .set = [](int32_t v, int) { return static_cast<int32_t>(SimSetSyncCode(v)); },
                        .back = [](int) { Enter_menuSimulationSyncCode(); },
                        .check = [](int32_t s, int) { return SeqSimVerifyStatusReg(s, kSim); },
                        .soft = {Fixed(0), Fixed(1), Fixed(2), Fixed(3)},
                        .after = After::kSync};
constexpr EditRow kEnRepeat{.firstState = kSimEditEnRepeat,
                            .lower = SimGetEnableMin,
                            .upper = SimGetEnableMax,
                            .set = [](int32_t v, int) { return SimSetEnRepeat(v); },
                            .back = [](int) { Enter_menuSimulationEnRepeat(); },
                            .check = [](int32_t, int) { return SimVerifyEnRepeat(kSimNormal2); },
                            .soft = {kNo, kNo, Fixed(1), Fixed(0)},
                            .typing = Typing::kPendingUnchanged,
                            .after = After::kKeepState};
constexpr EditRow kRepeat{.firstState = kSimEditRepeat,
                          .lower = SimGetRepeatMin,
                          .upper = SimGetRepeatMax,
                          .set = [](int32_t v, int) { return SimSetRepeat(v); },
                          .back = [](int) { Enter_menuSimulationRepeat(); },
                          .check = [](int32_t, int) { return SimVerifyRepeat(kSimNormal2); },
                          .positions = 4,
                          .soft = {kNo, kNo, kMax, kMin},
                          .typing = Typing::kPendingUnchanged,
                          .after = After::kKeepState};
constexpr EditRow kWave{.firstState = kSimEditWave,
                        .lower = Sin,
                        .upper = Sin,
                        .set = [](int32_t v, int) { return SimSetWave(v, 0); },
                        .back = [](int) { Enter_menuSimulationWave(); },
                        .after = After::kWave};
constexpr EditRow kEnOn{.firstState = kSimEditEnOnpha,
                        .lower = SimGetEnableMin,
                        .upper = SimGetEnableMax,
                        .set = SimSetEnOnpha,
                        .back = [](int p) { Enter_menuSimulationEnOnpha(p); },
                        .check = [](int32_t s, int p) { return SeqSimVerifyPhaseReg(s, p, kSim); },
                        .soft = {Fixed(1), Fixed(0), kNo, kNo},
                        .allPhases = true};
constexpr EditRow kEnOff{.firstState = kSimEditEnOffpha,
                         .lower = SimGetEnableMin,
                         .upper = SimGetEnableMax,
                         .set = SimSetEnOffpha,
                         .back = [](int p) { Enter_menuSimulationEnOffpha(p); },
                         .check = [](int32_t s, int p) { return SeqSimVerifyPhaseReg(s, p, kSim); },
                         .soft = {Fixed(1), Fixed(0), kNo, kNo},
                         .allPhases = true};
// The L2 and L3 angles: one row shape, the line's own setter, entry and read-back.
constexpr EditRow BalanceRow(uint32_t state, int32_t (*set)(int32_t, int), void (*back)(int),
                             int (*check)(int32_t, int)) {
    return {.firstState = state,
            .lower = SeqGetPhaseMin,
            .upper = SeqGetPhaseMax,
            .set = set,
            .back = back,
            .check = check,
            .positions = 4,
            .soft = {Fixed(0), Fixed(900), Fixed(1800), Fixed(2700)},
            .typing = Typing::kPendingUnchanged,
            .rule = Typed::kTenths,
            .message = kMsgPhaseLimited,
            .messageAlways = true};
}
constexpr EditRow kBalanceL2 = BalanceRow(
    kSimEditBalanceL2, [](int32_t v, int) { return SimSetBalance_L2(v); }, [](int) { Enter_menuSimBalance_L2(); },
    [](int32_t s, int) { return SeqSimVerifyBalance_L2(s, kSim); });
constexpr EditRow kBalanceL3 = BalanceRow(
    kSimEditBalanceL3, [](int32_t v, int) { return SimSetBalance_L3(v); }, [](int) { Enter_menuSimBalance_L3(); },
    [](int32_t s, int) { return SeqSimVerifyBalance_L3(s, kSim); });

void SoftKey(const EditRow& row, uint8_t code) {
    const uint32_t i = static_cast<uint32_t>(code - kKeySoft1);
    if (i > 3) return;
    const SoftValue& s = row.soft[i];
    if (s.kind == SoftValue::kFixed)
        SetWork(s.value);
    else if (s.kind == SoftValue::kMax)
        SetWork(row.upper());
    else if (s.kind == SoftValue::kMin)
        SetWork(row.lower());
}

void CursorKey(const EditRow& row, const Key& k) {
    if (k.code == kKeyKnob) {
        SetWork(EditValueStep(Work(), static_cast<int32_t>(Cursor()), k.delta, row.upper(), row.lower()));
        SetSaved(Work());
    } else if (row.positions != 0 && (k.code == kKeyLeft || k.code == kKeyRight)) {
        SetCursor(static_cast<uint32_t>(
            WrapIndex(static_cast<int32_t>(Cursor()), k.code == kKeyLeft ? 1 : -1, row.positions)));
    }
}

void EnterKey(const EditRow& row, int phase) {
    int32_t value = Work();
    bool typed = false;
    if (row.typing != Typing::kNever && EntryPending() &&
        (row.typing == Typing::kPending || Work() == Saved())) {
        if (!TypedValue(row.rule, TypedNumber(), &value)) return RefuseTyped(row.message);
        typed = true;
    }
    const uint32_t state = engine::SimState();
    // A value outside the limits never reaches the setter, whose refusal would send its last value, of
    // any state, to the edited state's register.
    const bool taken = value >= row.lower() && value <= row.upper();
    const int last = row.allPhases && phase == 0 ? 2 : phase;
    for (int p = phase; taken && p <= last; ++p)
        row.set(value, p);
    if (row.message != 0 && !taken && (typed || row.messageAlways)) MsgQueue_PostId(row.message);
    if (row.after == After::kJumpBit) Sim_UpdateJumpBit();
    row.back(phase);
    if (row.after == After::kWave) Sim_RederiveAfterWrite(SimDeriveFrom::kWave, 0);
    if (row.after == After::kSync) Sim_RederiveAfterWrite(SimDeriveFrom::kSyncCode, 0);
    if (row.check != nullptr) AfterWrite(row.check(static_cast<int32_t>(state), phase));
    if (row.after == After::kKeepState) SeqSimSetCurStep(static_cast<int32_t>(state));
}

void Run(const EditRow& row, uint32_t* ev) {
    const Key k = Decode(ev);
    const uint32_t offset = g_MenuState.load(std::memory_order_acquire) - row.firstState;
    const int phase = row.allPhases && offset <= 2 ? static_cast<int>(offset) : 0;
    if (ExitKey(k, row.back, phase)) return;
    if (k.cls == kClassKeypad && k.code == kKeyEnter)
        EnterKey(row, phase);
    else if (k.cls == kClassSoft)
        SoftKey(row, k.code);
    else if (k.cls == kClassCursor)
        CursorKey(row, k);
}

}  // namespace

void menuEditSimulationTime(uint32_t* ev) {
    Run(kTime, ev);
}
void menuEditSimulationSyncCode(uint32_t* ev) {
    Run(kSync, ev);
}
void menuEditSimulationEnRepeat(uint32_t* ev) {
    Run(kEnRepeat, ev);
}
void menuEditSimulationRepeat(uint32_t* ev) {
    Run(kRepeat, ev);
}
void menuEditSimulationWave(uint32_t* ev) {
    Run(kWave, ev);
}
void menuEditSimulationEnOnpha(uint32_t* ev) {
    Run(kEnOn, ev);
}
void menuEditSimulationEnOffpha(uint32_t* ev) {
    Run(kEnOff, ev);
}
void menuSimEditBalance_L2(uint32_t* ev) {
    Run(kBalanceL2, ev);
}
void menuSimEditBalance_L3(uint32_t* ev) {
    Run(kBalanceL3, ev);
}
