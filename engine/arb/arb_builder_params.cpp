// The builder's type, target and shape parameters: each setter stores a value only within its accepted
// range and returns the stored value.
#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"
#include "engine/arb/arb_builder.h"
#include "engine/arb/arb_shapes.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

int32_t SetIn(std::atomic<int32_t>& field, int32_t v, int32_t lo, int32_t hi) {
    if (v >= lo && v <= hi) field.store(v, kRelaxed);
    return field.load(kRelaxed);
}
int32_t Param(std::atomic<int32_t> ArbBuilder::*field) {
    return (g_ArbBuilder.*field).load(kRelaxed);
}
}  // namespace

int32_t ArbBuild_GetType() {
    return g_ArbBuilder.type.load(kRelaxed);
}
int32_t ArbBuild_SetType(int32_t type) {
    return SetIn(g_ArbBuilder.type, type, 0, engine::kShapeLFRing);
}
int32_t ArbBuild_GetArbNo() {
    return g_ArbBuilder.target.load(kRelaxed) + 1;
}
int32_t ArbBuild_SetArbNo(int32_t n) {
    if (n >= 1 && n <= 253) g_ArbBuilder.target.store(n - 1, kRelaxed);
    return ArbBuild_GetArbNo();
}

int32_t ArbBuild_GetTriangle() {
    return Param(&ArbBuilder::triangle);
}
int32_t ArbBuild_SetTriangle(int32_t v) {
    return SetIn(g_ArbBuilder.triangle, v, 0, 100);
}
int32_t ArbBuild_GetStairs() {
    return Param(&ArbBuilder::stairs);
}
int32_t ArbBuild_SetStairs(int32_t v) {
    return SetIn(g_ArbBuilder.stairs, v, 1, 100);
}
int32_t ArbBuild_GetClip() {
    return Param(&ArbBuilder::clip);
}
int32_t ArbBuild_SetClip(int32_t v) {
    return SetIn(g_ArbBuilder.clip, v, 0, 100);
}
int32_t ArbBuild_GetCf1() {
    return Param(&ArbBuilder::cf1);
}
int32_t ArbBuild_SetCf1(int32_t v) {
    return SetIn(g_ArbBuilder.cf1, v, 11, 100);
}
int32_t ArbBuild_GetCf2() {
    return Param(&ArbBuilder::cf2);
}
int32_t ArbBuild_SetCf2(int32_t v) {
    return SetIn(g_ArbBuilder.cf2, v, 15, 20);
}
int32_t ArbBuild_GetSdMode() {
    return Param(&ArbBuilder::sdMode);
}
int32_t ArbBuild_SetSdMode(int32_t v) {
    return SetIn(g_ArbBuilder.sdMode, v, 0, 1);
}
int32_t ArbBuild_GetSdAcv() {
    return Param(&ArbBuilder::sdAcv);
}
int32_t ArbBuild_SetSdAcv(int32_t v) {
    return SetIn(g_ArbBuilder.sdAcv, v, 0, 100);
}
int32_t ArbBuild_GetSdSite() {
    return Param(&ArbBuilder::sdSite);
}
int32_t ArbBuild_SetSdSite(int32_t v) {
    return SetIn(g_ArbBuilder.sdSite, v, 0, 100);
}
int32_t ArbBuild_GetRippleTimes() {
    return Param(&ArbBuilder::rippleTimes);
}
int32_t ArbBuild_SetRippleTimes(int32_t v) {
    return SetIn(g_ArbBuilder.rippleTimes, v, 0, 3);
}
int32_t ArbBuild_GetRippleVDC() {
    return Param(&ArbBuilder::rippleVdc);
}
int32_t ArbBuild_SetRippleVDC(int32_t v) {
    return SetIn(g_ArbBuilder.rippleVdc, v, 1, 230);
}
int32_t ArbBuild_GetRippleLevel() {
    return Param(&ArbBuilder::rippleLevel);
}
int32_t ArbBuild_SetRippleLevel(int32_t v) {
    return SetIn(g_ArbBuilder.rippleLevel, v, 1, 30);
}
int32_t ArbBuild_GetDIPStart() {
    return Param(&ArbBuilder::dipStart);
}
int32_t ArbBuild_SetDIPStart(int32_t v) {
    return SetIn(g_ArbBuilder.dipStart, v, 1, Param(&ArbBuilder::dipSweep) - 1);
}
int32_t ArbBuild_GetDIPSweep() {
    return Param(&ArbBuilder::dipSweep);
}
int32_t ArbBuild_SetDIPSweep(int32_t v) {
    return SetIn(g_ArbBuilder.dipSweep, v, Param(&ArbBuilder::dipStart) + 1, Param(&ArbBuilder::dipEnd) - 1);
}
int32_t ArbBuild_GetDIPEnd() {
    return Param(&ArbBuilder::dipEnd);
}
int32_t ArbBuild_SetDIPEnd(int32_t v) {
    return SetIn(g_ArbBuilder.dipEnd, v, Param(&ArbBuilder::dipSweep) + 1, settings::kAngleMax);
}
int32_t ArbBuild_GetLFRingACV() {
    return Param(&ArbBuilder::lfRingAcv);
}
int32_t ArbBuild_SetLFRingACV(int32_t v) {
    // Within the model's AC voltage range.
    ParamRec rec{};
    paramGetRecord(kParamAcv, &rec, 0);
    return SetIn(g_ArbBuilder.lfRingAcv, v, rec.defaultMin, rec.defaultMax);
}
int32_t ArbBuild_GetLFRingAmp() {
    return Param(&ArbBuilder::lfRingAmp);
}
int32_t ArbBuild_SetLFRingAmp(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingAmp, v, 140, 200);
}
int32_t ArbBuild_GetLFRingBaseFreq() {
    return Param(&ArbBuilder::lfRingBaseFreq);
}
int32_t ArbBuild_SetLFRingBaseFreq(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingBaseFreq, v, 500, 2000);
}
int32_t ArbBuild_GetLFRingRingFreq() {
    return Param(&ArbBuilder::lfRingRingFreq);
}
int32_t ArbBuild_SetLFRingRingFreq(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingRingFreq, v, 2000, 50000);
}
int32_t ArbBuild_GetLFRingDecay() {
    return Param(&ArbBuilder::lfRingDecay);
}
int32_t ArbBuild_SetLFRingDecay(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingDecay, v, -100, 100);
}
int32_t ArbBuild_GetLFRingStart() {
    return Param(&ArbBuilder::lfRingStart);
}
int32_t ArbBuild_SetLFRingStart(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingStart, v, 1, Param(&ArbBuilder::lfRingEnd) - 1);
}
int32_t ArbBuild_GetLFRingEnd() {
    return Param(&ArbBuilder::lfRingEnd);
}
int32_t ArbBuild_SetLFRingEnd(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingEnd, v, Param(&ArbBuilder::lfRingStart) + 1, settings::kAngleMax);
}
int32_t ArbBuild_GetLFRingRing() {
    return Param(&ArbBuilder::lfRingRing);
}
int32_t ArbBuild_SetLFRingRing(int32_t v) {
    return SetIn(g_ArbBuilder.lfRingRing, v, 1, settings::kAngleMax);
}

int32_t ArbBuild_GetClipKeepRms() {
    return (g_ArbBuilder.flags.load(kRelaxed) & engine::kArbClipKeepRms) ? 1 : 0;
}
int32_t ArbBuild_SetClipKeepRms(int32_t v) {
    if (v == 1) g_ArbBuilder.flags.fetch_or(engine::kArbClipKeepRms, kRelaxed);
    if (v == 0) g_ArbBuilder.flags.fetch_and(static_cast<uint8_t>(~engine::kArbClipKeepRms), kRelaxed);
    return ArbBuild_GetClipKeepRms();
}
int32_t ArbBuild_CalcRippleAcv() {
    const int32_t acv =
        static_cast<int32_t>(Param(&ArbBuilder::rippleLevel) * Param(&ArbBuilder::rippleVdc) * 0.1);
    g_ArbBuilder.rippleAcv.store(acv, kRelaxed);
    return acv;
}
int32_t ArbBuild_SetMsg(int32_t id) {
    g_ArbBuilder.msgId.store(id, kRelaxed);
    return id;
}
