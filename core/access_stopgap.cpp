// TEMPORARY: stand-ins for the part of the parameter access layer that the output synchronisation builds
// on, with the declarations and behaviour of the access layer being built beside it. This file goes away
// when that layer is merged; nothing here is meant to stay.
#include "core/ctrl_words.h"
#include "core/param_access.h"
#include "core/param_store.h"
#include "panel/acv_unit.h"

using namespace core;

std::atomic<uint32_t> g_PhaseMode{0};
std::atomic<uint8_t> g_EditAllPhases{0};
std::atomic<uint32_t> g_OutputRefresh{0};
std::atomic<uint32_t> g_OutputOptionWord{0};

namespace {

bool ValidPhase(int phase) {
    return phase >= 0 && phase <= 2;
}

ParamRec ReadRec(uint32_t id, int phase) {
    ParamRec rec{};
    if (ValidPhase(phase)) paramRW(0, id, &rec, static_cast<uint32_t>(phase));
    return rec;
}

int32_t SetWithin(uint32_t id, int32_t value, int phase, int word) {
    if (!ValidPhase(phase)) return 0;
    ParamRec rec = ReadRec(id, phase);
    if (value < rec.min || value > rec.max) return rec.value;
    rec.value = value;
    g_OutputShadow[phase][word] = static_cast<uint32_t>(value) + 1;
    paramRW(1, id, &rec, static_cast<uint32_t>(phase));
    return value;
}

int32_t VoltOfSet(uint32_t id, uint32_t set, int phase) {
    if (!ValidPhase(phase)) return 0;
    ParamRec rec;
    paramAccessByUnit(0, id, &rec, GetOutputMode(), VoltAreaOfRange(CurrentRangeCode()),
                      static_cast<uint32_t>(GetWaveform(phase)), set, static_cast<uint32_t>(phase));
    return rec.value;
}

}  // namespace

int32_t SetAcv(int32_t v, int phase) {
    return SetWithin(47, v, phase, kShwAcv);
}
int32_t SetDcv(int32_t v, int phase) {
    return SetWithin(54, v, phase, kShwDcv);
}
int32_t SetFrequency(int32_t v) {
    return SetWithin(12, v, 0, kShwFreq);
}
int32_t GetWaveform(int phase) {
    return ReadRec(30, phase).value;
}
int32_t GetAcvUnit() {
    return ReadRec(119, 0).value;
}
int32_t GetPhaseBalanceMode() {
    return ReadRec(101, 0).value;
}
int32_t GetAcv(int phase) {
    return ReadRec(47 + static_cast<uint32_t>(phase), phase).value;
}
int32_t GetDcv(int phase) {
    return ReadRec(54 + static_cast<uint32_t>(phase), phase).value;
}
int32_t GetFrequency(int phase) {
    return ReadRec(12, phase).value;
}
int32_t GetAcvLimitMax(int phase) {
    return ReadRec(47, phase).max;
}
uint32_t GetPhaseMode() {
    return g_PhaseMode.load(std::memory_order_relaxed);
}
uint32_t GetVoltRangeCode() {
    return CurrentRangeCode();
}
int32_t GetVoltRange() {
    const int32_t c = static_cast<int32_t>(GetVoltRangeCode());
    if (GetPhaseMode() == 1) return c > 5 ? c - 4 : c - 2;
    return c < 4 ? c : c - 2;
}
int IsAcvVpp(int32_t w) {
    return GetAcvUnit() == 1 && w != static_cast<int32_t>(kWaveSin) && w != static_cast<int32_t>(kWaveSqu)
               ? 1
               : 0;
}
int AcvExceedsMax(int32_t v, int phase) {
    return v > GetAcvLimitMax(phase) && IsAcvUnitVpp() == 0 ? 1 : 0;
}
int32_t RmsToVpp(int32_t v, float f) {
    return static_cast<int32_t>(2.0f * static_cast<float>(v) * f + 0.5f);
}
int32_t GetAcvSetRms(int phase) {
    return VoltOfSet(47, 0, phase);
}
int32_t GetDcvSetRms(int phase) {
    return VoltOfSet(51, 0, phase);
}
int32_t GetAcvSetVpp(int phase) {
    return VoltOfSet(47, 1, phase);
}
int32_t GetDcvSetVpp(int phase) {
    return VoltOfSet(51, 1, phase);
}

namespace core {
int LastPhaseOfWiring(uint32_t phaseMode) {
    if (phaseMode == 0) return 2;
    if (phaseMode == 1) return 0;
    return 1;
}
}  // namespace core
