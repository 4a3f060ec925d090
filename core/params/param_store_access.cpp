// The accessors of the parameter store: one record found by id and the current or given place, copied out
// or in whole.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/params/param_store.h"
#include "core/params/settings/angle_bounds.h"

using namespace core;

namespace {

void Refuse(Access op, ParamRec* record) {
    if (op == Access::kRead && record != nullptr) std::memset(record, 0, sizeof *record);
}

void Copy(Access op, ParamRec* stored, ParamRec* record) {
    if (record == nullptr) return;
    if (op == Access::kRead) {
        *record = *stored;
    } else {
        *stored = *record;
    }
}

// Whether the id moves to the Vpp set: the AC voltage unit is Vpp and the waveform of the unit argument is
// neither SIN nor SQU. In DC-INT only the LINE DC voltage switches; elsewhere only the phase DC voltages.
uint32_t VppSetOf(uint32_t id, uint32_t unit, uint32_t mode) {
    const ParamStore& s = g_ParamStore;
    if (s.global[kGlbAcvUnit].value != 1) return 0;
    uint32_t w = static_cast<uint32_t>(s.unit[unit].waveform.value);
    if (w == kWaveSin || w == kWaveSqu) return 0;
    if ((id >= kParamAcv && id <= kParamAcvLine) || id == kParamVoltLimit) return 1;
    if (mode == kModeDcInt) return id == kParamDcvLine ? 1 : 0;
    return (id >= kParamDcv && id <= kParamDcv2 + 2) ? 1 : 0;
}

// The display format of the angles and of the duty follows the frequency stored at this moment.
void FreqFormatDerive(uint32_t unit, uint32_t mode) {
    ParamModeBlock& m = g_ParamStore.unit[unit].mode[mode];
    const int32_t f = m.freq.value;
    ParamRec* angles[] = {&m.onPhase, &m.offPhase, &m.syncPhase};
    for (ParamRec* r : angles) {
        if (settings::WholeDegreeAngles(f)) {
            r->decimals = 0;
            r->digits = 3;
            // In 64 bits: a stored value near the top of the range must not overflow; whole degrees that
            // do not fit stay at the largest one that does.
            const int64_t rounded = (static_cast<int64_t>(r->value) + 5) / 10 * 10;
            r->value = static_cast<int32_t>(std::min<int64_t>(rounded, INT32_MAX / 10 * 10));
        } else {
            r->decimals = 1;
            r->digits = 4;
        }
    }
    ParamRec& duty = g_ParamStore.unit[unit].duty;
    if (f < 10000) {
        duty.decimals = 1;
        duty.digits = 3;
    } else if (f < 100000) {
        duty.decimals = 0;
        duty.digits = 2;
    } else {
        duty.decimals = 0;
        duty.digits = 1;
    }
}

// Caller holds g_ParamLock. mode and waveform already clamped.
ParamRec* LocateForAccess(uint32_t id, const RangePlace& at) {
    if (at.unit >= kUnits) return nullptr;
    const ParamPlace place{.mode = at.mode,
                           .area = VoltAreaOfRange(at.rangeCode),
                           .variant = at.variant,
                           .waveform = at.waveform,
                           .set = VppSetOf(id, at.unit, at.mode),
                           .unit = at.unit};
    ParamRec* r = ParamLocate(id, place);
    if (r != nullptr && id == kParamFreq) FreqFormatDerive(at.unit, at.mode);
    return r;
}

// The current place of the unit: the current mode, its range code and the unit's waveform.
ParamRec* LocateCurrent(uint32_t id, uint32_t unit) {
    if (unit >= kUnits) return nullptr;
    const uint32_t mode = ClampMode(g_OutputModeIdx.load(std::memory_order_relaxed));
    const uint32_t code = g_ParamStore.rangeCode[mode].load(std::memory_order_relaxed);
    const uint32_t wave =
        ClampWaveform(static_cast<uint32_t>(g_ParamStore.unit[unit].waveform.value) & 0xFFFFu, mode);
    const uint32_t variant = RangeVariantOf(code, g_OutputStatusMirror.load(std::memory_order_relaxed));
    const RangePlace at{.mode = mode, .rangeCode = code, .waveform = wave, .variant = variant, .unit = unit};
    return LocateForAccess(id, at);
}

}  // namespace

int paramAccess(Access op, uint32_t id, ParamRec* record, const RangePlace& place) {
    RangePlace at = place;
    at.mode = ClampMode(at.mode);
    at.waveform = ClampWaveform(at.waveform & 0xFFFFu, at.mode);
    at.variant &= 0xFFFFu;
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamRec* r = LocateForAccess(id, at);
    if (r == nullptr) {
        Refuse(op, record);
        return -1;
    }
    Copy(op, r, record);
    return 0;
}

int paramGetRecord(uint32_t id, ParamRec* record, uint32_t unit) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamRec* r = LocateCurrent(id, unit);
    if (r == nullptr) {
        Refuse(Access::kRead, record);
        return -1;
    }
    Copy(Access::kRead, r, record);
    return 0;
}

int paramPutRecord(uint32_t id, const ParamRec* record, uint32_t unit) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamRec* r = LocateCurrent(id, unit);
    if (r == nullptr) return -1;
    if (record != nullptr) *r = *record;
    return 0;
}

// Only the value is read: the output sync compares dozens of them on every pass.
int32_t paramGetValue(uint32_t id, uint32_t unit) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    const ParamRec* r = LocateCurrent(id, unit);
    return r != nullptr ? r->value : 0;
}

namespace {

// Read, change one word and write back under one hold of the lock, so no other writer slips in between. An
// id-12 write re-derives the formats from the frequency before the write, as paramPutRecord does.
template <typename Change>
int PutWord(uint32_t id, uint32_t unit, Change change) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamRec* r = LocateCurrent(id, unit);
    if (r == nullptr) return -1;
    ParamRec rec = *r;
    change(rec);
    r = LocateCurrent(id, unit);
    *r = rec;
    return 0;
}

// A limit is replaced in place: the value beside it, written meanwhile by another thread, is kept.
int PutLimit(uint32_t id, uint32_t unit, int32_t ParamRec::*word, int32_t limit) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamRec* r = LocateCurrent(id, unit);
    if (r == nullptr) return -1;
    r->*word = limit;
    return 0;
}

}  // namespace

int paramPutValue(uint32_t id, int32_t value, uint32_t unit) {
    return PutWord(id, unit, [value](ParamRec& rec) { rec.value = value; });
}

int paramPutState(uint32_t id, int32_t state, uint32_t unit) {
    return PutWord(id, unit, [on = state](ParamRec& rec) {
        if (on == 0 || on == 1) rec.state = on;
    });
}

int paramPutMax(uint32_t id, int32_t max, uint32_t unit) {
    return PutLimit(id, unit, &ParamRec::max, max);
}

int paramPutMin(uint32_t id, int32_t min, uint32_t unit) {
    return PutLimit(id, unit, &ParamRec::min, min);
}

int32_t paramClampValue(uint32_t id, int32_t max, int32_t min, uint32_t unit) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamRec* r = LocateCurrent(id, unit);
    if (r == nullptr) return 0;
    const int32_t kept = std::clamp(r->value, min, std::max(min, max));
    if (kept == r->value) return kept;
    r = LocateCurrent(id, unit);
    r->value = kept;
    return kept;
}

int paramAccessByUnit(Access op, uint32_t id, ParamRec* record, const ParamPlace& place) {
    const uint32_t mode = ClampMode(place.mode);
    const uint32_t waveform = ClampWaveform(place.waveform, mode);
    const uint32_t area = place.area != 0 ? 1 : 0;
    const uint32_t unit = place.unit;
    std::lock_guard<std::mutex> lock(g_ParamLock);
    if (unit >= kUnits) {
        Refuse(op, record);
        return -1;
    }
    ParamStore& s = g_ParamStore;
    ParamRec* r;
    const uint32_t vpp = place.set == 1 ? 1 : 0;
    if (id >= kParamAcv && id <= kParamAcv + 2) {
        r = &s.unit[unit].mode[mode].volt[area].acv[vpp][waveform];
    } else if (id >= kParamDcv && id <= kParamDcv2 + 2) {
        r = &s.unit[unit].mode[mode].volt[area].dcv[mode == kModeDcInt ? 0 : vpp][waveform];
    } else if (id == kParamVoltLimit) {
        r = &s.unit[unit].mode[0].volt[area].voltLimit[vpp];
    } else if (id == kParamVpkMax) {
        r = &s.unit[unit].mode[0].volt[area].vpkMax;
    } else if (id == kParamVpkMin) {
        r = &s.unit[unit].mode[0].volt[area].vpkMin;
    } else {
        r = &s.spare;
    }
    Copy(op, r, record);
    return 0;
}
