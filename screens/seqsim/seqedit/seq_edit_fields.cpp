// The step editors of the time, phase-angle, enable, termination, jump, branch
// and sync-code fields: one row of the common pattern each.
#include "screens/seqsim/seqedit/seq_edit_fields.h"

#include "core/system/messaging/msg_ring.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seqedit/seq_edit_pattern.h"

namespace {


constexpr SeqSoftKey kNone{};
constexpr SeqSoftKey V(int32_t v) {
    return {SeqSoft::kValue, v};
}
constexpr SeqSoftKey kMax{SeqSoft::kMax, 0}, kMin{SeqSoft::kMin, 0};

// Limits and setters without a phase.
template <int32_t (*F)()>
int32_t NoPhase(int) {
    return F();
}
template <int32_t (*F)(int32_t)>
int32_t SetNoPhase(int32_t v, int) {
    return F(v);
}
// Setters whose result is no stored value (the control or status word): their
// rows post no message.
template <uint16_t (*F)(int32_t)>
int32_t SetStatus(int32_t v, int) {
    F(v);
    return v;
}
template <uint32_t (*F)(int32_t, int)>
int32_t SetEnable(int32_t v, int p) {
    F(v, p);
    SeqApplyStep(p);
    return v;
}
template <int (*F)(int32_t, int)>
int VerifySeq(int32_t step, int) {
    return F(step, kEngineSeq);
}
template <int (*F)(int32_t, int, int)>
int VerifySeqPhase(int32_t step, int p) {
    return F(step, p, kEngineSeq);
}
template <int (*F)(int32_t)>
int VerifyStep(int32_t step, int) {
    return F(step);
}
template <void (*F)()>
void Back(int) {
    F();
}

constexpr SeqEditRow Angle(int32_t (*write)(int32_t, int), int (*verify)(int32_t, int), void (*back)(int),
                           SeqTyped typed) {
    return {.min = NoPhase<SeqGetPhaseMin>,
            .max = NoPhase<SeqGetPhaseMax>,
            .digits = 4,
            .phaseBand = true,
            .soft = {V(0), V(900), V(1800), V(2700)},
            .softSetsReference = false,
            .typed = typed,
            .conv = SeqTypedConv::kOnOffPhase,
            .write = write,
            .alsoL2In1P3W = true,
            .message = kMsgPhaseLimited,
            .messageTypedOnly = false,
            .verify = verify,
            .back = back,
            .exitAtOnce = false};
}
constexpr SeqEditRow Enable(int32_t (*write)(int32_t, int), void (*back)(int)) {
    return {.min = NoPhase<SeqGetEnableMin>,
            .max = NoPhase<SeqGetEnableMax>,
            .digits = 0,
            .phaseBand = false,
            .soft = {V(1), V(0), kNone, kNone},
            .softSetsReference = false,
            .typed = SeqTyped::kNever,
            .conv = SeqTypedConv::kWhole,
            .write = write,
            .alsoL2In1P3W = true,
            .message = 0,
            .messageTypedOnly = false,
            .verify = VerifySeqPhase<SeqSimVerifyPhaseReg>,
            .back = back,
            .exitAtOnce = false};
}
// Jump To and the branch targets, and the jump count.
constexpr SeqEditRow Target(int32_t (*min)(int), int32_t (*max)(int), uint8_t digits,
                            int32_t (*write)(int32_t, int), int32_t message, int (*verify)(int32_t, int),
                            void (*back)(int)) {
    return {.min = min,
            .max = max,
            .digits = digits,
            .phaseBand = false,
            .soft = {kNone, kNone, kMax, kMin},
            .softSetsReference = true,
            .typed = SeqTyped::kPending,
            .conv = SeqTypedConv::kWhole,
            .write = write,
            .alsoL2In1P3W = false,
            .message = message,
            .messageTypedOnly = true,
            .verify = verify,
            .back = back,
            .exitAtOnce = false};
}
// Jump To enable and the branch enables.
constexpr SeqEditRow Switch(int32_t (*write)(int32_t, int), void (*back)(int), bool exitAtOnce) {
    return {.min = NoPhase<SeqGetEnableMin>,
            .max = NoPhase<SeqGetEnableMax>,
            .digits = 3,
            .phaseBand = false,
            .soft = {kNone, kNone, V(1), V(0)},
            .softSetsReference = false,
            .typed = SeqTyped::kNever,
            .conv = SeqTypedConv::kWhole,
            .write = write,
            .alsoL2In1P3W = false,
            .message = 0,
            .messageTypedOnly = false,
            .verify = VerifySeq<SeqSimVerifyStatusReg>,
            .back = back,
            .exitAtOnce = exitAtOnce};
}
constexpr SeqEditRow Balance(int32_t (*write)(int32_t, int), int (*verify)(int32_t, int), void (*back)(int)) {
    return {.min = NoPhase<SeqGetPhaseMin>,
            .max = NoPhase<SeqGetPhaseMax>,
            .digits = 4,
            .phaseBand = false,
            .soft = {V(0), V(900), V(1800), V(2700)},
            .softSetsReference = false,
            .typed = SeqTyped::kPending,
            .conv = SeqTypedConv::kTenths,
            .write = write,
            .alsoL2In1P3W = false,
            .message = kMsgPhaseLimited,
            .messageTypedOnly = false,
            .verify = verify,
            .back = back,
            .exitAtOnce = false};
}

constexpr SeqEditRow kTime{.min = NoPhase<SeqGetTimeMin>,
                           .max = NoPhase<SeqGetTimeMax>,
                           .digits = 8,
                           .phaseBand = false,
                           .soft = {kNone, kNone, kMax, kMin},
                           .softSetsReference = false,
                           .typed = SeqTyped::kPending,
                           .conv = SeqTypedConv::kTime,
                           .write = SetNoPhase<SeqSetTime>,
                           .alsoL2In1P3W = false,
                           .message = 0,
                           .messageTypedOnly = false,
                           .verify = VerifySeq<SeqSimVerifyTime>,
                           .back = Back<Enter_menuSeqSetTimeStep>,
                           .exitAtOnce = false};
constexpr SeqEditRow kOnPhase =
    Angle(SeqSetOnPhase, VerifySeqPhase<SeqSimVerifyOnPhase>, Enter_menuSeqSetOnPhase, SeqTyped::kPending);
constexpr SeqEditRow kOffPhase = Angle(SeqSetOffPhase, VerifySeqPhase<SeqSimVerifyOffPhase>,
                                       Enter_menuSeqSetOffPhase, SeqTyped::kPendingUnchanged);
constexpr SeqEditRow kEnOnPhase = Enable(SetEnable<SeqSetEnOnPhase>, Enter_menuSeqEnOnPhase);
constexpr SeqEditRow kEnOffPhase = Enable(SetEnable<SeqSetEnOffPhase>, Enter_menuSeqEnOffPhase);
constexpr SeqEditRow kTerm{.min = NoPhase<SeqGetTermMin>,
                           .max = NoPhase<SeqGetTermMax>,
                           .digits = 0,
                           .phaseBand = false,
                           .soft = {kNone, V(0), V(1), V(2)},
                           .softSetsReference = false,
                           .typed = SeqTyped::kNever,
                           .conv = SeqTypedConv::kWhole,
                           .write = SetStatus<SeqSetTerm>,
                           .alsoL2In1P3W = false,
                           .message = 0,
                           .messageTypedOnly = false,
                           .verify = VerifySeq<SeqSimVerifyStatusReg>,
                           .back = Back<Enter_menuSeqSetStepterm>,
                           .exitAtOnce = false};
constexpr SeqEditRow kSync{.min = NoPhase<SeqGetSyncCodeMin>,
                           .max = NoPhase<SeqGetSyncCodeMax>,
                           .digits = 0,
                           .phaseBand = false,
                           .soft = {V(0), V(1), V(2), V(3)},
                           .softSetsReference = false,
                           .typed = SeqTyped::kNever,
                           .conv = SeqTypedConv::kWhole,
                           .write = SetStatus<SeqSetSyncCode>,
                           .alsoL2In1P3W = false,
                           .message = 0,
                           .messageTypedOnly = false,
                           .verify = VerifySeq<SeqSimVerifyStatusReg>,
                           .back = Back<Enter_menuSeqSetSyncCode>,
                           .exitAtOnce = false};
constexpr SeqEditRow kJumpto =
    Target(NoPhase<SeqGetTargetStepMin>, NoPhase<SeqGetTargetStepMax>, 3, SetNoPhase<SeqSetJumpto>,
           kMsgJumpToLimited, VerifySeq<SeqSimVerifyJumpto>, Back<Enter_menuSeqSetJumpto>);
constexpr SeqEditRow kJumpCnt =
    Target(NoPhase<SeqGetJumpCntMin>, NoPhase<SeqGetJumpCntMax>, 4, SetNoPhase<SeqSetJumpCnt>,
           kMsgJumpCountLimited, VerifyStep<SeqVerifyJumpCnt>, Back<Enter_menuSeqSetJumpCnt>);
constexpr SeqEditRow kBranch1 =
    Target(NoPhase<SeqGetTargetStepMin>, NoPhase<SeqGetTargetStepMax>, 3, SetNoPhase<SeqSetBranch1>,
           kMsgBranchLimited, VerifyStep<SeqVerifyBranch1>, Back<Enter_menuSeqSetBranch1>);
constexpr SeqEditRow kBranch2 =
    Target(NoPhase<SeqGetTargetStepMin>, NoPhase<SeqGetTargetStepMax>, 3, SetNoPhase<SeqSetBranch2>,
           kMsgBranchLimited, VerifyStep<SeqVerifyBranch2>, Back<Enter_menuSeqSetBranch2>);
constexpr SeqEditRow kEnJumpto = Switch(SetStatus<SeqSetEnJumpto>, Back<Enter_menuSeqEnJumpto>, true);
constexpr SeqEditRow kEnBranch1 = Switch(SetStatus<SeqSetEnBranch1>, Back<Enter_menuSeqEnBranch1>, false);
constexpr SeqEditRow kEnBranch2 = Switch(SetStatus<SeqSetEnBranch2>, Back<Enter_menuSeqEnBranch2>, false);
constexpr SeqEditRow kBalanceL2 =
    Balance(SetNoPhase<SeqSetBalance_L2>, VerifySeq<SeqSimVerifyBalance_L2>, Back<Enter_menuSeqBalance_L2>);
constexpr SeqEditRow kBalanceL3 =
    Balance(SetNoPhase<SeqSetBalance_L3>, VerifySeq<SeqSimVerifyBalance_L3>, Back<Enter_menuSeqBalance_L3>);

}  // namespace

void menuSeqEditTimeStep(uint32_t* ev) {
    SeqEdit_Handle(kTime, 0, ev);
}
void menuSeqEditOnPhase(uint32_t* ev) {
    SeqEdit_Handle(kOnPhase, 0, ev);
}
void menuSeqEditOnPhase_L2(uint32_t* ev) {
    SeqEdit_Handle(kOnPhase, 1, ev);
}
void menuSeqEditOnPhase_L3(uint32_t* ev) {
    SeqEdit_Handle(kOnPhase, 2, ev);
}
void menuSeqEditEnOnPhase(uint32_t* ev) {
    SeqEdit_Handle(kEnOnPhase, 0, ev);
}
void menuSeqEditEnOnPhase_L2(uint32_t* ev) {
    SeqEdit_Handle(kEnOnPhase, 1, ev);
}
void menuSeqEditEnOnPhase_L3(uint32_t* ev) {
    SeqEdit_Handle(kEnOnPhase, 2, ev);
}
void menuSeqEditOffPhase(uint32_t* ev) {
    SeqEdit_Handle(kOffPhase, 0, ev);
}
void menuSeqEditOffPhase_L2(uint32_t* ev) {
    SeqEdit_Handle(kOffPhase, 1, ev);
}
void menuSeqEditOffPhase_L3(uint32_t* ev) {
    SeqEdit_Handle(kOffPhase, 2, ev);
}
void menuSeqEditEnOffPhase(uint32_t* ev) {
    SeqEdit_Handle(kEnOffPhase, 0, ev);
}
void menuSeqEditEnOffPhase_L2(uint32_t* ev) {
    SeqEdit_Handle(kEnOffPhase, 1, ev);
}
void menuSeqEditEnOffPhase_L3(uint32_t* ev) {
    SeqEdit_Handle(kEnOffPhase, 2, ev);
}
void menuSeqEditStepterm(uint32_t* ev) {
    SeqEdit_Handle(kTerm, 0, ev);
}
void menuSeqEditJumpto(uint32_t* ev) {
    SeqEdit_Handle(kJumpto, 0, ev);
}
void menuSeqEditEnJumpto(uint32_t* ev) {
    SeqEdit_Handle(kEnJumpto, 0, ev);
}
void menuSeqEditJumpCnt(uint32_t* ev) {
    SeqEdit_Handle(kJumpCnt, 0, ev);
}
void menuSeqEditSyncCode(uint32_t* ev) {
    SeqEdit_Handle(kSync, 0, ev);
}
void menuSeqEditBranch1(uint32_t* ev) {
    SeqEdit_Handle(kBranch1, 0, ev);
}
void menuSeqEditEnBranch1(uint32_t* ev) {
    SeqEdit_Handle(kEnBranch1, 0, ev);
}
void menuSeqEditBranch2(uint32_t* ev) {
    SeqEdit_Handle(kBranch2, 0, ev);
}
void menuSeqEditEnBranch2(uint32_t* ev) {
    SeqEdit_Handle(kEnBranch2, 0, ev);
}
void menuSeqEditBalance_L2(uint32_t* ev) {
    SeqEdit_Handle(kBalanceL2, 0, ev);
}
void menuSeqEditBalance_L3(uint32_t* ev) {
    SeqEdit_Handle(kBalanceL3, 0, ev);
}
